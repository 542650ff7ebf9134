#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QtTest>

#include "core/shell/WindowState.h"
#include "gui/shell/ToolBarEdit.h"

namespace zelvora {

class ToolBarEditTest : public QObject {
  Q_OBJECT

 private:
  static std::vector<ToolbarButtonView> Views(int count) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    std::vector<ToolbarButtonView> views;
    for (int button = 0; button < count; ++button)
      views.push_back({QIcon(pixmap), QStringLiteral("tip%1").arg(button)});
    return views;
  }

  static std::vector<int> Rows(const QListWidget* list) {
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row)
      rows.push_back(list->item(row)->data(Qt::UserRole).toInt());
    return rows;
  }

  // The rows the list shows must be those the layout stands for.
  static bool ShowsLayout(const TToolBarEditDialog& dialog) {
    const auto* current = dialog.findChild<QListWidget*>("current");
    const std::vector<int> layout = dialog.Layout();
    if (static_cast<int>(layout.size()) != current->count())
      return false;
    for (int row = 0; row < current->count(); ++row) {
      const int button = layout[static_cast<std::size_t>(row)];
      const QString text =
          button < 0 ? QStringLiteral("Separator") : QStringLiteral("tip%1").arg(button);
      if (current->item(row)->text() != text)
        return false;
    }
    return true;
  }

  static void Click(const TToolBarEditDialog& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
  }

  // A real double click starts with a click; the view ignores a double click on a row it did
  // not see pressed.
  static void DoubleClick(QListWidget* list, int row) {
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
  }

  static bool Enabled(const TToolBarEditDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name)->isEnabled();
  }

 private slots:
  void AddAndRemoveKeepTheAvailableListInOrder() {
    const TToolBarEditDialog dialog(Views(kToolbarButtonMax + 1), {5, -1, 2});
    auto* available = dialog.findChild<QListWidget*>("available");
    auto* current = dialog.findChild<QListWidget*>("current");
    available->setCurrentRow(3);  // button 3; nothing is selected on the right: it appends
    QVERIFY(Enabled(dialog, "add") && !Enabled(dialog, "remove"));
    Click(dialog, "add");
    QCOMPARE(dialog.Layout(), std::vector<int>({5, -1, 2, 3}));
    current->setCurrentRow(0);
    available->setCurrentRow(1);  // button 0 goes above the selected button 5
    Click(dialog, "add");
    QCOMPARE(dialog.Layout(), std::vector<int>({0, 5, -1, 2, 3}));
    Click(dialog, "remove");  // the button just added stays selected
    QCOMPARE(dialog.Layout(), std::vector<int>({0, -1, 2, 3}));
    QVERIFY(ShowsLayout(dialog));
    for (int click = 0; click < 4; ++click)
      Click(dialog, "remove");
    QVERIFY(dialog.Layout().empty());
    QVERIFY(!Enabled(dialog, "remove"));
    std::vector<int> everything = DefaultToolbarLayout();
    everything.insert(everything.begin(), kToolbarSeparator);
    QCOMPARE(Rows(available), everything);
  }

  void SeparatorsAreCopiedAndDoubleClicksWork() {
    TToolBarEditDialog dialog(Views(kToolbarButtonMax + 1), {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* available = dialog.findChild<QListWidget*>("available");
    auto* current = dialog.findChild<QListWidget*>("current");
    available->setCurrentRow(0);
    Click(dialog, "add");
    Click(dialog, "add");
    QCOMPARE(dialog.Layout(), std::vector<int>({-1, -1}));
    QCOMPARE(available->count(), kToolbarButtonMax + 2);
    QCOMPARE(available->item(0)->text(), QString("Separator"));
    DoubleClick(available, 5);  // button 4
    QCOMPARE(dialog.Layout(), std::vector<int>({-1, -1, 4}));
    QVERIFY(ShowsLayout(dialog));
    DoubleClick(current, 0);
    DoubleClick(current, 1);
    QCOMPARE(dialog.Layout(), std::vector<int>({-1}));
    QCOMPARE(available->count(), kToolbarButtonMax + 2);
    QCOMPARE(Rows(available)[5], 4);
  }

  void MovesFollowTheSelectionAndStopAtTheEnds() {
    const TToolBarEditDialog dialog(Views(kToolbarButtonMax + 1), {0, -1, 2});
    auto* current = dialog.findChild<QListWidget*>("current");
    current->setCurrentRow(0);
    QVERIFY(!Enabled(dialog, "up") && Enabled(dialog, "down"));
    Click(dialog, "down");
    QCOMPARE(dialog.Layout(), std::vector<int>({-1, 0, 2}));
    QVERIFY(Enabled(dialog, "up") && Enabled(dialog, "down"));
    Click(dialog, "down");
    QCOMPARE(dialog.Layout(), std::vector<int>({-1, 2, 0}));
    QCOMPARE(current->currentRow(), 2);
    QVERIFY(Enabled(dialog, "up") && !Enabled(dialog, "down"));
    Click(dialog, "down");
    QCOMPARE(dialog.Layout(), std::vector<int>({-1, 2, 0}));
    Click(dialog, "up");
    Click(dialog, "up");
    QCOMPARE(dialog.Layout(), std::vector<int>({0, -1, 2}));
    QVERIFY(!Enabled(dialog, "up"));
    QVERIFY(ShowsLayout(dialog));
  }

  // Unknown and repeated buttons are dropped; a button without a view shows its number.
  void ListsStartFromTheCleanedLayout() {
    const TToolBarEditDialog dialog(Views(2), {20, 3, -5, 3, -1, 18, -1, 3, 19, 0});
    const auto* available = dialog.findChild<QListWidget*>("available");
    const auto* current = dialog.findChild<QListWidget*>("current");
    QCOMPARE(dialog.windowTitle(), QString("Customize Toolbar"));
    QCOMPARE(dialog.Layout(), std::vector<int>({3, -1, 18, -1, 0}));
    QCOMPARE(current->item(0)->text(), QString("3"));
    QVERIFY(current->item(0)->icon().isNull());
    QCOMPARE(current->item(4)->text(), QString("tip0"));
    QVERIFY(!current->item(4)->icon().isNull());
    QCOMPARE(Rows(available),
             std::vector<int>({-1, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
    QVERIFY(!Enabled(dialog, "add") && !Enabled(dialog, "remove") && !Enabled(dialog, "up"));
    QVERIFY(Enabled(dialog, "reset"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::ToolBarEditTest)
#include "ToolBarEditTest.moc"
