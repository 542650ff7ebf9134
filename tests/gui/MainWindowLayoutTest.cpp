#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "WindowFixture.h"
#include "core/tools/TreeFile.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/StatusButtons.h"
#include "gui/shell/TabStripArea.h"
#include "gui/shell/ToolBarEdit.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

class MainWindowLayoutTest : public QObject {
  Q_OBJECT

 private:
  static bool WindowButtonsShown(TSDIMainWindow& window) {
    bool all = true;
    bool none = true;
    for (int index = 0; index < 3; ++index) {
      const bool shown = window.TabStripArea().WindowButton(index)->isVisibleTo(&window);
      all = all && shown;
      none = none && !shown;
    }
    if (!all && !none)
      qFatal("the window buttons disagree");
    return all;
  }

  static bool Checked(TSDIMainWindow& window, int id) {
    QAction* action = window.Menus().Action(id);
    return action != nullptr && action->isCheckable() && action->isChecked();
  }

  static bool Enabled(TSDIMainWindow& window, int id) {
    QAction* action = window.Menus().Action(id);
    return action != nullptr && action->isEnabled();
  }

 private slots:
  void WindowButtonsShowOnlyWithoutCaptionAndMenuBar() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QVERIFY(!WindowButtonsShown(window));
    window.ExecuteCommand(3066);  // caption off
    QVERIFY(!WindowButtonsShown(window));
    window.ExecuteCommand(3065);  // menu bar off
    QVERIFY(WindowButtonsShown(window));
    // The buttons sit at the right end of the tab-strip area, Exit outermost.
    const QWidget* exit = window.TabStripArea().WindowButton(0);
    QCOMPARE(exit->geometry().right(), window.TabStripArea().width() - 1);
    QVERIFY(window.TabStripArea().WindowButton(1)->x() < exit->x());
    window.ReceiveMessage(3177, "ON");  // "/menu=ON"
    QVERIFY(!WindowButtonsShown(window));
    window.ReceiveMessage(3177, "OFF");
    QVERIFY(WindowButtonsShown(window));
    window.ReceiveMessage(3178, "ON");  // "/caption=ON"
    QVERIFY(!WindowButtonsShown(window));
    QVERIFY(Checked(window, 3066));
    window.close();
    QCOMPARE(fixture.Key("Zelvora", "ShowMenu"), "0");
    QCOMPARE(fixture.Key("Zelvora", "ShowCaption"), "1");
  }

  void ToolbarSwitchLayoutIsShownAndWrittenBack() {
    WindowFixture fixture("");
    fixture.commandLine.Slot(kSwitchToolBar) = "5,-1,2";
    TSDIMainWindow& window = fixture.Open();
    const QList<QAction*> actions = window.Rebar().Band(0)->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions[0]->data().toInt(), 3008);
    QCOMPARE(actions[0]->toolTip(), QString("Refresh All"));
    QVERIFY(actions[1]->isSeparator());
    QCOMPARE(actions[2]->data().toInt(), 3005);
    QVERIFY(!actions[0]->icon().isNull());
    window.close();
    QCOMPARE(fixture.Key("Rebar", "ToolBar"), "5,-1,2");
  }

  void StatusBarSwitchClearsItsSystemMenuCheck() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QVERIFY(Checked(window, 3067));
    window.ReceiveMessage(3179, "OFF");  // "/statusbar=OFF"
    QVERIFY(!window.statusBar()->isVisible());
    window.RefreshMenus();
    QVERIFY(!Checked(window, 3067));
    window.ExecuteCommand(3067);
    QVERIFY(window.statusBar()->isVisible());
    QVERIFY(Checked(window, 3067));
  }

  void ToolPageSelectionFollowsCommandsAndSpeedButtons() {
    WindowFixture fixture("[Zelvora]\r\nSelectTool=9\r\nAnalysisDir=1\r\n");
    TSDIMainWindow& window = fixture.Open();
    TToolPanel& panel = window.ToolPanel();
    QCOMPARE(panel.Page(), 0);
    window.ExecuteCommand(3081);
    QCOMPARE(panel.Page(), 2);
    QCOMPARE(panel.Title()->text(), QString("Analysis"));
    QVERIFY(Checked(window, 3081));
    QVERIFY(panel.Option(8)->isChecked());
    QVERIFY(!panel.Option(0)->isEnabled());
    QVERIFY(!panel.UseIEProxy()->isEnabled());
    panel.findChild<QToolButton*>("Speed1")->click();  // next page
    QCOMPARE(panel.Page(), 3);
    QVERIFY(panel.UseIEProxy()->isEnabled());
    panel.findChild<QToolButton*>("Speed4")->click();  // next again: back to the first
    QCOMPARE(panel.Page(), 0);
    panel.findChild<QToolButton*>("Speed3")->click();  // previous
    QCOMPARE(panel.Page(), 3);
    panel.Option(8)->setChecked(false);
    panel.findChild<QToolButton*>("Speed2")->click();  // hides the panel
    QVERIFY(!panel.isVisible());
    QVERIFY(!Checked(window, 3063));
    QVERIFY(!window.Rebar().ButtonOfCommand(3063)->isChecked());
    window.Rebar().ButtonOfCommand(3063)->trigger();  // the toolbar's check button
    QVERIFY(panel.isVisible());
    QVERIFY(window.Rebar().ButtonOfCommand(3063)->isChecked());
    window.close();
    QCOMPARE(fixture.Key("Zelvora", "SelectTool"), "3");
    QCOMPARE(fixture.Key("Zelvora", "AnalysisDir"), "0");
  }

  void PermissionButtonsWithoutPagesChangeTheDefaults() {
    WindowFixture fixture("[ConfigDialog]\r\nWebPermitMultiMedia=101\r\n");
    TSDIMainWindow& window = fixture.Open();
    TStatusButtons& buttons = window.StatusButtons();
    QVERIFY(buttons.Permission(0)->isChecked());
    QVERIFY(!buttons.Permission(1)->isChecked());
    QCOMPARE(buttons.Permission(1)->toolTip(), QString("Invalid Sound"));
    buttons.Permission(1)->trigger();
    QCOMPARE(buttons.Permission(1)->toolTip(), QString("Effective Sound"));
    QVERIFY(window.Settings().Flag(kFlagWebPermitMultiMediaFirst + 1));
    buttons.Permission(0)->trigger();
    QVERIFY(!window.Settings().Flag(kFlagWebPermitMultiMediaFirst));
    QVERIFY(!buttons.LockButton()->isVisible());
    window.close();
    QCOMPARE(fixture.Key("ConfigDialog", "WebPermitMultiMedia"), "011");
  }

  void MenuRefreshFollowsClipboardAndTabStrip() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QGuiApplication::clipboard()->setText("http://127.0.0.1/");
    QTRY_VERIFY(window.Rebar().ButtonOfCommand(3003)->isEnabled());
    QGuiApplication::clipboard()->clear();
    QTRY_VERIFY(!Enabled(window, 3003));

    window.RefreshMenus();
    QVERIFY(!Enabled(window, 3014));
    QVERIFY(Enabled(window, 3002));  // "NewTab" needs no page
    window.BrowsePage().AddPage("about:blank");
    window.RefreshMenus();
    QVERIFY(Enabled(window, 3014));
    QVERIFY(Enabled(window, 3060));
    QVERIFY(Checked(window, 3145));  // the standard character size
    window.BrowsePage().DeletePage(0);
    QVERIFY(!Enabled(window, 3060));
  }

  void OpenDialogsFollowTranslucency() {
    WindowFixture fixture("[ConfigDialog]\r\nLayeredOther=1\r\nLayeredOtherValue=100\r\n");
    TSDIMainWindow& window = fixture.Open();
    QCOMPARE(window.windowOpacity(), 1.0);
    double before = -1;
    double after = -1;
    QTimer::singleShot(50, [&] {
      auto* dialog = qobject_cast<TToolBarEditDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      before = dialog->windowOpacity();
      window.ReceiveMessage(3184, "other(200) main(ON) main(128)");  // "/layered="
      after = dialog->windowOpacity();
      dialog->findChild<QAbstractButton*>("reset")->click();
      dialog->accept();
    });
    window.ExecuteCommand(3050);
    QCOMPARE(qRound(before * 255), 100);
    QCOMPARE(qRound(after * 255), 200);
    QCOMPARE(qRound(window.windowOpacity() * 255), 128);
    QCOMPARE(window.Rebar().Band(0)->actions().size(), 19);
  }

  void EnterInTheBarsPostsTheirGoCommands() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QList<int> commands;
    connect(&window, &TSDIMainWindow::CommandRequested, this, [&commands](int id) {
      if (id != 3163)
        commands << id;
    });
    QLineEdit* address = window.Rebar().AddressBox()->lineEdit();
    address->setFocus();
    QTest::keyClicks(address, "127.0.0.1");
    QTest::keyClick(address, Qt::Key_Return);
    QLineEdit* history = window.ToolPanel().HistoryKeyBox()->lineEdit();
    window.ExecuteCommand(3080);
    history->setFocus();
    QTest::keyClick(history, Qt::Key_Enter);
    QTRY_COMPARE(commands, (QList<int>{3080, 3117, 3115}));
    // The typed text went into the address list; the Enter did not reach the box itself.
    QCOMPARE(window.Rebar().AddressBox()->count(), 1);
    QCOMPARE(window.Rebar().AddressBox()->itemText(0), QString("127.0.0.1"));
  }

  void TreeMenuOpensOnItemsOnly() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    bool deleteHistoryToo = false;
    // Shows the tree's page and right-clicks `item`, or the empty space below the items; the menu
    // that opens is closed again at once.
    const auto menuOn = [&](int pageCommand, TTreeView* tree, TreeHandle item) {
      window.ExecuteCommand(pageCommand);
      QMenu* shown = nullptr;
      QTimer::singleShot(50, [&] {
        shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        deleteHistoryToo = window.Menus().Action(3159)->isEnabled();
        if (shown != nullptr)
          shown->close();
      });
      const QRect rect = tree->visualRect(tree->Adapter()->IndexOf(item));
      emit tree->customContextMenuRequested(item != kNoItem
                                                ? QPoint(rect.left() + 24, rect.center().y())
                                                : QPoint(5, tree->viewport()->height() - 3));
      QTest::qWait(100);
      return shown;
    };
    const auto add = [](TTreeView* tree, const char* name) {
      return AddTreeItem(*tree->TreeModel(), false, tree->TreeModel()->Caret(), "", name, {});
    };
    TTreeView* history = window.ToolPanel().Tree(kToolHistory);
    const TreeHandle first = add(history, "one");
    const TreeHandle second = add(history, "two");
    history->MarkOnly(first);
    QCOMPARE(menuOn(3080, history, second), window.Menus().Popup(kMenuTreeContext));
    QVERIFY(deleteHistoryToo);
    QVERIFY(history->TreeModel()->IsMarked(second) && !history->TreeModel()->IsMarked(first));
    QCOMPARE(menuOn(3080, history, kNoItem), nullptr);

    // On the Favorite page "Delete(History too)" is off; the Proxy page has a menu of its own.
    TTreeView* favorites = window.ToolPanel().Tree(kToolFavorite);
    QCOMPARE(menuOn(3079, favorites, add(favorites, "fav")),
             window.Menus().Popup(kMenuTreeContext));
    QVERIFY(!deleteHistoryToo);
    TTreeView* proxies = window.ToolPanel().Tree(kToolProxy);
    QCOMPARE(menuOn(3082, proxies, add(proxies, "proxy")), window.Menus().Popup(kMenuProxyContext));
  }

  void PagePressesAskThePageFirst() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QList<int> commands;
    connect(&window, &TSDIMainWindow::CommandRequested, this, [&commands](int id) {
      if (id != 3163)
        commands << id;
    });
    bool pageAsks = true;
    window.SetPagePressNotice([&pageAsks] { return pageAsks; });
    auto* page = new QWidget(&window.TabStripArea());
    page->setGeometry(10, 30, 200, 100);
    page->show();
    QTest::mouseClick(page, Qt::LeftButton);
    QTest::mouseClick(page, Qt::MiddleButton);
    QTest::mouseClick(page, Qt::RightButton);
    QTest::mouseClick(window.ToolPanel().Tree(0)->viewport(), Qt::LeftButton);
    QCOMPARE(commands, (QList<int>{3158, 3158}));
    pageAsks = false;
    QTest::mouseClick(page, Qt::LeftButton);
    QCOMPARE(commands.size(), 2);
  }

  void RebarArrangementSurvivesARun() {
    WindowFixture fixture("[Rebar]\r\n0=2,300\r\n1=1,200n\r\n2=0,400\r\nBarSearchKeyWidth=180\r\n");
    TSDIMainWindow& window = fixture.Open({{10, 10, 900, 600}, kShowNormal, false});
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect search = window.Rebar().Band(2)->geometry();
    const QRect address = window.Rebar().Band(1)->geometry();
    const QRect toolbar = window.Rebar().Band(0)->geometry();
    QVERIFY(address.top() > search.bottom());
    QCOMPARE(toolbar.top(), address.top());
    QVERIFY(toolbar.left() > address.left());
    QVERIFY(window.Rebar().SearchKeyBox()->width() >= 180);
    window.ExecuteCommand(3064);  // rebar off: its arrangement stays as it was
    QVERIFY(!window.Rebar().Band(0)->isVisible());
    window.close();
    QCOMPARE(fixture.Key("Zelvora", "ShowReber"), "0");
    QVERIFY(fixture.Key("Rebar", "0").starts_with("2,"));
    const std::string second = fixture.Key("Rebar", "1");
    QVERIFY(second.starts_with("1,") && second.ends_with("n"));
    QVERIFY(fixture.Key("Rebar", "2").starts_with("0,"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
