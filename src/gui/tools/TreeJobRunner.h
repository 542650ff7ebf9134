#pragma once

// Runs the tool panel's long tree commands one at a time on the worker thread. While a job runs
// its tree is hidden behind a grey picture of itself with the progress bar below; the panel's stop
// button sets the job's stop flag. When the job ends the tree comes back and, when the user asked
// to close the window meanwhile, the close is requested again.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/tools/TreeFile.h"

class QTimer;
class QWidget;

namespace zelvora {

class TSDIMainWindow;
class TMyThread;
class TWorkingDialog;

class TTreeJobRunner : public QObject {
  Q_OBJECT

 public:
  explicit TTreeJobRunner(TSDIMainWindow& window);
  // A job still running is stopped and waited for; its tree is not restored.
  ~TTreeJobRunner() override;

  bool Running() const { return running_; }
  // Starts `job` on the worker with `tree` (the tree's widget) hidden behind its grey picture;
  // `started` runs on this thread once the picture is taken, before the job starts; `finished`
  // runs on this thread after the job, before the tree is shown again. While a job runs nothing
  // starts: "busy :-)" is shown in the status bar and the result is false.
  bool Run(QWidget* tree, std::function<void(TJobState&)> job, std::function<void()> finished = {},
           const std::function<void()>& started = {});
  // The stop button: asks the running job to end.
  void RequestStop();
  bool StopRequested() const;
  // Runs `call` on the user-interface thread and waits for it (from the worker; on the
  // user-interface thread it runs at once). An exception thrown by `call` is thrown again here.
  void Synchronize(const std::function<void()>& call);

  // The closing sequence asks: while a job runs the close is refused, with the "Working now."
  // question the first time; the window asks to close again when the job has ended.
  bool RefuseClose();
  // The "Working now." question while a job runs, unless a stop was asked for already.
  void AskToStop();
  // For a close that cannot ask: the running job is stopped and waited for, and its tree restored
  // without a second close request.
  void StopAndWait();

 private:
  void ShowProgress();
  void Finish();

  TSDIMainWindow& window_;
  // The running flag: set while the worker's thread object lives.
  bool running_ = false;
  bool closePending_ = false;
  TJobState state_;
  std::unique_ptr<TMyThread> thread_;
  // The thread object while it lives, also while it is being freed (a job may still call
  // Synchronize then, and must be refused rather than run its call on the worker).
  TMyThread* worker_ = nullptr;
  std::function<void()> finished_;
  QTimer* progressTimer_ = nullptr;
  QPointer<TWorkingDialog> workingDialog_;
};

}  // namespace zelvora
