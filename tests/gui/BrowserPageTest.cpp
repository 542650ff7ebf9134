#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"

namespace zelvora {

class BrowserPageTest : public QObject {
  Q_OBJECT

 private:
  // Loads `url` in a new tab and waits until its bridge has reported the top document too.
  static TMyContainerClass& Load(PageFixture& fixture, const QString& url) {
    TMyContainerClass& page = fixture.Load(url);
    WaitAttached(fixture, page);
    return page;
  }
  static void WaitAttached(PageFixture& fixture, TMyContainerClass& page) {
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached(FrameRef{page.Id(), {}}),
                             10000);
  }

  // A left click as the engine's input widget receives it.
  static void Click(QWidget* input, QPoint at) {
    const QPointF global = input->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(input, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(input, &release);
  }

  // Mouse input as the window system delivers it, at a point of the page's view.
  static void RightDrag(QWebEngineView* view, QPoint from, QPoint to) {
    QWindow* window = view->window()->windowHandle();
    const QPoint offset = view->mapTo(view->window(), QPoint(0, 0));
    QTest::mousePress(window, Qt::RightButton, {}, from + offset);
    for (int step = 1; step <= 4; ++step)
      QTest::mouseMove(window, from + (to - from) * step / 4 + offset);
    QTest::mouseRelease(window, Qt::RightButton, {}, to + offset);
  }

 private slots:
  void PageTitlesAreShownAsWritten() {
    LocalServer server;
    server.Page("/amp", "<title>&amp;F</title>a");
    server.Page("/b", "<title>B</title>b");
    PageFixture fixture("");
    fixture.window->ReceiveMessage(3177, "OFF");  // without the menu bar and its own Alt+F
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& amp = Load(fixture, server.Url("/amp"));
    Load(fixture, server.Url("/b"));
    QCOMPARE(strip.TabBar().Caption(0), QString("&F"));
    QCOMPARE(strip.CurrentIndex(), 1);
    // The title gives its tab no Alt+F.
    QTest::keyClick(fixture.window.get(), Qt::Key_F, Qt::AltModifier);
    QTest::qWait(50);
    QCOMPARE(strip.CurrentIndex(), 1);
    // The travel menu shows the ampersand too.
    amp.Navigate(QUrl(server.Url("/b")));
    QVERIFY(fixture.WaitLoaded(amp));
    strip.SetCurrentIndex(0);
    QMenu menu;
    strip.FillTravelMenu(menu, true);
    QCOMPARE(menu.actions().size(), 1);
    QCOMPARE(menu.actions()[0]->iconText(), QString("&F"));
  }

  void CaptionsAndProgressStages() {
    LocalServer server;
    server.Page("/a", "<title>Alpha</title><p>a</p>");
    server.Page("/long", "<title>" + QByteArray(40, 'x') + "</title><p>long</p>");
    server.Page("/dir/", "<p>no title here</p>");
    PageFixture fixture("TabTitleMax=10\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    QCOMPARE(fixture.window->windowTitle(), QString("Alpha"));
    page.Callbacks().OnProgressChange(50, 100);
    QCOMPARE(page.stage, 2);
    strip.SetPageCaption(0, "Loading..");
    page.Callbacks().OnProgressChange(-1, 100);
    QCOMPARE(page.stage, -1);
    QCOMPARE(strip.TabBar().tabText(0), QString("Alpha"));
    Load(fixture, server.Url("/long"));
    Load(fixture, server.Url("/dir/"));
    QCOMPARE(strip.TabBar().tabText(1), QString(10, u'x') + "...");
    QCOMPARE(strip.TabBar().tabText(2), QString("No Title"));
  }

  void PopupsOpenInNewTabsUpToTheLimit() {
    LocalServer server;
    server.Page("/a", "<title>A</title><p>a</p>");
    server.Page("/b", "<title>B</title><p>b</p>");
    PageFixture fixture("TabOpenMax=2\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    page.Page()->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    RunPageScript(*page.Page(), QStringLiteral("window.open('/b', '_blank'); 'ok'"));
    QTRY_COMPARE_WITH_TIMEOUT(strip.Count(), 2, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(1), QString("B"), 10000);
    QCOMPARE(strip.GetContainer(1)->openerId, static_cast<std::int64_t>(page.Id()));
    RunPageScript(*page.Page(), QStringLiteral("String(window.open('/b', '_blank'))"));
    QTest::qWait(300);
    QCOMPARE(strip.Count(), 2);
  }

  void ClosingTheLastTabHidesTheStripAndDetachesEverything() {
    LocalServer server;
    server.Page("/a", "<title>A</title><p>a</p>");
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    QVERIFY(strip.isVisible());
    // The engine's load end and the bridge both report the top document: one entry.
    QCOMPARE(strip.WebEvents().Connections().size(), std::size_t{1});
    page.ReportAllFrames();
    QTest::qWait(200);
    QCOMPARE(strip.WebEvents().Connections().size(), std::size_t{1});
    QVERIFY(strip.DeletePage(0));
    QVERIFY(!strip.isVisible());
    QVERIFY(strip.WebEvents().Connections().empty());
    QCOMPARE(fixture.window->windowTitle(), QString("Zelvora"));
    QVERIFY(!strip.DeletePage(0));
  }

  void FramePressFocusSurvivesAReloadNotANewTabAndForgedMessagesDoNothing() {
    LocalServer inner;
    inner.Page("/frame", "<title>Inner</title><body style='margin:0;height:300px'>inner</body>");
    LocalServer outer;
    outer.Page("/top",
               "<title>Top</title><body style='margin:0'><iframe src='" +
                   inner.Url("/frame").toUtf8() +
                   "' style='position:absolute;left:0;top:0;width:400px;height:300px;border:0'>"
                   "</iframe><script>console.log('00000000000000000000000000000000|mousedown||x|"
                   "1|1|http%3A%2F%2Fforged|t'); console.log('" +
                   QByteArray(32, 'a') + "|focus|0|x|1|1|u|t');</script></body>");
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, outer.Url("/top"));
    const FrameRef frame{page.Id(), "0"};
    QTRY_VERIFY_WITH_TIMEOUT(strip.WebEvents().IsAttached(frame), 10000);
    QVERIFY(!strip.WebEvents().FocusedBrowser().has_value());
    QVERIFY(!fixture.window->statusBar()->currentMessage().contains("forged"));

    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    QWebEngineView* view = page.View();
    // A frame from another site draws in a renderer of its own, which takes input only once
    // the engine knows where that frame is on the screen.
    QTest::qWait(500);
    Click(view->focusProxy(), QPoint(100, 100));
    QTRY_COMPARE_WITH_TIMEOUT(strip.WebEvents().FocusedBrowser(), std::optional<FrameRef>(frame),
                              10000);
    QCOMPARE(page.pressedFrame, frame);
    QTRY_COMPARE(fixture.window->statusBar()->currentMessage(), QString("Inner"));

    page.Page()->triggerAction(QWebEnginePage::Reload);
    QVERIFY(fixture.WaitLoaded(page));
    QTRY_VERIFY_WITH_TIMEOUT(strip.WebEvents().IsAttached(frame), 10000);
    QCOMPARE(strip.WebEvents().FocusedBrowser(), std::optional<FrameRef>(frame));
    QCOMPARE(strip.WebEvents().PointedBrowser(), std::optional<FrameRef>(frame));

    // A new current tab leaves no frame of the previous one focused or pointed.
    strip.AddPage({});
    QVERIFY(strip.WebEvents().IsAttached(frame));
    QCOMPARE(strip.WebEvents().FocusedBrowser(), std::nullopt);
    QCOMPARE(strip.WebEvents().PointedBrowser(), std::nullopt);
  }

  void PageCommandsActOnTheCurrentPage() {
    LocalServer server;
    server.Page("/a", "<title>A</title><p>a</p>");
    PageFixture fixture("TabNewPos=1\r\nTabOpenMax=2\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    QVERIFY(window.Rebar().ButtonOfCommand(3014)->isEnabled());
    window.ExecuteCommand(3143);  // the largest size
    QCOMPARE(page.View()->zoomFactor(), 1.5);
    window.RefreshMenus();
    QVERIFY(window.Menus().Action(3143)->isChecked());
    QVERIFY(!window.Menus().Action(3145)->isChecked());
    window.ExecuteCommand(3029);  // the size button: one smaller
    QCOMPARE(strip.GetZoom(0), 3);
    window.ExecuteCommand(3147);
    window.ExecuteCommand(3029);  // after the smallest comes the largest
    QCOMPARE(strip.GetZoom(0), 4);

    window.ExecuteCommand(3009);  // the source in a new tab, placed and limited as any tab
    QCOMPARE(strip.Count(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(
        strip.GetContainer(0)->Page()->url().toString().startsWith("view-source:"), 10000);
    window.ExecuteCommand(3009);
    QCOMPARE(strip.Count(), 2);
    window.ExecuteCommand(3014);
    QCOMPARE(strip.Count(), 1);
    window.ExecuteCommand(3015);
    QCOMPARE(strip.Count(), 0);
    QVERIFY(!window.Rebar().ButtonOfCommand(3014)->isEnabled());
    QVERIFY(!window.Rebar().ButtonOfCommand(3069)->isEnabled());
  }

  void ShortcutsWinOverAFocusedPageAndTipsNameThePage() {
    LocalServer server;
    server.Page("/a", "<title>Alpha page</title><input id=field autofocus>");
    PageFixture fixture("TabToolTip=1\r\nTabToolTipCharMax=60\r\n",
                        "[ShortCutKey]\r\nNewTab=Ctrl+T\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    page.View()->setFocus();
    QTRY_VERIFY(page.View()->focusProxy()->hasFocus());
    QTest::keyClick(page.View()->focusProxy(), Qt::Key_T, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(strip.Count(), 2, 10000);

    QCOMPARE(strip.TabBar().TipText(0), "Alpha page\r\n" + server.Url("/a"));

    strip.SetCurrentIndex(0);
    QString shown;
    // The box opens once the page has answered; it is read and closed as soon as it shows.
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&shown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    watcher.start(20);
    fixture.window->ExecuteCommand(3022);  // the page's properties
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QVERIFY(shown.contains("Alpha page"));
    QVERIFY(shown.contains(server.Url("/a")));
    QVERIFY(shown.contains("text/html"));
  }

  void NavigationCanBeRedirectedFromTheQuestion() {
    LocalServer server;
    server.Page("/blocked", "<title>Blocked</title>");
    server.Page("/other", "<title>Other</title><p>other</p>");
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    QStringList asked;
    strip.onPageCreated = [&](TMyContainerClass& page) {
      page.Callbacks().OnBeforeNavigate2 = [&,
                                            target = server.Url("/other")](NavigationRequest& r) {
        asked << r.url.path();
        if (r.url.path() == "/blocked") {
          r.cancel = true;
          r.redirect = QUrl(target);
        }
      };
    };
    TMyContainerClass* page = strip.GetContainer(strip.AddPage(server.Url("/blocked")));
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(0), QString("Other"), 10000);
    QCOMPARE(page->Page()->url().path(), QString("/other"));
    QCOMPARE(asked, (QStringList{"/blocked", "/other"}));
  }

  void TravelMenusListAtMostTheHistoryMaximum() {
    LocalServer server;
    for (int n = 1; n <= 4; ++n)
      server.Page(QStringLiteral("/p%1").arg(n),
                  QStringLiteral("<title>P%1</title>").arg(n).toUtf8());
    PageFixture fixture("WebHistoryListMax=2\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/p1"));
    for (int n = 2; n <= 4; ++n) {
      page.Navigate(QUrl(server.Url(QStringLiteral("/p%1").arg(n))));
      QVERIFY(fixture.WaitLoaded(page));
    }
    QVERIFY(page.backEnabled);
    QVERIFY(!page.forwardEnabled);
    QVERIFY(strip.TabBar().BackArrow()->isVisible());
    QVERIFY(!strip.TabBar().ForwardArrow()->isVisible());
    QMenu back;
    strip.FillTravelMenu(back, true);
    QCOMPARE(back.actions().size(), 2);
    QCOMPARE(back.actions()[0]->text(), QString("P3"));
    QCOMPARE(back.actions()[1]->text(), QString("P2"));
    back.actions()[1]->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(page.Page()->url().path(), QString("/p2"), 10000);
    QTRY_VERIFY(page.forwardEnabled);
    QMenu forward;
    strip.FillTravelMenu(forward, false);
    QCOMPARE(forward.actions().size(), 2);
    QCOMPARE(forward.actions()[0]->text(), QString("P3"));
  }

  void GestureOverAPageRunsItsCommandAndAPlainRightClickOpensTheMenu() {
    LocalServer server;
    server.Page("/a", "<title>A</title><body style='height:600px'>some page text</body>");
    PageFixture fixture("", "[Mouse]\r\nGestureEnable=1\r\n[MouseGesture]\r\nNewTab=R\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = Load(fixture, server.Url("/a"));
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    QWebEngineView* view = page.View();
    RightDrag(view, QPoint(100, 100), QPoint(220, 104));
    QTRY_COMPARE_WITH_TIMEOUT(strip.Count(), 2, 10000);
    QTest::qWait(300);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);

    strip.SetCurrentIndex(0);
    // The page shown again takes input once the engine has placed it on the screen.
    QTRY_VERIFY(view->isVisible());
    QTest::qWait(500);
    RightDrag(view, QPoint(120, 120), QPoint(120, 120));
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget() != nullptr, 10000);
    QApplication::activePopupWidget()->close();
    QCOMPARE(strip.Count(), 2);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::BrowserPageTest)
#include "BrowserPageTest.moc"
