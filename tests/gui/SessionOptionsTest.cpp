#include <QStatusBar>
#include <QWebEngineSettings>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/StatusButtons.h"

namespace zelvora {

// Tab policies, the deny-URL list and the session options over pages the test serves itself.
class SessionOptionsTest : public QObject {
  Q_OBJECT

 private:
  // Opens a tab by the tab rules and waits for its load; false when it opens none or fails.
  static bool Open(PageFixture& fixture, const QString& url, TMyContainerClass** opened = nullptr) {
    const int index = fixture.Strip().OpenTab(url);
    TMyContainerClass* page = index < 0 ? nullptr : fixture.Strip().GetContainer(index);
    if (opened != nullptr)
      *opened = page;
    return page != nullptr && PageFixture::WaitLoaded(*page);
  }

 private slots:
  void DenyListClosesFreshPopupsOnlyAndRedirects() {
    LocalServer server;
    server.Page("/a", "<title>A</title>");
    server.Page("/denied", "<title>Denied</title>");
    server.Page("/new", "<title>New</title>");
    const std::string base = server.Url("").toStdString();
    PageFixture fixture("DenyUseUrl=1\r\n", {},
                        "3 " + base + "/denied\r\n4 " + base + "/old " + base + "/new\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass* page = nullptr;
    QVERIFY(Open(fixture, server.Url("/a"), &page));
    page->Page()->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // The popup's tab opens (the script gets its window) and closes again at once.
    QCOMPARE(
        RunPageScript(*page->Page(), QStringLiteral("String(window.open('/denied') !== null)")),
        QString("true"));
    QTRY_COMPARE_WITH_TIMEOUT(strip.Count(), 1, 10000);
    QTest::qWait(200);
    QCOMPARE(strip.Count(), 1);
    QVERIFY(!server.Requested("/denied"));

    page->Navigate(QUrl(server.Url("/denied")));
    QVERIFY(PageFixture::WaitLoaded(*page));
    QCOMPARE(strip.Count(), 1);
    QCOMPARE(strip.TabBar().tabText(0), QString("Denied"));

    QVERIFY(Open(fixture, server.Url("/old")));
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(1), QString("New"), 10000);
    QVERIFY(!server.Requested("/old"));
  }

  void ReleasedImageSwitchLoadsNoImages() {
    LocalServer server;
    server.Page("/pictures", "<title>P</title><img src='/one.png'><img src='/two.png'>");
    PageFixture fixture("WebPermitMultiMedia=011\r\n");
    QVERIFY(Open(fixture, server.Url("/pictures")));
    QTest::qWait(300);
    QVERIFY(server.Requested("/pictures"));
    QVERIFY(!server.Requested("/one.png"));

    // Pressing the button gives the page its images back (and reloads it).
    fixture.window->StatusButtons().Permission(0)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(server.Requested("/one.png"), 10000);
  }

  void UserAgentProxyAndOfflineReachTheNetwork() {
    LocalServer server;
    server.Page("/agent", "<title>Agent</title>");
    LocalServer proxy;
    proxy.Page("/through", "<title>Through</title>");
    PageFixture fixture("WebUserAgent=1\r\nWebUserAgentValue=ZelvoraTest/1.0\r\n");
    TWebSession& session = fixture.window->Session();
    QVERIFY(Open(fixture, server.Url("/agent")));
    QCOMPARE(server.requests.first().userAgent, QByteArray("ZelvoraTest/1.0"));

    session.ApplyProxy(proxy.Url("").mid(7), false, false);
    QTest::qWait(300);
    QVERIFY(Open(fixture, QStringLiteral("http://zelvora.test/through")));
    QVERIFY(proxy.Requested("http://zelvora.test/through"));
    session.ApplyProxy(QStringLiteral("0"), false, false);
    QTest::qWait(300);
    Open(fixture, QStringLiteral("http://zelvora.test/direct"));
    QVERIFY(!proxy.Requested("http://zelvora.test/direct"));

    // Offline: the check, the button's tip, and no request leaves.
    TSDIMainWindow& window = *fixture.window;
    window.ExecuteCommand(3018);
    QVERIFY(window.Menus().Action(3018)->isChecked());
    QVERIFY(session.QueryOffline());
    QCOMPARE(window.StatusButtons().OfflineButton()->toolTip(), QString("OffLine"));
    const qsizetype before = server.requests.size();
    QVERIFY(!Open(fixture, server.Url("/agent")));
    QCOMPARE(server.requests.size(), before);
    // A proxy chosen offline makes its one request (a page of its own) only once the session is
    // online again.
    session.ApplyProxy(proxy.Url("").mid(7), false, false);
    QVERIFY(session.findChildren<QWebEnginePage*>().isEmpty());
    window.ExecuteCommand(3018);
    QCOMPARE(session.findChildren<QWebEnginePage*>().size(), 1);
    QVERIFY(Open(fixture, server.Url("/agent")));
    QCOMPARE(server.requests.size(), before + 1);

    // A scheme list takes its http entry; a text that names no proxy changes nothing and says so.
    session.ApplyProxy("https=elsewhere:1;http=" + proxy.Url("").mid(7), false, false);
    QTest::qWait(300);
    QVERIFY(Open(fixture, QStringLiteral("http://zelvora.test/through")));
    session.ApplyProxy(QStringLiteral("http=a=b:80"), false, false);
    QVERIFY(window.statusBar()->currentMessage().contains("http=a=b:80"));

    // The request's page goes before the profile it was made on: no complaint at exit.
    static QStringList messages;
    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { messages << text; });
    session.ApplyProxy(QStringLiteral("0"), false, false);
    fixture.window.reset();
    qInstallMessageHandler(previous);
    QVERIFY2(!messages.join('\n').contains("still not deleted"), qPrintable(messages.join('\n')));
  }

  void TabsOpenAndCloseByTheirRules() {
    LocalServer server;
    for (const char* name : {"/0", "/1", "/2", "/3"})
      server.Page(name, QByteArray("<title>") + (name + 1) + "</title>");
    PageFixture fixture("TabNewPos=2\r\nTabDelPos=0\r\nTabOpenMax=4\r\nWheelClick=1\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    QVERIFY(Open(fixture, server.Url("/0")));
    QVERIFY(Open(fixture, server.Url("/1")));
    strip.SetCurrentIndex(0);
    QVERIFY(Open(fixture, server.Url("/2")));  // right of the current tab
    QCOMPARE(strip.TabBar().tabText(1), QString("2"));
    QCOMPARE(strip.OpenTab(server.Url("/3")), 2);
    QCOMPARE(strip.OpenTab(server.Url("/3")), -1);  // TabOpenMax
    // "Return": closing the current tab goes back to the one it was opened from ("2").
    QCOMPARE(strip.CurrentIndex(), 2);
    fixture.window->ExecuteCommand(3014);
    QCOMPARE(strip.TabBar().tabText(strip.CurrentIndex()), QString("2"));

    strip.clickedTab = 1;
    fixture.window->ExecuteCommand(3057);  // close the tabs left of it
    strip.clickedTab = -1;
    QCOMPARE(strip.Count(), 2);
    QCOMPARE(strip.TabBar().tabText(0), QString("2"));
    fixture.window->ExecuteCommand(3059);
    QCOMPARE(strip.CurrentIndex(), 1);
    // "WheelClick" 1: a middle click closes the tab under the mouse.
    QTest::mouseClick(&strip.TabBar(), Qt::MiddleButton, {}, strip.TabBar().tabRect(0).center());
    QCOMPARE(strip.Count(), 1);
    QCOMPARE(strip.TabBar().tabText(0), QString("1"));
  }

  void HistoryCatalogListsTheTravelLog() {
    LocalServer server;
    server.Page("/p1", "<title>One &amp; only</title>");
    server.Page("/p2", "<title>Two</title>");
    PageFixture fixture("");
    TMyContainerClass* page = nullptr;
    QVERIFY(Open(fixture, server.Url("/p1"), &page));
    page->Navigate(QUrl(server.Url("/p2")));
    QVERIFY(PageFixture::WaitLoaded(*page));
    fixture.window->ExecuteCommand(3030);
    TAPIBrowsePage& strip = fixture.Strip();
    QCOMPARE(strip.Count(), 2);
    TMyContainerClass& catalog = *fixture.Strip().GetContainer(1);
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(1), QString("History"), 10000);
    QString links;
    catalog.Page()->runJavaScript(
        QStringLiteral("Array.from(document.links).map(a => a.href).join(' ')"),
        [&links](const QVariant& value) { links = value.toString(); });
    QTRY_VERIFY_WITH_TIMEOUT(!links.isEmpty(), 10000);
    QCOMPARE(links, server.Url("/p1") + " " + server.Url("/p2"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::SessionOptionsTest)
#include "SessionOptionsTest.moc"
