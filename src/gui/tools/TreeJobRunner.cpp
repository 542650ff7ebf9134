#include "gui/tools/TreeJobRunner.h"

#include <QImage>
#include <QPixmap>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <span>
#include <utility>

#include "core/tools/GreyPicture.h"
#include "gui/browser/MythreadClass2.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/WorkingDialog.h"

namespace zelvora {

namespace {

constexpr int kProgressInterval = 50;

QPixmap GreyPictureOf(QWidget& widget) {
  QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  MakeGrey({reinterpret_cast<std::uint32_t*>(image.bits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)});
  return QPixmap::fromImage(std::move(image));
}

}  // namespace

TTreeJobRunner::TTreeJobRunner(TSDIMainWindow& window) : QObject(&window), window_(window) {
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(kProgressInterval);
  connect(progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });
}

TTreeJobRunner::~TTreeJobRunner() {
  state_.stop = true;
  thread_.reset();
}

bool TTreeJobRunner::Run(QWidget* tree, std::function<void(TJobState&)> job,
                         std::function<void()> finished, const std::function<void()>& started) {
  if (running_) {
    window_.ShowStatusText(QStringLiteral("busy :-)"));
    return false;
  }
  state_.stop = false;
  state_.range = 0;
  state_.position = 0;
  finished_ = std::move(finished);
  window_.ToolPanel().ShowJobPicture(tree, GreyPictureOf(*tree));
  if (started)
    started();
  progressTimer_->start();
  thread_ = std::make_unique<TMyThread>(&running_);
  worker_ = thread_.get();
  thread_->Job = [this, job = std::move(job)] { job(state_); };
  thread_->OnTerminate = [this] { Finish(); };
  thread_->Resume();
  return true;
}

void TTreeJobRunner::RequestStop() {
  if (running_)
    state_.stop = true;
}

bool TTreeJobRunner::StopRequested() const {
  return state_.stop;
}

void TTreeJobRunner::Synchronize(const std::function<void()>& call) {
  if (worker_ != nullptr)
    worker_->Synchronize(call);
  else
    call();
}

bool TTreeJobRunner::RefuseClose() {
  if (!running_)
    return false;
  closePending_ = true;
  AskToStop();
  return true;
}

void TTreeJobRunner::AskToStop() {
  if (!running_ || state_.stop)
    return;
  if (workingDialog_.isNull()) {
    workingDialog_ = new TWorkingDialog(
        window_.ThemeTexts(), [this] { RequestStop(); }, &window_);
    workingDialog_->show();
  }
  workingDialog_->raise();
  workingDialog_->activateWindow();
}

void TTreeJobRunner::StopAndWait() {
  if (!running_)
    return;
  closePending_ = false;
  if (workingDialog_)
    workingDialog_->close();
  state_.stop = true;
  // The restore step runs here, not among the events dispatched while waiting.
  thread_->OnTerminate = nullptr;
  thread_->Terminate();
  thread_->WaitFor();
  Finish();
}

void TTreeJobRunner::ShowProgress() {
  QProgressBar* progress = window_.ToolPanel().Progress();
  const int range = std::max(1, state_.range.load());
  progress->setRange(0, range);
  progress->setValue(std::clamp(state_.position.load(), 0, range));
}

void TTreeJobRunner::Finish() {
  progressTimer_->stop();
  if (const std::function<void()> finished = std::exchange(finished_, {}))
    finished();
  window_.ToolPanel().HideJobPicture();
  state_.stop = false;
  // The worker has ended: freeing its thread object clears the running flag.
  thread_.reset();
  worker_ = nullptr;
  if (workingDialog_)
    workingDialog_->ShowFinished();
  if (std::exchange(closePending_, false))
    QTimer::singleShot(0, &window_, [window = &window_] { window->close(); });
}

}  // namespace zelvora
