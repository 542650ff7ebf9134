#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "WindowFixture.h"
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
    WindowFixture fixture("[ConfigDialog]\r\nConfirmExit=1\r\n");
    TSDIMainWindow& window = fixture.Open({{10, 10, 600, 400}, kShowNormal, false});
    {
      MessageBoxAnswerer no(QMessageBox::No);
      QVERIFY(!window.close());
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

  void SwitchMessagesChangeTheWindow() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open({{10, 10, 600, 400}, kShowNormal, false});
    window.ReceiveMessage(3177, "OFF");
    QVERIFY(!window.menuBar()->isVisible());
    window.ReceiveMessage(3177, " on ");
    QVERIFY(window.menuBar()->isVisible());
    window.ReceiveMessage(3184, "main(ON) main(120)");
    QCOMPARE(qRound(window.windowOpacity() * 255), 120);
    window.ReceiveMessage(3174, "max");
    QVERIFY(window.isMaximized());
    window.ReceiveMessage(3175, "700,500");
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.size(), QSize(700, 500));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::MainWindowTest)
#include "MainWindowTest.moc"
