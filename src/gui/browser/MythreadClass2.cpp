#include "gui/browser/MythreadClass2.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <exception>
#include <stdexcept>
#include <thread>

namespace zelvora {

// Lives on the user-interface thread and receives the thread's calls there. It forgets its thread
// when the thread object goes, so that an OnTerminate posted before never reaches a freed object,
// and it is deleted by the event loop after the calls already posted to it.
class TThreadWindow : public QObject {
 public:
  TAPIThread* thread = nullptr;
  // Set while its thread object goes: a synchronised call throws instead of running.
  std::atomic<bool> refuseCalls{false};
};

namespace {

bool OnUserInterfaceThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  return application != nullptr && QThread::currentThread() == application->thread();
}

}  // namespace

std::mutex& WorkerLock() {
  static std::mutex lock;
  return lock;
}

TAPIThread::TAPIThread()
    : window_(new TThreadWindow), uiDispatcher_(QAbstractEventDispatcher::instance()) {
  window_->thread = this;
}

TAPIThread::~TAPIThread() {
  Shutdown();
  window_->deleteLater();
}

void TAPIThread::Shutdown() {
  window_->thread = nullptr;
  if (!thread_.joinable())
    return;
  Terminate();
  // The object goes (with the window, often): no other event may run meanwhile, or a page's
  // events would reach a window half destroyed. Only the job's own calls are answered, and they
  // fail, so that a job waiting in Synchronize unwinds.
  window_->refuseCalls = true;
  while (!finished_) {
    QCoreApplication::sendPostedEvents(window_, QEvent::MetaCall);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  thread_.join();
}

void TAPIThread::Resume() {
  if (!suspended_)
    return;
  suspended_ = false;
  thread_ = std::thread([this] { Run(); });
}

void TAPIThread::Run() {
  // An exception that leaves the job would end the program: the job ends there instead.
  try {
    Execute();
  } catch (const std::exception& error) {
    qWarning("Zelvora: a background job failed: %s", error.what());
  } catch (...) {
    qWarning("Zelvora: a background job failed");
  }
  finished_ = true;
  DoTerminate();
  // A WaitFor on the user-interface thread sleeps until the next event.
  if (uiDispatcher_ != nullptr)
    uiDispatcher_->wakeUp();
}

void TAPIThread::DoTerminate() {
  QMetaObject::invokeMethod(
      window_,
      [window = window_] {
        if (window->thread == nullptr || !window->thread->OnTerminate)
          return;
        // A copy: the callback may free this thread object.
        const std::function<void()> callback = window->thread->OnTerminate;
        callback();
      },
      Qt::QueuedConnection);
}

int TAPIThread::WaitFor() {
  if (OnUserInterfaceThread()) {
    while (thread_.joinable() && !finished_) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
  }
  // A WaitFor nested in the events dispatched above may have joined already.
  if (thread_.joinable())
    thread_.join();
  return returnValue_;
}

void TAPIThread::Synchronize(const std::function<void()>& method) {
  if (OnUserInterfaceThread()) {
    method();
    return;
  }
  std::exception_ptr raised;
  QMetaObject::invokeMethod(
      window_,
      [&method, &raised, window = window_] {
        try {
          if (window->refuseCalls)
            throw std::runtime_error("the worker is being shut down");
          method();
        } catch (...) {
          raised = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (raised)
    std::rethrow_exception(raised);
}

TMyThread::TMyThread(bool* runningFlag) : runningFlag_(runningFlag) {
  *runningFlag_ = true;
}

TMyThread::~TMyThread() {
  // Job must not go while the job still runs.
  Shutdown();
  *runningFlag_ = false;
}

void TMyThread::Execute() {
  const std::lock_guard<std::mutex> lock(WorkerLock());
  if (Job)
    Job();
}

}  // namespace zelvora
