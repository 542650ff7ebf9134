#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "WindowFixture.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"
#include "gui/tools/WorkingDialog.h"

namespace zelvora {

namespace {

// Holds a job until the test opens it; a job never waits longer than a few seconds, so a failing
// test cannot hang.
class Gate {
 public:
  void Open() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }
  bool Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    return opened_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// Waits on the worker until the stop button has been pressed.
bool WaitForStop(const TJobState& state) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!state.stop) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

QWidget* Favorites(TSDIMainWindow& window) {
  return window.ToolPanel().Tree(kToolFavorite);
}

}  // namespace

class TreeJobTest : public QObject {
  Q_OBJECT

 private slots:
  void ASecondJobIsRefusedAndTheTreeComesBackAfterTheFirst() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    auto* tree = window.ToolPanel().Tree(kToolFavorite);
    tree->MarkOnly(tree->TreeModel()->FirstTopLevel());
    TTreeJobRunner& runner = window.JobRunner();
    Gate gate;
    std::atomic<bool> ran{false};
    bool treeBackWhenFinished = true;
    QVERIFY(runner.Run(
        tree,
        [&](TJobState& state) {
          state.range = 10;
          state.position = 4;
          ran = gate.Wait();
        },
        [&] { treeBackWhenFinished = tree->isVisible() || tree->isEnabled(); }));

    QVERIFY(window.ToolTaskRunning());
    QVERIFY(!tree->isVisible());
    QVERIFY(!tree->isEnabled());
    auto* picture = window.ToolPanel().findChild<QLabel*>(QStringLiteral("JobPicture"));
    QVERIFY(picture->isVisible());
    const QImage image = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        QVERIFY2(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel),
                 qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
      }
    }
    QProgressBar* progress = window.ToolPanel().Progress();
    QVERIFY(progress->isVisible());
    QTRY_COMPARE(progress->maximum(), 10);
    QTRY_COMPARE(progress->value(), 4);

    bool secondRan = false;
    QVERIFY(!runner.Run(tree, [&](TJobState&) { secondRan = true; }));
    QCOMPARE(window.statusBar()->currentMessage(), QString("busy :-)"));

    gate.Open();
    QTRY_VERIFY(!window.ToolTaskRunning());
    QVERIFY(ran);
    QVERIFY(!treeBackWhenFinished);
    QVERIFY(tree->isVisible());
    QVERIFY(tree->isEnabled());
    QVERIFY(!picture->isVisible());
    QVERIFY(!progress->isVisible());
    QVERIFY(!secondRan);
    // The next job starts again.
    QVERIFY(runner.Run(tree, [](TJobState&) {}));
    QTRY_VERIFY(!window.ToolTaskRunning());
  }

  void ClosingDuringAJobWaitsForItsEnd() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    Gate gate;
    QVERIFY(window.JobRunner().Run(Favorites(window), [&](TJobState&) { gate.Wait(); }));

    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    auto* dialog = window.findChild<TWorkingDialog*>();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Zelvora Working now."));
    QCOMPARE(dialog->text(), QString("Do you wish to stop the work now ?"));
    // Asked again, the window shows the same question, not a second one.
    QVERIFY(!window.close());
    QCOMPARE(window.findChildren<TWorkingDialog*>().size(), 1);
    QVERIFY(!window.StopRequested());

    gate.Open();
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!window.ToolTaskRunning());
    QCOMPARE(dialog->text(), QString("Work finished. :-)"));
  }

  void TheStopButtonReachesTheJobAndSilencesTheQuestion() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    Gate gate;
    std::atomic<bool> stopped{false};
    QVERIFY(window.JobRunner().Run(Favorites(window), [&](TJobState& state) {
      stopped = WaitForStop(state);
      gate.Wait();
    }));
    auto* stop = window.ToolPanel().findChild<QToolButton*>(QStringLiteral("Speed0"));
    QVERIFY(stop != nullptr);
    stop->click();
    QTRY_VERIFY(stopped);
    QVERIFY(window.StopRequested());

    // With the stop already asked for, a close is refused without a question.
    QVERIFY(!window.close());
    QVERIFY(window.findChild<TWorkingDialog*>() == nullptr);
    gate.Open();
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!window.StopRequested());
  }

  void AnExceptionInASynchronizedCallReachesTheWorker() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    TTreeJobRunner& runner = window.JobRunner();
    std::atomic<bool> onUserInterfaceThread{false};
    QString caught;
    bool afterwards = false;
    QVERIFY(runner.Run(Favorites(window), [&](TJobState&) {
      try {
        runner.Synchronize([&] {
          onUserInterfaceThread = QThread::currentThread() == qApp->thread();
          throw std::runtime_error("refused");
        });
      } catch (const std::runtime_error& error) {
        caught = QString::fromUtf8(error.what());
      }
      // The user-interface thread goes on answering.
      runner.Synchronize([&] { afterwards = true; });
    }));
    QTRY_VERIFY(!window.ToolTaskRunning());
    QVERIFY(onUserInterfaceThread);
    QCOMPARE(caught, QString("refused"));
    QVERIFY(afterwards);
  }

  void ATerminationStopsTheJobAndClosesWithoutAsking() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    TTreeJobRunner& runner = window.JobRunner();
    std::atomic<bool> stopped{false};
    bool reported = false;
    bool finished = false;
    QVERIFY(runner.Run(
        Favorites(window),
        [&](TJobState& state) {
          stopped = WaitForStop(state);
          // The window waits for the job while answering it.
          runner.Synchronize([&] { reported = true; });
        },
        [&] { finished = true; }));
    window.CloseWithoutQuestions();
    QVERIFY(stopped);
    QVERIFY(reported);
    QVERIFY(finished);
    QVERIFY(!window.isVisible());
    QVERIFY(window.findChild<TWorkingDialog*>() == nullptr);
  }
  // A window destroyed under a running job (a test's fixture, the end of the program) ends the
  // job without dispatching any other event into the half-destroyed window; the job's call that
  // would need the window is refused.
  void DestroyingTheWindowEndsTheJobWithoutOtherEvents() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    TTreeJobRunner& runner = window.JobRunner();
    std::atomic<bool> synchronised{false};
    std::atomic<bool> refused{false};
    QVERIFY(runner.Run(Favorites(window), [&](TJobState& state) {
      WaitForStop(state);
      try {
        runner.Synchronize([&] { synchronised = true; });
      } catch (const std::runtime_error&) {
        refused = true;
      }
    }));
    QObject other;
    bool otherEventRan = false;
    QTimer::singleShot(0, &other, [&] { otherEventRan = true; });
    fixture.window.reset();
    QVERIFY(refused);
    QVERIFY(!synchronised);
    QVERIFY(!otherEventRan);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::TreeJobTest)
#include "TreeJobTest.moc"
