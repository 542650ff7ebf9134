#include "gui/tools/ToolTrees.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <filesystem>

#include "core/shell/CommandTable.h"
#include "core/shell/FileHistory.h"
#include "core/shell/Paths.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/ConfirmModifiedDialog.h"
#include "gui/tools/EditDialog.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

constexpr int kStartUpLoadId = 3113;
constexpr int kExitCheckId = 3114;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString& DatFilter() {
  static const QString filter = QStringLiteral("dat (*.dat)");
  return filter;
}

// A recovery copy newer than the tree's own file holds changes that were never written.
bool RecoveryIsNewer(const std::string& recovery, const std::string& file) {
  std::error_code error;
  const auto copied = std::filesystem::last_write_time(recovery, error);
  if (error)
    return false;
  const auto written = std::filesystem::last_write_time(file, error);
  return error || copied > written;
}

}  // namespace

TToolTrees::TToolTrees(TSDIMainWindow& window) : QObject(&window), window_(window) {
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    models_[Slot(tree)] = std::make_unique<TTreeModel>(tree);
    View(tree).SetTreeModel(Model(tree));
  }
  window_.SetCommandOwner(CommandOwner::kToolPanel, [this](const CommandRoute& route, int id, int) {
    RunCommand(route, id);
  });
}

TToolTrees::~TToolTrees() = default;

TTreeView& TToolTrees::View(int tree) const {
  return *window_.ToolPanel().Tree(tree);
}

TEditDialog* TToolTrees::EditDialog() const {
  return editDialog_.data();
}

int TToolTrees::Page() const {
  return window_.ToolPanel().Page();
}

std::string TToolTrees::CurrentFile(int tree) const {
  return window_.FileHistory(tree).CurrentFile();
}

void TToolTrees::ApplySettings() {
  const TSettings& settings = window_.Settings();
  defaults_ = TreeDefaultsOf(settings);
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    if (TTreeItemModel* adapter = View(tree).Adapter())
      adapter->SetToolTips(settings.Flag(kFlagToolTip), settings.Int(kIntToolTipCharMax));
  }
}

void TToolTrees::StartUp() {
  ApplySettings();
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    FavoriteNew(Model(tree));
  }
  const std::string proxyFile = CurrentFile(kToolProxy);
  if (!proxyFile.empty())
    TakeReadResult(kToolProxy, proxyFile,
                   ReadTreeFile(Model(kToolProxy), proxyFile, defaults_, nullptr));
  ShowRecoveryNotes();
}

bool TToolTrees::RunTreeJob(std::function<void(TJobState&)> job, std::function<void()> finished) {
  QWidget* tree = &View(Page());
  return window_.JobRunner().Run(
      tree, std::move(job),
      [this, finished = std::move(finished)] {
        for (int each = 0; each < kToolPanelTreeCount; ++each) {
          View(each).EndJob();
        }
        if (finished)
          finished();
      },
      [this] {
        for (int each = 0; each < kToolPanelTreeCount; ++each) {
          View(each).BeginJob();
        }
      });
}

void TToolTrees::RunLockPass(int tree, const HistoryQuery& query) {
  TTreeModel& model = Model(tree);
  RunTreeJob([&model, query](TJobState& job) { LockItems(model, query, &job); },
             [this, tree] { View(tree).SyncSelection(); });
}

void TToolTrees::RunCommand(const CommandRoute& route, int id) {
  const int page = Page();
  switch (route.action) {
    case CommandAction::kEditListFile:
      if (!CurrentFile(page).empty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(Text(CurrentFile(page))));
      break;
    case CommandAction::kWriteListFile:
      if (!window_.FileHistory(page).CurrentName().empty())
        WriteFile(page);
      break;
    case CommandAction::kWriteListFileAs:
      WriteFileAs(page);
      break;
    case CommandAction::kReloadListFile:
      if (!CurrentFile(page).empty())
        ReadFile(page, CurrentFile(page));
      break;
    case CommandAction::kOpenToolFileHistory:
      OpenFromHistory(page, route.offset + 1);
      break;
    case CommandAction::kEditItemName:
      View(page).EditCaretName();
      break;
    case CommandAction::kItemEditDialog:
      OpenEditDialog();
      break;
    case CommandAction::kTreeCommand:
      if (id == kFavoriteOpenId)
        OpenFile(page);
      else if (id == kFavoriteNewId)
        NewTree(page);
      else if (id == kStartUpLoadId && !CurrentFile(kToolFavorite).empty())
        ReadFile(kToolFavorite, CurrentFile(kToolFavorite));
      else if (id == kExitCheckId)
        CheckBeforeExit();
      break;
    default:
      break;
  }
}

void TToolTrees::ReadFile(int tree, const std::string& path) {
  auto result = std::make_shared<TreeReadResult>();
  RunTreeJob([this, tree, path, result](
                 TJobState& job) { *result = ReadTreeFile(Model(tree), path, defaults_, &job); },
             [this, tree, path, result] { TakeReadResult(tree, path, *result); });
}

void TToolTrees::TakeReadResult(int tree, const std::string& path, const TreeReadResult& result) {
  if (result.status == TreeReadStatus::kRejected) {
    window_.ShowStatusText(
        QStringLiteral("%1: nothing was loaded (%2)").arg(Text(path), Text(result.error)));
    return;
  }
  TFileHistoryList& history = window_.FileHistory(tree);
  history.SetCurrentFile(path);
  history.Add(path, window_.Settings().Int(kIntToolFileHistoryMax));
  window_.ShowStatusText(result.status == TreeReadStatus::kNothingLoaded
                             ? QStringLiteral("%1: nothing was loaded").arg(Text(path))
                             : Text(history.CurrentName()));
}

void TToolTrees::OpenFile(int tree) {
  if (!ConfirmModified(tree))
    return;
  const QString path = QFileDialog::getOpenFileName(
      &window_, QString(), Text(window_.FileHistory(tree).CurrentFolder()), DatFilter());
  if (!path.isEmpty())
    ReadFile(tree, path.toStdString());
}

void TToolTrees::OpenFromHistory(int tree, int entry) {
  const std::string path = window_.FileHistory(tree).Entry(static_cast<std::size_t>(entry));
  if (path.empty() || !ConfirmModified(tree))
    return;
  ReadFile(tree, path);
}

void TToolTrees::WriteFile(int tree) {
  const std::string path = CurrentFile(tree);
  View(tree).StoreScroll();
  auto result = std::make_shared<TreeWriteResult>();
  RunTreeJob([this, tree, path,
              result](TJobState& job) { *result = WriteTreeFile(Model(tree), path, &job); },
             [this, tree, path, result] { TakeWriteResult(tree, path, *result); });
}

void TToolTrees::TakeWriteResult(int tree, const std::string& path, const TreeWriteResult& result) {
  const QString caption = Text(kProgramName);
  switch (result.status) {
    case TreeWriteStatus::kWritten:
      window_.FileHistory(tree).Add(path, window_.Settings().Int(kIntToolFileHistoryMax));
      window_.ShowStatusText(Text(window_.FileHistory(tree).CurrentName()));
      break;
    case TreeWriteStatus::kStopped:
      QMessageBox::information(&window_, caption,
                               Text(window_.ThemeTexts().Message(kMessageStoppedWorking)));
      break;
    case TreeWriteStatus::kFailed:
      QMessageBox::warning(&window_, caption,
                           QStringLiteral("%1\n\n%2").arg(Text(path), Text(result.error)));
      break;
    case TreeWriteStatus::kEmpty:
      break;
  }
}

std::string TToolTrees::AskWritePath(int tree) {
  QFileDialog dialog(&window_, QString(), Text(window_.FileHistory(tree).CurrentFolder()),
                     DatFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("dat"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst().toStdString();
}

void TToolTrees::WriteFileAs(int tree) {
  const std::string path = AskWritePath(tree);
  if (path.empty())
    return;
  window_.FileHistory(tree).SetCurrentFile(path);
  WriteFile(tree);
}

void TToolTrees::NewTree(int tree) {
  if (!ConfirmModified(tree))
    return;
  RunTreeJob([this, tree](TJobState&) { FavoriteNew(Model(tree)); },
             [this, tree] { window_.FileHistory(tree).SetCurrentFile({}); });
}

int TToolTrees::AskModified(int tree) {
  const std::string file = CurrentFile(tree).empty() ? defaults_.fileUntitled : CurrentFile(tree);
  TConfirmModifiedDialog dialog(window_.ThemeTexts(), std::string(Model(tree).SectionName()), file,
                                &window_);
  window_.RegisterDialog(&dialog, kLayeredOther);
  dialog.exec();
  return dialog.Result();
}

bool TToolTrees::ConfirmModified(int tree) {
  if (!NeedsConfirmation(tree))
    return true;
  switch (AskModified(tree)) {
    case TConfirmModifiedDialog::kDontWrite:
      return true;
    case TConfirmModifiedDialog::kWrite: {
      std::string path = CurrentFile(tree);
      if (window_.FileHistory(tree).CurrentName().empty()) {
        path = AskWritePath(tree);
        if (path.empty())
          return false;
        window_.FileHistory(tree).SetCurrentFile(path);
      }
      View(tree).StoreScroll();
      const TreeWriteResult result = WriteTreeFile(Model(tree), path, nullptr);
      TakeWriteResult(tree, path, result);
      return result.status == TreeWriteStatus::kWritten;
    }
    default:
      return false;
  }
}

bool TToolTrees::NeedsConfirmation(int tree) const {
  return window_.Settings().Flag(kFlagModifiedFirst + tree) &&
         TreeDiffersFromFile(Model(tree), CurrentFile(tree));
}

bool TToolTrees::ExitCheckWanted() const {
  // Comparing is quick; the job with its grey picture is only for trees that will ask.
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    if (NeedsConfirmation(tree))
      return true;
  }
  return false;
}

void TToolTrees::CheckBeforeExit() {
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    View(tree).StoreScroll();
  }
  auto proceed = std::make_shared<bool>(true);
  RunTreeJob(
      [this, proceed](TJobState& job) {
        for (int tree = 0; tree < kToolPanelTreeCount && *proceed; ++tree) {
          if (!NeedsConfirmation(tree))
            continue;
          int answer = TConfirmModifiedDialog::kCancel;
          std::string path = CurrentFile(tree);
          window_.JobRunner().Synchronize([&] {
            answer = AskModified(tree);
            if (answer == TConfirmModifiedDialog::kWrite &&
                window_.FileHistory(tree).CurrentName().empty()) {
              path = AskWritePath(tree);
              if (path.empty())
                answer = TConfirmModifiedDialog::kCancel;
              else
                window_.FileHistory(tree).SetCurrentFile(path);
            }
          });
          if (answer == TConfirmModifiedDialog::kCancel) {
            *proceed = false;
          } else if (answer == TConfirmModifiedDialog::kWrite) {
            const TreeWriteResult result = WriteTreeFile(Model(tree), path, &job);
            window_.JobRunner().Synchronize([&] { TakeWriteResult(tree, path, result); });
            *proceed = result.status == TreeWriteStatus::kWritten;
          }
        }
      },
      [this, proceed] {
        if (*proceed)
          window_.ConfirmExitAndClose();
      });
}

void TToolTrees::WriteRecoveryCopies() {
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    if (!NeedsConfirmation(tree))
      continue;
    const std::string file = CurrentFile(tree);
    View(tree).StoreScroll();
    const std::string copy = RecoveryPath(Model(tree), file, window_.Paths().perUserFolder);
    const TreeWriteResult result = WriteTreeFile(Model(tree), copy, nullptr);
    if (result.status == TreeWriteStatus::kFailed)
      qWarning("Zelvora: the recovery copy %s could not be written: %s", copy.c_str(),
               result.error.c_str());
  }
}

void TToolTrees::ShowRecoveryNotes() {
  QStringList copies;
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    const std::string file = CurrentFile(tree);
    const std::string copy = RecoveryPath(Model(tree), file, window_.Paths().perUserFolder);
    if (RecoveryIsNewer(copy, file))
      copies << Text(copy);
  }
  if (!copies.isEmpty())
    window_.ShowNote(QStringLiteral("Unwritten tree changes were kept at the last exit: %1")
                         .arg(copies.join(", ")));
}

void TToolTrees::OpenEditDialog() {
  if (editDialog_) {
    editDialog_->raise();
    editDialog_->activateWindow();
    return;
  }
  const std::string file = window_.Paths().settingsFile;
  EditDialogState state;
  state.Load(file);
  auto* dialog = new TEditDialog(window_, state);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::finished, this, [this, dialog, file] {
    if (!dialog->State().Save(file))
      qWarning("Zelvora: the edit dialog's settings could not be written to %s", file.c_str());
    window_.SetDialogOpen(TrackedDialog::kItemEdit, nullptr);
  });
  editDialog_ = dialog;
  window_.RegisterDialog(dialog, kLayeredEdit);
  window_.SetDialogOpen(TrackedDialog::kItemEdit, dialog);
  dialog->show();
}

}  // namespace zelvora
