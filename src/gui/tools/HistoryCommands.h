#pragma once

// The URL history on screen: every page records its visits in the store; the History page's
// search and lock pass, the history date dialog, the visited selections and "Delete(History
// too)" of the trees, and the privacy clean-up (history, cache, clipboard).

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

#include "core/shell/CommandDispatch.h"
#include "core/tools/HistorySearch.h"

namespace zelvora {

class TSDIMainWindow;
class TToolTrees;
class TMyContainerClass;
class THistoryDateDialog;

class THistoryCommands : public QObject {
  Q_OBJECT

 public:
  // Owns the window's history and clean-up commands for as long as the window lives, and opens
  // the store in the per-user folder.
  THistoryCommands(TSDIMainWindow& window, TToolTrees& trees);
  ~THistoryCommands() override;

  // The page's completed top-level loads and their titles go into the store.
  void PageCreated(TMyContainerClass& page);
  // Null when the store could not be opened.
  TUrlHistoryStore* Store() const { return store_.get(); }
  THistoryDateDialog* DateDialog() const;

 private:
  void OpenStore();
  void RunCommand(const CommandRoute& route);
  void RunCleanUp(const CommandRoute& route);
  void Search();
  void SelectVisits(VisitedSelection kind);
  void DeleteHistoryToo();
  void ShowDateDialog();
  // The dialog's unapplied range while it is open and changed, else the settings' range.
  VisitRangeTexts RangeTexts() const;
  std::optional<VisitRange> Range() const;

  TSDIMainWindow& window_;
  TToolTrees& trees_;
  std::unique_ptr<TUrlHistoryStore> store_;
  QPointer<THistoryDateDialog> dateDialog_;
};

}  // namespace zelvora
