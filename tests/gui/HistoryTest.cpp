#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>
#include <fstream>

#include "LocalServer.h"
#include "PageFixture.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/HistoryCommands.h"
#include "gui/tools/HistoryDateDialog.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/ToolTrees.h"

namespace zelvora {

namespace {

// The names of the History tree's items in pre-order, one per line, indented by depth.
QString Outline(const TTreeModel& tree) {
  QString outline;
  for (TreeHandle item = tree.FirstTopLevel(); item != kNoItem; item = tree.NextInPreOrder(item)) {
    outline += QString(tree.Depth(item), u' ') + QString::fromStdString(tree.Name(item)) + u'\n';
  }
  return outline;
}

// Searches the History tree for `keyword` in titles and waits for the job.
void SearchTitles(TSDIMainWindow& window, const QString& keyword) {
  window.ExecuteCommand(3080);
  window.ToolPanel().Option(0)->setChecked(false);
  window.ToolPanel().Option(1)->setChecked(true);
  window.KeywordBox(kListHistoryKey).SetText(keyword, true);
  window.HistoryCommands().Store()->Flush();
  window.ExecuteCommand(3115);
  QTRY_VERIFY(!window.ToolTaskRunning());
}

}  // namespace

class HistoryTest : public QObject {
  Q_OBJECT

 private slots:
  // A broken database is put aside and said so; the pages loaded afterwards are found by a
  // search under their day and host, with their titles; the clean-up empties the history.
  void VisitedPagesAreFoundUntilTheHistoryIsDeleted() {
    LocalServer server;
    server.Page("/visited", "<title>Visited page</title><p>v</p>");
    server.Page("/other", "<title>Other page</title><p>o</p>");
    WindowFixture fixture(PageSettings(""));
    std::ofstream(fixture.paths.perUserFolder + "/History.db", std::ios::binary)
        << "not a database at all";
    TSDIMainWindow& window = fixture.Open({{0, 0, 900, 700}, kShowNormal, false});
    QVERIFY(window.statusBar()
                ->findChild<QLabel*>(QStringLiteral("Note"))
                ->text()
                .contains(QStringLiteral("History.db.broken")));
    for (const char* path : {"/visited", "/other"}) {
      TAPIBrowsePage& strip = window.BrowsePage();
      TMyContainerClass& page = *strip.GetContainer(strip.AddPage(server.Url(path)));
      QVERIFY(PageFixture::WaitLoaded(page));
    }

    SearchTitles(window, QStringLiteral("Visited"));
    const TTreeModel& history = window.ToolTrees().Model(kToolHistory);
    const QStringList lines = Outline(history).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("History"));
    QVERIFY(lines[1].contains(QString::fromUtf8("日(")));
    QCOMPARE(lines[2], QStringLiteral("  127.0.0.1"));
    QCOMPARE(lines[3], QStringLiteral("   Visited page"));

    window.ExecuteCommand(3052);
    SearchTitles(window, QStringLiteral("page"));
    QCOMPARE(history.ItemCount(), 0u);
  }

  void TheDateDialogKeepsItsRangeOnOk() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    window.ExecuteCommand(3034);
    THistoryDateDialog* dialog = window.HistoryCommands().DateDialog();
    QVERIFY(dialog != nullptr);
    auto* alwaysToday = dialog->findChild<QCheckBox*>(QStringLiteral("AlwaysToday"));
    auto* from = dialog->findChild<QDateEdit*>(QStringLiteral("DateFrom"));
    QVERIFY(alwaysToday->isChecked());
    QVERIFY(!from->isEnabled());
    alwaysToday->setChecked(false);
    QVERIFY(from->isEnabled());
    from->setDate(QDate(2026, 3, 4));
    QVERIFY(dialog->Changed());
    dialog->findChild<QPushButton*>(QStringLiteral("OK"))->click();
    QTRY_VERIFY(window.HistoryCommands().DateDialog() == nullptr);
    QCOMPARE(fixture.Key("ConfigDialog", "HistoryDateFrom"), std::string("2026/03/04"));
    QCOMPARE(fixture.Key("ConfigDialog", "HistoryAlwaysToday"), std::string("0"));
    QCOMPARE(fixture.Key("ConfigDialog", "HistoryTimeTo"), std::string("23:59"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::HistoryTest)
#include "HistoryTest.moc"
