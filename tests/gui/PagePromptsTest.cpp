// What pages ask of the user through the engine: logins, certificate errors, permissions, and
// printing from a script; and the captions of a page's own dialogs.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/browser/PagePrompts.h"

namespace zelvora {

namespace {

// Collects the page's console lines that start with `prefix`.
QStringList& WatchConsole(TMyContainerClass& page, const QString& prefix) {
  auto* lines = new QStringList;
  const auto bridge = page.Page()->consoleLine;
  page.Page()->consoleLine = [lines, prefix, bridge](const QString& line) {
    if (line.startsWith(prefix))
      lines->append(line);
    bridge(line);
  };
  QObject::connect(page.Page(), &QObject::destroyed, [lines] { delete lines; });
  return *lines;
}

}  // namespace

class PagePromptsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { TPagePrompts::Ask() = saved_; }
  void initTestCase() { saved_ = TPagePrompts::Ask(); }

  // A site behind Basic authentication loads once the login is answered, with the host and realm
  // shown; cancelling shows the server's own answer.
  void LoginAnsweredOrCancelled() {
    LocalServer server;
    server.Page("/private", "<title>Secret</title>secret");
    server.Protect("/private", "user", "pass");
    LocalServer other;
    other.Page("/private", "<title>Secret</title>secret");
    other.Protect("/private", "user", "pass");
    QStringList asked;
    bool give = true;
    TPagePrompts::Ask().login = [&](QWidget*, const QString& host, const QString& realm,
                                    QString* user, QString* password) {
      asked << host + u' ' + realm;
      *user = QStringLiteral("user");
      *password = QStringLiteral("pass");
      return give;
    };
    PageFixture fixture("");
    TMyContainerClass& page = fixture.Load(server.Url("/private"));
    QCOMPARE(page.Page()->title(), QStringLiteral("Secret"));
    QCOMPARE(asked, QStringList{"127.0.0.1 Zelvora test"});

    give = false;
    TMyContainerClass& refused =
        *fixture.Strip().GetContainer(fixture.Strip().AddPage(other.Url("/private")));
    QTRY_COMPARE_WITH_TIMEOUT(refused.Page()->title(), QStringLiteral("Denied"), 10000);
    QCOMPARE(asked.size(), 2);
  }

  // A certificate nobody trusts: refused, the engine's error page shows; let through, the page
  // loads and the lock says that an error was let through.
  void CertificateErrorRefusedThenAccepted() {
    LocalServer server(true);
    server.Page("/", "<title>Secure</title>secure");
    bool accept = false;
    int asked = 0;
    TPagePrompts::Ask().certificate = [&](QWidget*, const QString& host, const QString& text) {
      ++asked;
      return host == QLatin1String("127.0.0.1") && !text.isEmpty() && accept;
    };
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = *strip.GetContainer(strip.AddPage({}));
    QSignalSpy loaded(page.Page(), &QWebEnginePage::loadFinished);
    page.Navigate(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 10000);
    QCOMPARE(asked, 1);
    QVERIFY(page.Page()->title() != QLatin1String("Secure"));

    accept = true;
    page.Navigate(server.Url("/"));
    QTRY_COMPARE_WITH_TIMEOUT(page.Page()->title(), QStringLiteral("Secure"), 10000);
    QCOMPARE(asked, 2);
    QTRY_COMPARE(page.secureLockIcon, 1);  // mixed
  }

  // A tab in the background is refused without a question; the current one asks once per host.
  void PermissionsAskForTheCurrentTabOnly() {
    LocalServer server;
    server.Page("/", "<title>Asking</title>asking");
    int asked = 0;
    TPagePrompts::Ask().permission = [&asked](QWidget*, const QString&, const QString&) {
      ++asked;
      return true;
    };
    PageFixture fixture("");
    TMyContainerClass& background = fixture.Load(server.Url("/"));
    TMyContainerClass& current = fixture.Load(server.Url("/"));
    QCOMPARE(fixture.Strip().GetContainer(fixture.Strip().CurrentIndex()), &current);
    const QString request = QStringLiteral(
        "Notification.requestPermission().then(answer => console.log('asked:' + answer)); 1");

    QStringList& hidden = WatchConsole(background, QStringLiteral("asked:"));
    RunPageScript(*background.Page(), request);
    QTRY_COMPARE_WITH_TIMEOUT(hidden, QStringList{"asked:denied"}, 10000);
    QCOMPARE(asked, 0);

    QStringList& shown = WatchConsole(current, QStringLiteral("asked:"));
    RunPageScript(*current.Page(), request);
    QTRY_COMPARE_WITH_TIMEOUT(shown, QStringList{"asked:granted"}, 10000);
    RunPageScript(*current.Page(), request);
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 10000);
    QCOMPARE(asked, 1);
  }

  // window.print() prints the page (here into a PDF file); an alert is captioned with the
  // page's host and shows its text as text.
  void ScriptPrintsAndAlertsAreTheProgramsDialogs() {
    LocalServer server;
    server.Page("/", "<title>Print me</title><body>printed text</body>");
    PageFixture fixture("");
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    const QString pdf = fixture.folder.path() + QStringLiteral("/page.pdf");
    fixture.Strip().askPrinter = [&pdf](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
    RunPageScript(*page.Page(), QStringLiteral("setTimeout(() => window.print(), 0); 1"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile(pdf).size() > 0, 20000);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(4) == "%PDF");

    QString caption;
    Qt::TextFormat format = Qt::RichText;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        caption = box->windowTitle();
        format = box->textFormat();
        box->accept();
      }
    });
    poll.start(20);
    page.Page()->runJavaScript(QStringLiteral("alert('<b>bold</b>')"));
    QTRY_COMPARE_WITH_TIMEOUT(caption, QStringLiteral("127.0.0.1"), 10000);
    QCOMPARE(format, Qt::PlainText);
  }

 private:
  TPagePrompts::Askers saved_;
};

}  // namespace zelvora

QTEST_MAIN(zelvora::PagePromptsTest)
#include "PagePromptsTest.moc"
