#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QWebEngineView>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/TabStripArea.h"

namespace zelvora {

// A stand-in for a page: counts the context menus it is asked for.
class PageStandIn : public QWidget {
 public:
  using QWidget::QWidget;
  int contextMenus = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    ++contextMenus;
    event->accept();
  }
};

// The commands the window runs, without the internal ones that activation and new pages post
// (offline resynchronisation, page focus, page notice).
class CommandRecorder : public QObject {
 public:
  explicit CommandRecorder(TSDIMainWindow& window) {
    connect(&window, &TSDIMainWindow::CommandRequested, this, [this](int id) {
      if (id != 3161 && id != 3163 && id != 3164)
        ids << id;
    });
  }
  QList<int> ids;
};

class MenusAndInputTest : public QObject {
  Q_OBJECT

 private:
  // A shown window over the theme text.
  struct Fixture : WindowFixture {
    explicit Fixture(const std::string& theme) : WindowFixture("", theme) {
      Open({{0, 0, 640, 480}, kShowNormal, false});
    }
  };

  // A shown stand-in page over the window's tab-strip area.
  static PageStandIn* ShowStandIn(TSDIMainWindow& window) {
    auto* page = new PageStandIn(&window.TabStripArea());
    page->setGeometry(0, 0, 300, 200);
    page->show();
    return QTest::qWaitForWindowExposed(&window) ? page : nullptr;
  }

  // Mouse input as the window system delivers it, so that Qt asks for context menus itself.
  static void RightDrag(QWidget* page, QPoint from, QPoint to) {
    QWindow* window = page->window()->windowHandle();
    const QPoint offset = page->mapTo(page->window(), QPoint(0, 0));
    QTest::mousePress(window, Qt::RightButton, {}, from + offset);
    if (to != from)
      QTest::mouseMove(window, to + offset);
    QTest::mouseRelease(window, Qt::RightButton, {}, to + offset);
  }

 private slots:
  void BoundKeysWinOverEditBoxesAndMnemonicsAndAreReadUnshifted() {
    Fixture fixture(
        "[ShortCutKey]\r\nNewTab=Ctrl+T\r\nWebStop=Ctrl+Shift+1\r\nTabNext=Ctrl+Tab\r\n"
        "TabPrev=Ctrl+Shift+Tab\r\nWebClose=Alt+F\r\nToolConfig=Ctrl+Shift+-\r\n");
    QVERIFY(fixture.window->menuBar()->isVisible());
    auto* edit = new QLineEdit(&fixture.window->TabStripArea());
    edit->show();
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
    CommandRecorder commands(*fixture.window);
    QTest::keyClick(edit, Qt::Key_T, Qt::ControlModifier);
    // Shift turns the key into "!", "_" and Backtab; the binding names the key itself.
    QTest::keyClick(edit, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Underscore, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    // "&File" has the mnemonic Alt+F: the binding wins and no menu opens.
    QTest::keyClick(edit, Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(commands.ids, (QList<int>{3002, 3005, 3049, 3059, 3060, 3014}));
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QCOMPARE(fixture.window->menuBar()->activeAction(), nullptr);
    QTest::keyClick(edit, Qt::Key_X);
    QCOMPARE(edit->text(), QString("x"));
    QCOMPARE(commands.ids.size(), 6);
  }

  void BoundEditingKeyWinsInsideAPageFieldWhileOtherKeysReachIt() {
    LocalServer server;
    server.Page("/form", "<input id=f value=abc>");
    PageFixture fixture("", "[ShortCutKey]\r\nWebStop=Ctrl+A\r\n");
    TMyContainerClass* page = &fixture.Load(server.Url("/form"));
    page->View()->setFocus();
    RunPageScript(*page->Page(), "document.getElementById('f').focus(); 1");
    CommandRecorder commands(*fixture.window);
    QWidget* input = page->View()->focusProxy();
    QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
    QTRY_COMPARE(commands.ids, QList<int>{3005});
    // Had the page selected all, the typed letter would have replaced the text.
    QTest::keyClick(input, Qt::Key_X);
    QTRY_COMPARE(RunPageScript(*page->Page(), "document.getElementById('f').value.length"),
                 QString("4"));
    QVERIFY(RunPageScript(*page->Page(), "document.getElementById('f').value").contains('x'));
  }

  void RightButtonDragRunsTheGestureAndOpensNoMenu() {
    Fixture fixture(
        "[Mouse]\r\nGestureEnable=1\r\n[MouseGesture]\r\nNewTab=R\r\n[Menu]\r\nNewTab=&Fresh\r\n");
    PageStandIn* page = ShowStandIn(*fixture.window);
    QVERIFY(page != nullptr);
    CommandRecorder commands(*fixture.window);
    QSignalSpy status(fixture.window->statusBar(), &QStatusBar::messageChanged);

    RightDrag(page, QPoint(20, 50), QPoint(90, 52));
    QTRY_COMPARE(commands.ids, QList<int>{3002});
    QVERIFY(!status.isEmpty());
    QCOMPARE(status[0][0].toString(), QString("R Fresh"));
    QTest::qWait(50);
    QCOMPARE(page->contextMenus, 0);

    RightDrag(page, QPoint(40, 40), QPoint(40, 40));
    QTRY_COMPARE(page->contextMenus, 1);
    QCOMPARE(commands.ids.size(), 1);
  }

  void WithGesturesOffTheRightClickIsUntouched() {
    Fixture fixture("[MouseGesture]\r\nNewTab=R\r\n");
    PageStandIn* page = ShowStandIn(*fixture.window);
    QVERIFY(page != nullptr);
    RightDrag(page, QPoint(20, 50), QPoint(90, 52));
    QTRY_COMPARE(page->contextMenus, 1);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::MenusAndInputTest)
#include "MenusAndInputTest.moc"
