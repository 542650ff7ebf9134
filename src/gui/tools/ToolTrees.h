#pragma once

// The four trees of the tool panel (Favorite, History, Analysis, Proxy) with their files: the
// models and their views, the tree file commands (edit, open, write, write as, restore, new, the
// file histories), "Confirm Modified", the load at start-up and the check at exit, and the item
// edit dialog. Every long command runs as a job on the worker while its tree waits behind a grey
// picture.

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/input/ThemeTexts.h"
#include "core/shell/CommandDispatch.h"
#include "core/tools/HistorySearch.h"
#include "core/tools/TreeFile.h"

namespace zelvora {

class TEditDialog;
class TSDIMainWindow;
class TTreeView;

class TToolTrees : public QObject {
  Q_OBJECT

 public:
  // Owns the window's tree commands for as long as the window lives.
  explicit TToolTrees(TSDIMainWindow& window);
  ~TToolTrees() override;

  TTreeModel& Model(int tree) const { return *models_[Slot(tree)]; }
  TTreeView& View(int tree) const;
  // The item edit dialog while it is open.
  TEditDialog* EditDialog() const;

  // The end of start-up: each tree gets its root folder and the Proxy tree's file is read (the
  // Favorite tree's is read by the start-up job, command 3113).
  void StartUp();
  // Whether closing the window must first ask about a tree: one whose "Confirm Modified" is on
  // differs from its file.
  bool ExitCheckWanted() const;
  // Ended by a signal, the program cannot ask: each modified tree is written to its recovery copy.
  void WriteRecoveryCopies();
  // Applies "ToolTip" and "ToolTipCharMax" to the four views.
  void ApplySettings();

  // Runs `job` on the worker with every tree detached from its view and the current one behind
  // its grey picture; `finished` runs on this thread afterwards. False (with "busy :-)") while
  // another job runs.
  bool RunTreeJob(std::function<void(TJobState&)> job, std::function<void()> finished = {});
  // The lock pass as a job: the tree's items that the query matches are marked and shown.
  void RunLockPass(int tree, const HistoryQuery& query);

 private:
  static std::size_t Slot(int tree) { return static_cast<std::size_t>(tree); }
  void RunCommand(const CommandRoute& route, int id);
  int Page() const;
  bool NeedsConfirmation(int tree) const;
  std::string CurrentFile(int tree) const;
  // The question before a modified tree is left; true when the caller may go on. With a write it
  // writes first (the save dialog when the tree has no file).
  bool ConfirmModified(int tree);
  // The answer of the dialog, asked on this thread.
  int AskModified(int tree);
  void OpenFile(int tree);
  void ReadFile(int tree, const std::string& path);
  void WriteFile(int tree);
  void WriteFileAs(int tree);
  void NewTree(int tree);
  void OpenFromHistory(int tree, int entry);
  void CheckBeforeExit();
  // The save dialog of a tree file; empty when cancelled. ".dat" is added to a name without one.
  std::string AskWritePath(int tree);
  // After a read: the file becomes the tree's, joins the history and shows in the status bar.
  void TakeReadResult(int tree, const std::string& path, const TreeReadResult& result);
  void TakeWriteResult(int tree, const std::string& path, const TreeWriteResult& result);
  void ShowRecoveryNotes();
  // Opens the item edit dialog with its settings, or raises it when it is open.
  void OpenEditDialog();

  TSDIMainWindow& window_;
  std::array<std::unique_ptr<TTreeModel>, kToolPanelTreeCount> models_;
  TreeDefaults defaults_;
  QPointer<TEditDialog> editDialog_;
};

}  // namespace zelvora
