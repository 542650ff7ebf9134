#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "LocalServer.h"
#include "WindowFixture.h"
#include "core/shell/SafeFile.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/browser/OpenDialog.h"
#include "gui/shell/Rebar.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/RegexCheck.h"

namespace zelvora {

// The address bar, the search bar, their keyword lists and the open dialog.
class KeywordBarsTest : public QObject {
  Q_OBJECT

 private:
  struct BarsFixture : WindowFixture {
    explicit BarsFixture(const std::string& settings, const std::string& searchList = {})
        : WindowFixture(PageSettings(settings)) {
      if (!searchList.empty()) {
        std::ofstream(SearchFile(), std::ios::binary) << searchList;
        std::ofstream(paths.settingsFile, std::ios::binary | std::ios::app)
            << "[FileSearchList]\r\n0=" << SearchFile() << "\r\n";
        FlushProfile(paths.settingsFile);
      }
      Open({{0, 0, 900, 700}, kShowNormal, false});
      QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    std::string SearchFile() const { return folder.path().toStdString() + "/Search.txt"; }
    std::string ListFile(const char* name) const { return paths.perUserFolder + "/" + name; }
    TAPIBrowsePage& Strip() const { return window->BrowsePage(); }
  };

  // Types into a box's edit field as the user does and presses Enter.
  static void TypeAndEnter(QComboBox* box, const QString& text) {
    QLineEdit* edit = box->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  static bool WaitTitle(TAPIBrowsePage& strip, int index, const QString& title) {
    return QTest::qWaitFor(
        [&] { return strip.Count() > index && strip.TabBar().tabText(index) == title; }, 15000);
  }

 private slots:
  void AddressBarOpensInANewTabOrTheActiveOne() {
    LocalServer server;
    server.Page("/one", "<title>One</title>");
    server.Page("/two", "<title>Two</title>");
    server.Page("/three", "<title>Three</title>");
    {
      BarsFixture fixture("AddresBarNewTabOpen=1\r\n");
      QComboBox* address = fixture.window->Rebar().AddressBox();
      TypeAndEnter(address, server.Url("/one"));
      QVERIFY(WaitTitle(fixture.Strip(), 0, "One"));
      TypeAndEnter(address, server.Url("/two"));
      QVERIFY(WaitTitle(fixture.Strip(), 1, "Two"));
      QCOMPARE(fixture.Strip().Count(), 2);
      fixture.window->close();
      const auto list = ReadWholeFile(fixture.ListFile("HistoryUrl.txt"));
      QCOMPARE(QString::fromStdString(list.value_or("")),
               server.Url("/two") + "\r\n" + server.Url("/one") + "\r\n");
    }
    BarsFixture fixture("AddresBarNewTabOpen=0\r\n");
    QComboBox* address = fixture.window->Rebar().AddressBox();
    TypeAndEnter(address, server.Url("/one"));  // no tab yet: a new one
    QVERIFY(WaitTitle(fixture.Strip(), 0, "One"));
    TypeAndEnter(address, server.Url("/three"));
    QVERIFY(WaitTitle(fixture.Strip(), 0, "Three"));
    QCOMPARE(fixture.Strip().Count(), 1);

    // An emptied bar follows the page again after the next go.
    TMyContainerClass& page = *fixture.Strip().GetContainer(0);
    address->lineEdit()->setFocus();
    address->lineEdit()->selectAll();
    QTest::keyClick(address->lineEdit(), Qt::Key_Backspace);
    QTest::keyClick(address->lineEdit(), Qt::Key_Return);
    page.Navigate(QUrl(server.Url("/two")));
    QVERIFY(WaitTitle(fixture.Strip(), 0, "Two"));
    QCOMPARE(address->currentText(), server.Url("/two"));
    // A page that loads while the user types in the bar leaves the text and the focus there.
    address->lineEdit()->setFocus();
    address->lineEdit()->selectAll();
    QTest::keyClicks(address->lineEdit(), "typ");
    page.Navigate(QUrl(server.Url("/one")));
    QVERIFY(WaitTitle(fixture.Strip(), 0, "One"));
    QTest::qWait(100);
    QVERIFY(address->lineEdit()->hasFocus());
    QCOMPARE(address->currentText(), QString("typ"));
  }

  void SearchBarOpensFrontWordsBack() {
    LocalServer server;
    server.Page("/s", "<title>Results</title>");
    const std::string list =
        "[.]\r\nSelect=Local\r\n[Other]\r\nFront=http://192.0.2.1/?q=\r\n"
        "[Local]\r\nFront=" +
        server.Url("/s?q=").toStdString() + "\r\nBack=&n=1\r\n";
    BarsFixture fixture("SearchBarNewTabOpen=1\r\n", list);
    QComboBox* entries = fixture.window->Rebar().SearchListBox();
    QCOMPARE(entries->count(), 2);
    QCOMPARE(entries->currentText(), QString("Local"));
    TypeAndEnter(fixture.window->Rebar().SearchKeyBox(), "two words");
    QVERIFY(WaitTitle(fixture.Strip(), 0, "Results"));
    TMyContainerClass& page = *fixture.Strip().GetContainer(0);
    QCOMPARE(page.Page()->url().toString(QUrl::FullyEncoded), server.Url("/s?q=two%20words&n=1"));
    TypeAndEnter(fixture.window->Rebar().SearchKeyBox(), "more");
    QTRY_COMPARE_WITH_TIMEOUT(fixture.Strip().Count(), 2, 10000);
    fixture.window->close();
    QCOMPARE(
        QString::fromStdString(ReadWholeFile(fixture.ListFile("SearchBarKey.txt")).value_or("")),
        QString("more\r\ntwo words\r\n"));
  }

  void KeywordCommandsWorkOnTheirBox() {
    BarsFixture fixture("");
    std::ofstream(fixture.ListFile("HistoryKey.txt"), std::ios::binary) << "alpha\r\n\r\nbeta\r\n";
    std::ofstream(fixture.ListFile("BaseHistoryKey.txt"), std::ios::binary) << "base\n";
    TSDIMainWindow& window = *fixture.window;
    TKeywordBox& history = window.KeywordBox(kListHistoryKey);
    window.ExecuteCommand(3121);  // reload the history keyword list
    QCOMPARE(history.Box().count(), 2);
    window.ExecuteCommand(KeywordCommandId(kListHistoryKey, KeywordAction::kRestore));
    QCOMPARE(history.Box().currentText(), QString("alpha"));
    window.ExecuteCommand(KeywordCommandId(kListHistoryKey, KeywordAction::kDelete));
    QCOMPARE(history.Box().count(), 1);
    QCOMPARE(history.Box().currentText(), QString("beta"));
    window.ExecuteCommand(KeywordCommandId(kListHistoryKey, KeywordAction::kNew));
    QCOMPARE(history.Box().count(), 1);
    QCOMPARE(history.Box().itemText(0), QString("base"));

    TKeywordBox& address = window.KeywordBox(kListAddress);
    address.SetText("http://127.0.0.1:1/x", true);
    address.Add(20);
    QCOMPARE(address.Box().count(), 1);
    window.ExecuteCommand(KeywordCommandId(kListAddress, KeywordAction::kNew));
    QCOMPARE(address.Box().count(), 0);
  }

  void OpenDialogAppliesAndRemembers() {
    LocalServer server;
    server.Page("/d", "<title>Dialog</title>");
    BarsFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    window.ExecuteCommand(3004);
    TOpenDialog* dialog = window.OpenDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(window.Rebar().ButtonOfCommand(3004)->isChecked());
    QVERIFY(dialog->width() >= TOpenDialog::kMinimumWidth);
    dialog->NewTab().setChecked(true);
    dialog->Address().setEditText(server.Url("/d"));
    QTest::keyClick(dialog->Address().lineEdit(), Qt::Key_Return);
    QVERIFY(WaitTitle(fixture.Strip(), 0, "Dialog"));
    QVERIFY(dialog->isVisible());  // Enter applies without closing
    QCOMPARE(window.Rebar().AddressBox()->itemText(0), server.Url("/d"));
    dialog->move(120, 130);
    window.ExecuteCommand(3004);  // the same command closes it
    QTRY_VERIFY(window.OpenDialog() == nullptr);
    QVERIFY(!window.Rebar().ButtonOfCommand(3004)->isChecked());
    QCOMPARE(fixture.Key("WebDialog", "DialogFileName"), server.Url("/d").toStdString());
    QCOMPARE(fixture.Key("WebDialog", "DialogNewTab"), "1");
    QCOMPARE(fixture.Key("WebDialog", "x"), "120");
  }

  void BracketChecksExplainWhatIsWrong() {
    BarsFixture fixture("");
    QString shown;
    QString caption;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        caption = box->windowTitle();
        box->accept();
      }
    });
    watcher.start(20);
    TThemeTexts texts;
    QStatusBar* status = fixture.window->statusBar();
    QVERIFY(CheckRegexOrExplain(fixture.window.get(), texts, "a(b)[c]", status));
    QVERIFY(shown.isEmpty());
    QCOMPARE(status->currentMessage(), QString("0"));
    QVERIFY(!CheckRegexOrExplain(fixture.window.get(), texts, "ab[c", status));
    QCOMPARE(caption, QString("Zelvora RegularExpression"));
    QVERIFY(shown.contains("At position 3 "));
    QCOMPARE(status->currentMessage(), QString("2"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::KeywordBarsTest)
#include "KeywordBarsTest.moc"
