#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {

// Answers the next message box with `button` as soon as it shows, and counts the questions.
class MessageBoxAnswerer : public QObject {
 public:
  explicit MessageBoxAnswerer(QMessageBox::StandardButton button) : button_(button) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ++asked;
        box->button(button_)->click();
      }
    });
    timer_.start(20);
  }
  int asked = 0;

 private:
  QMessageBox::StandardButton button_;
  QTimer timer_;
};

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ConfirmExitNoKeepsTheWindowAndAsksAgain() {
    WindowFixture fixture("[ConfigDialog]\r\nConfirmExit=1\r\n",
                          "[Message]\r\n9=Really\\sleave?\\n\r\n");
    TSDIMainWindow& window = fixture.Open({{10, 10, 600, 400}, kShowNormal, false});
    {
      window.ExecuteCommand(3004);
      QVERIFY(window.OpenDialog() != nullptr && window.OpenDialog()->isVisible());
      MessageBoxAnswerer no(QMessageBox::No);
      // The question is the theme's, and the tool dialogs are closed before it is asked.
      bool dialogOpenWhileAsked = true;
      QTimer::singleShot(0, &window, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), QString("Really leave?"));
        dialogOpenWhileAsked = window.OpenDialog() != nullptr && window.OpenDialog()->isVisible();
      });
      QVERIFY(!window.close());
      QVERIFY(!dialogOpenWhileAsked);
      QVERIFY(!window.close());
      QCOMPARE(no.asked, 2);
    }
    QVERIFY(window.isVisible());
    QCOMPARE(ReadProfileString(fixture.paths.settingsFile, "Zelvora", "State", "none"), "none");
    MessageBoxAnswerer yes(QMessageBox::Yes);
    QVERIFY(window.close());
    QCOMPARE(yes.asked, 1);
    QCOMPARE(ReadProfileString(fixture.paths.settingsFile, "Zelvora", "State", "none"), "2");
  }

  void TerminationClosesWithoutAsking() {
    WindowFixture fixture("[ConfigDialog]\r\nConfirmExit=1\r\n");
    TSDIMainWindow& window = fixture.Open({{10, 10, 600, 400}, kShowNormal, false});
    MessageBoxAnswerer no(QMessageBox::No);
    window.CloseWithoutQuestions();
    QVERIFY(!window.isVisible());
    QCOMPARE(no.asked, 0);
  }

  void TabMenuCopiesTitlesAndAddresses() {
    LocalServer server;
    server.Page("/a", "<title>Alpha</title>a");
    server.Page("/b", "<title>Beta</title>b");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    const QString a = server.Url("/a");
    const QString b = server.Url("/b");
    fixture.Load(a);
    fixture.Load(b);
    fixture.Strip().SetCurrentIndex(0);
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto copied = [&](int id) {
      clipboard->setText(QStringLiteral("before"));
      window.ExecuteCommand(id);
      return clipboard->text();
    };
    QCOMPARE(copied(3137), QString("Alpha"));
    QCOMPARE(copied(3138), "Alpha\r\n" + a);
    QCOMPARE(copied(3139), a);
    QCOMPARE(copied(3140), QString("Alpha\r\nBeta\r\n"));
    QCOMPARE(copied(3141), "Alpha\r\n" + a + "\r\nBeta\r\n" + b + "\r\n");
    QCOMPARE(copied(3142), a + "\r\n" + b + "\r\n");
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::MainWindowTest)
#include "MainWindowTest.moc"
