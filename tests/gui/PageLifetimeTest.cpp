#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>
#include <fstream>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "core/tools/TabList.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/Rebar.h"

namespace zelvora {

class PageLifetimeTest : public QObject {
  Q_OBJECT

 private:
  static QString Address(const PageFixture& fixture) {
    return fixture.window->Rebar().AddressBox()->currentText();
  }

  static QStringList TabTexts(const TAPIBrowsePage& strip) {
    QStringList texts;
    for (int index = 0; index < strip.Count(); ++index)
      texts << strip.TabBar().tabText(index);
    return texts;
  }

 private slots:
  // A JavaScript dialog runs a nested event loop with its page below it on the stack: closing
  // the tab or the window from inside that loop must close the dialog and let the page go only
  // once the loop has returned.
  void ClosingUnderAJavaScriptDialog_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("wholeWindow");
    QTest::newRow("alert, tab closed") << QByteArray("alert('hello')") << false;
    QTest::newRow("confirm, tab closed") << QByteArray("confirm('sure?')") << false;
    QTest::newRow("alert, window closed") << QByteArray("alert('hello')") << true;
    QTest::newRow("confirm, window closed") << QByteArray("confirm('sure?')") << true;
  }
  void ClosingUnderAJavaScriptDialog() {
    QFETCH(QByteArray, script);
    QFETCH(bool, wholeWindow);
    LocalServer server;
    server.Page("/plain", "<title>Plain</title><p>plain</p>");
    server.Page("/dialog", "<title>Dialog</title><p>d</p><script>" + script + "</script>");
    PageFixture fixture("LastWebRestore=1\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    fixture.Load(server.Url("/plain"));
    TMyContainerClass* page = strip.GetContainer(strip.AddPage(server.Url("/dialog")));
    const QPointer<QWebEngineView> view = page->View();

    // The timer fires inside the dialog's own loop.
    QPointer<QDialog> dialog;
    bool closed = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
      if (closed)
        return;
      dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog.isNull())
        return;
      closed = true;
      if (wholeWindow)
        fixture.window->close();
      else
        strip.CloseTab(strip.IndexOfContainer(page));
    });
    watcher.start(20);
    QTRY_VERIFY_WITH_TIMEOUT(closed, 20000);
    watcher.stop();
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QTRY_VERIFY(view.isNull());

    if (wholeWindow) {
      QVERIFY(!fixture.window->isVisible());
      QCOMPARE(strip.Count(), 0);
      const auto written =
          ReadTabList(fixture.paths.perUserFolder + "/" + std::string(kLastWebListName));
      QVERIFY(written.has_value());
      QCOMPARE(*written, (std::vector<std::string>{server.Url("/plain").toStdString(),
                                                   server.Url("/dialog").toStdString()}));
    } else {
      QVERIFY(fixture.window->isVisible());
      QCOMPARE(TabTexts(strip), QStringList{"Plain"});
    }
  }

  // Closes posted by a page's own events name the page: two of them posted before either runs
  // close their own tabs, not a neighbour; the last tab closing this way empties the address bar.
  void PostedClosesNameTheirPage() {
    LocalServer server;
    for (const char* name : {"A", "B", "C", "D"})
      server.Page(QStringLiteral("/%1").arg(name),
                  QStringLiteral("<title>%1</title><p>%1</p>").arg(name).toUtf8());
    PageFixture fixture("DenyUseUrl=1\r\n", {},
                        "2 " + server.Url("/denied").toStdString() + "\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& a = fixture.Load(server.Url("/A"));
    TMyContainerClass& b = fixture.Load(server.Url("/B"));
    TMyContainerClass& c = fixture.Load(server.Url("/C"));
    fixture.Load(server.Url("/D"));

    emit b.Page()->windowCloseRequested();
    NavigationRequest denied{QUrl(server.Url("/denied")), true, false, false, false, {}};
    c.Callbacks().OnBeforeNavigate2(denied);
    QVERIFY(denied.cancel);
    QCOMPARE(strip.Count(), 4);
    QTRY_COMPARE(strip.Count(), 2);
    QTest::qWait(100);
    QCOMPARE(TabTexts(strip), (QStringList{"A", "D"}));

    strip.CloseTab(1);
    QCOMPARE(Address(fixture), server.Url("/A"));
    RunPageScript(*a.Page(), QStringLiteral("window.close(); 'closing'"));
    QTRY_COMPARE_WITH_TIMEOUT(strip.Count(), 0, 10000);
    QCOMPARE(Address(fixture), QString());
  }

  // A deny-list redirect is carried out once and never starts over: not when its replacement is
  // redirected in turn, and not when the page's first address becomes redirected later on.
  void DenyRedirectsNeverLoop() {
    LocalServer server;
    for (const QString name : {"first", "second", "new", "ping", "pong"})
      server.Page("/" + name, QStringLiteral("<title>%1</title><p>%1</p>").arg(name).toUtf8());
    const std::string base = server.Url("").toStdString();
    const std::string pingPong =
        "4 " + base + "/ping " + base + "/pong\r\n4 " + base + "/pong " + base + "/ping\r\n";
    PageFixture fixture("DenyUseUrl=1\r\n", {}, pingPong);
    TAPIBrowsePage& strip = fixture.Strip();
    const auto requestsOf = [&server](const QString& path) {
      return std::count_if(server.requests.begin(), server.requests.end(),
                           [&path](const LocalServer::Request& r) { return r.target == path; });
    };

    strip.AddPage(server.Url("/ping"));
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(0), QString("pong"), 10000);
    QTest::qWait(500);
    QCOMPARE(requestsOf("/ping"), 0);
    QCOMPARE(requestsOf("/pong"), 1);

    TMyContainerClass& page = fixture.Load(server.Url("/first"));
    std::ofstream(fixture.paths.perUserFolder + "/DenyUrlList.txt", std::ios::binary)
        << pingPong + "4 " + base + "/first " + base + "/new\r\n";
    fixture.window->Session().LoadDenyList();
    page.Navigate(QUrl(server.Url("/second")));
    QTRY_COMPARE_WITH_TIMEOUT(strip.TabBar().tabText(1), QString("new"), 10000);
    page.ReportAllFrames();
    QTest::qWait(1000);
    QCOMPARE(requestsOf("/new"), 1);
    QCOMPARE(page.Page()->url().path(), QString("/new"));
  }

  // A tab stuck loading has no document yet, but it can still be stopped, reloaded and closed.
  void AStuckPageCanBeClosed() {
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    QVERIFY(!window.Rebar().ButtonOfCommand(3014)->isEnabled());
    TAPIBrowsePage& strip = fixture.Strip();
    strip.AddPage(QStringLiteral("http://127.0.0.1:%1/never").arg(silent.serverPort()));
    QTRY_VERIFY(silent.hasPendingConnections());
    for (const int id : {3005, 3007, 3014, 3015})
      QVERIFY2(window.Rebar().ButtonOfCommand(id)->isEnabled(), QByteArray::number(id));
    QVERIFY(!window.Rebar().ButtonOfCommand(3020)->isEnabled());
    window.ExecuteCommand(3014);
    QCOMPARE(strip.Count(), 0);
    QVERIFY(!window.Rebar().ButtonOfCommand(3014)->isEnabled());
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::PageLifetimeTest)
#include "PageLifetimeTest.moc"
