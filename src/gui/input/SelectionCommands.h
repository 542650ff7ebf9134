#pragma once

// The selection actions: when the user ends a selection in a page, the selected text (or its
// HTML, by the current select entry's "Source") goes to the select dialog, the select menu pops
// up, or the select action runs at once: copy it, open it as an address, or first put the
// entry's "Front" and "Back" around it. Also the source commands of a selection (shown in a tab
// of its own, or copied) and the select dialog.

#include <QObject>
#include <QPointer>

#include "core/input/SelectEntry.h"
#include "core/shell/CommandDispatch.h"
#include "gui/input/SelectDialog.h"

namespace zelvora {

class TSDIMainWindow;
class TFindCommands;

class TSelectionCommands : public QObject {
  Q_OBJECT

 public:
  TSelectionCommands(TSDIMainWindow& window, TFindCommands& find);

  // Reads the current select entry from the select list (at start-up, once the file histories
  // are known).
  void LoadEntry();
  const SelectEntry& CurrentEntry() const { return current_; }
  TSelectDialog* Dialog() const { return dialog_.data(); }

 private:
  void RunCommand(const CommandRoute& route);
  void SelectionEnded();
  void Flow(const QString& text);
  void ShowSelectMenu(const QString& text);
  void Perform(const QString& text);
  void SetAction(int action);
  void SetBeforeAction(int beforeAction);
  void OpenDialog();
  // A new tab showing the text as it is, in a text area that fills the tab.
  void ShowTextArea(const QString& title, const QString& text);

  TSDIMainWindow& window_;
  TFindCommands& find_;
  SelectEntry current_;
  QPointer<TSelectDialog> dialog_;
};

}  // namespace zelvora
