#pragma once

// The program's own worker thread: one job at a time runs on a second thread while the
// user-interface thread goes on dispatching events. The job reaches the user-interface thread
// only through Synchronize; OnTerminate runs there after the job.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class QAbstractEventDispatcher;

namespace zelvora {

class TThreadWindow;

// The one lock that a worker holds for its whole job: code that takes it waits for the job.
std::mutex& WorkerLock();

class TAPIThread {
 public:
  // Made on the user-interface thread. The thread starts suspended: Resume starts the job.
  TAPIThread();
  // A thread that still runs is asked to end and waited for; OnTerminate does not run then.
  virtual ~TAPIThread();
  TAPIThread(const TAPIThread&) = delete;
  TAPIThread& operator=(const TAPIThread&) = delete;

  void Resume();
  // Asks the job to end; the job reads Terminated and decides when.
  void Terminate() { terminated_ = true; }
  // Waits until the job has ended and returns its ReturnValue. On the user-interface thread the
  // events go on being dispatched meanwhile, so that a job inside Synchronize can finish;
  // OnTerminate may run among them, so it must not free a thread that is being waited for. A
  // thread that was never resumed returns at once.
  int WaitFor();

  bool Terminated() const { return terminated_; }
  bool Suspended() const { return suspended_; }
  bool Finished() const { return finished_; }
  int ReturnValue() const { return returnValue_; }

  // Runs `method` on the user-interface thread and waits for it (at once when called there). An
  // exception thrown by `method` is thrown again here.
  void Synchronize(const std::function<void()>& method);

  // Runs on the user-interface thread once the job has ended.
  std::function<void()> OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Posts OnTerminate to the user-interface thread.
  virtual void DoTerminate();
  void SetReturnValue(int value) { returnValue_ = value; }
  // Ends a running job and forgets OnTerminate: Terminate, then wait for the job without
  // dispatching any event but the job's synchronised calls, which fail. A subclass whose Execute
  // uses its own members calls it first in its destructor.
  void Shutdown();

 private:
  void Run();

  // Receives the synchronised calls and OnTerminate on the user-interface thread.
  TThreadWindow* window_ = nullptr;
  QAbstractEventDispatcher* uiDispatcher_ = nullptr;
  std::thread thread_;
  std::atomic<bool> terminated_{false};
  bool suspended_ = true;
  std::atomic<bool> finished_{false};
  std::atomic<int> returnValue_{0};
};

// Runs Job under the worker lock. The running flag belongs to the caller: it is set while this
// object lives.
class TMyThread : public TAPIThread {
 public:
  explicit TMyThread(bool* runningFlag);
  ~TMyThread() override;

  std::function<void()> Job;

 protected:
  void Execute() override;

 private:
  bool* runningFlag_;
};

}  // namespace zelvora
