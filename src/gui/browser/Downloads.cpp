#include "gui/browser/Downloads.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <algorithm>

#include "core/browser/DownloadFile.h"
#include "core/browser/DownloadRules.h"
#include "core/input/ThemeTexts.h"
#include "core/shell/WindowState.h"
#include "gui/browser/DownloadsWindow.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/Text.h"

namespace zelvora {

namespace {

// Four progress updates a second: a fast download must not flood the window with repaints.
constexpr int kProgressIntervalMs = 250;
// How long the note of a refused download stays in the status bar.
constexpr int kRefusalNoteMs = 10000;
// The page switch that lets programs be downloaded.
constexpr std::size_t kProgramDownloadSwitch = 6;

TDownloads::SaveAnswer AskWithDialog(QWidget* parent, const QString& suggestedPath) {
  // The dialog asks itself before it lets an existing file be chosen.
  return {QFileDialog::getSaveFileName(parent, QString(), suggestedPath), true};
}

TDownloads::SaveAsker& SaveAskerSlot() {
  static TDownloads::SaveAsker asker = AskWithDialog;
  return asker;
}

QString DefaultDownloadFolder() {
  // The desktop names its download folder even when there is none yet; then the home folder.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString PartPathOf(const QString& path) {
  return path + FromView(kPartSuffix);
}

// The engine writes into a working file of its own beside the part file and renames it to the
// part file once the download is whole; a download it gives up on may leave it behind.
void RemovePartFiles(const TDownloads::Item& item) {
  QFile::remove(item.PartPath());
  QFile::remove(item.PartPath() + QStringLiteral(".download"));
}

}  // namespace

void TDownloads::SetSaveAsker(SaveAsker asker) {
  SaveAskerSlot() = asker ? std::move(asker) : AskWithDialog;
}

QString TDownloads::Item::PartPath() const {
  return PartPathOf(Path());
}

TDownloads::TDownloads(TSDIMainWindow& window) : QObject(&window), window_(window) {
  clock_.start();
  connect(window.BrowsePage().Profile(), &QWebEngineProfile::downloadRequested, this,
          &TDownloads::Requested);
  progressTimer_.setInterval(kProgressIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, &TDownloads::UpdateProgress);

  button_ = new QToolButton(window.statusBar());
  button_->setObjectName(QStringLiteral("DownloadsButton"));
  button_->setAutoRaise(true);
  button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button_->setIcon(window.style()->standardIcon(QStyle::SP_ArrowDown));
  connect(button_, &QToolButton::clicked, this, &TDownloads::ShowWindow);
  window.statusBar()->addPermanentWidget(button_);
  // Until the first download of the run the status bar looks as it always did.
  button_->hide();
}

TDownloads::~TDownloads() {
  delete list_;
}

int TDownloads::RunningCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const auto& item) {
    return item->state == State::kRunning;
  }));
}

void TDownloads::ShowWindow() {
  if (list_.isNull()) {
    list_ = new TDownloadsWindow(*this, &window_);
    // Over the main window: the window system would put it anywhere, even half off the screen.
    list_->move(window_.geometry().center() - list_->rect().center());
  }
  list_->show();
  list_->raise();
}

bool TDownloads::ProgramsAllowed(const QWebEngineDownloadRequest& request) const {
  const TAPIBrowsePage& strip = window_.BrowsePage();
  for (int index = 0; index < strip.Count(); ++index) {
    const TMyContainerClass* page = strip.GetContainer(index);
    if (request.page() != nullptr && page->Page() == request.page())
      return page->permissions[kProgramDownloadSwitch];
  }
  // A download whose page is gone (or never was one of the tabs) follows the window's defaults.
  return window_.DefaultPermissions()[kProgramDownloadSwitch];
}

void TDownloads::Requested(QWebEngineDownloadRequest* request) {
  // Saving a page is a download the page's own command has already placed.
  if (request->isSavePageDownload())
    return;
  auto item = std::make_unique<Item>();
  item->request = request;
  item->name = FromView(CleanDownloadName(request->suggestedFileName().toStdString()));
  item->total = request->totalBytes();
  if (!ProgramsAllowed(*request) &&
      IsProgramDownload(item->name.toStdString(), request->mimeType().toStdString())) {
    request->cancel();
    const QString text =
        tr("Refused: programs may not be downloaded from this page "
           "(\"ActiveX Download\" is off)");
    window_.statusBar()->showMessage(item->name + QStringLiteral(": ") + text, kRefusalNoteMs);
    item->state = State::kRefused;
    item->text = text;
    Add(std::move(item));
    return;
  }

  const std::string settingsFile = window_.Paths().settingsFile;
  QString folder =
      FromView(LoadDownloadFolder(settingsFile, DefaultDownloadFolder().toStdString()));
  if (!QFileInfo(folder).isDir())
    folder = DefaultDownloadFolder();
  const SaveAnswer answer = SaveAskerSlot()(&window_, folder + u'/' + item->name);
  // The dialog ran an event loop: the engine may have dropped the download meanwhile.
  if (answer.path.isEmpty() || item->request.isNull()) {
    if (!item->request.isNull())
      request->cancel();
    return;
  }
  if (!Claim(*item, answer)) {
    request->cancel();
    item->state = State::kFailed;
    item->text = tr("No free file name in %1").arg(item->folder);
    Add(std::move(item));
    ShowWindow();
    return;
  }
  SaveDownloadFolder(settingsFile, item->folder.toStdString());
  request->setDownloadDirectory(item->folder);
  request->setDownloadFileName(item->name + FromView(kPartSuffix));
  request->accept();
  const int row = Add(std::move(item));
  connect(request, &QWebEngineDownloadRequest::stateChanged, this,
          [this, row] { StateChanged(row); });
  progressTimer_.start();
  UpdateProgress();
  ShowWindow();
}

bool TDownloads::Claim(Item& item, const SaveAnswer& answer) {
  const QFileInfo chosen(answer.path);
  item.folder = chosen.absolutePath();
  const std::string name = CleanDownloadName(chosen.fileName().toStdString());
  const QString path = item.folder + u'/' + FromView(name);
  // The user agreed to replace that very file; a file of a cleaned name was never shown.
  const bool replace =
      answer.overwriteConfirmed && FromView(name) == chosen.fileName() && QFileInfo::exists(path);
  const auto taken = [&](const std::string& candidate) {
    const QString candidatePath = item.folder + u'/' + FromView(candidate);
    if (QFileInfo::exists(candidatePath) && !(replace && candidate == name))
      return true;
    if (QFileInfo::exists(PartPathOf(candidatePath)))
      return true;
    return std::any_of(items_.begin(), items_.end(), [&](const auto& other) {
      return other->state == State::kRunning && other->Path() == candidatePath;
    });
  };
  const std::string free = FreeDownloadName(name, taken);
  if (free.empty())
    return false;
  item.name = FromView(free);
  item.replace = replace && free == name;
  return true;
}

int TDownloads::Add(std::unique_ptr<Item> item) {
  items_.push_back(std::move(item));
  const int row = static_cast<int>(items_.size()) - 1;
  emit Added(row);
  UpdateButton();
  return row;
}

void TDownloads::StateChanged(int row) {
  Item& item = *items_[static_cast<std::size_t>(row)];
  if (item.state != State::kRunning || item.request.isNull())
    return;
  switch (item.request->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted: {
      item.received = item.request->receivedBytes();
      const DownloadPlacement placed = PlaceDownload(
          item.folder.toStdString(), (item.name + FromView(kPartSuffix)).toStdString(),
          item.name.toStdString(), item.replace);
      if (!placed.ok) {
        // The data stays in the part file: nothing the user waited for is thrown away.
        Stop(item, State::kFailed,
             tr("Could not be given its name (%1); the data is in %2")
                 .arg(FromView(placed.error), item.PartPath()));
        break;
      }
      item.name = FromView(placed.name);
      Stop(item, State::kFinished, FromView(FormatByteSize(item.received)));
      break;
    }
    case QWebEngineDownloadRequest::DownloadCancelled:
      RemovePartFiles(item);
      Stop(item, State::kCancelled, QString());
      break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
      RemovePartFiles(item);
      Stop(item, State::kFailed, item.request->interruptReasonString());
      break;
    default:
      return;
  }
  emit Changed(row);
}

void TDownloads::Stop(Item& item, State state, const QString& text) {
  item.state = state;
  item.text = text;
  if (RunningCount() == 0)
    progressTimer_.stop();
  UpdateButton();
}

void TDownloads::Cancel(int row) {
  Item& item = *items_[static_cast<std::size_t>(row)];
  if (item.state == State::kRunning && !item.request.isNull())
    item.request->cancel();
}

bool TDownloads::AskExit() {
  const int running = RunningCount();
  if (running == 0)
    return true;
  const QString text = FromView(window_.ThemeTexts().Message(kMessageDownloadsRunning))
                           .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                           .replace(QStringLiteral("%1"), QString::number(running))
                           .trimmed();
  return QMessageBox::question(&window_, window_.objectName(), text) == QMessageBox::Yes;
}

void TDownloads::CancelAll() {
  for (std::size_t row = 0; row < items_.size(); ++row) {
    Item& item = *items_[row];
    if (item.state != State::kRunning)
      continue;
    if (!item.request.isNull())
      item.request->cancel();
    // The program is ending: the engine's own clean-up may not come in time.
    RemovePartFiles(item);
    Stop(item, State::kCancelled, QString());
    emit Changed(static_cast<int>(row));
  }
}

void TDownloads::UpdateProgress() {
  const qint64 now = clock_.elapsed();
  for (std::size_t row = 0; row < items_.size(); ++row) {
    Item& item = *items_[row];
    if (item.state != State::kRunning || item.request.isNull())
      continue;
    item.received = item.request->receivedBytes();
    item.total = item.request->totalBytes();
    item.rate.Sample(item.received, now);
    item.text =
        FromView(FormatDownloadProgress(item.received, item.total, item.rate.BytesPerSecond()));
    emit Changed(static_cast<int>(row));
  }
}

void TDownloads::UpdateButton() {
  const int running = RunningCount();
  button_->setText(running > 0 ? QString::number(running) : QString());
  button_->setToolTip(tr("Downloads running: %1").arg(running));
  button_->show();
}

}  // namespace zelvora
