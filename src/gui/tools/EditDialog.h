#pragma once

// The item edit dialog: the name and the value of the item last selected in the current tree,
// each field with a check box that keeps its text while other items are shown and with
// "<Reload>" and "<Apply>" buttons; "Chang&e Next" hands the pending edits on to the next item
// selected. A modeless tool window of the main window that follows the current tree's caret.

#include <QDialog>
#include <array>

#include "core/tools/ItemEdit.h"

class QCheckBox;
class QLineEdit;

namespace zelvora {

class TSDIMainWindow;

class TEditDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the current tree's caret item at once.
  TEditDialog(TSDIMainWindow& window, const EditDialogState& state);

  // An item was selected (or released on) in `tree`; items of a tree that is not the current one
  // are passed over. With "Chang&e Next" checked the pending edits go to the item first.
  void ShowItem(int tree, TreeHandle item);
  // The check boxes, the width and the position, as the settings keep them.
  EditDialogState State() const;

 protected:
  // Enter and F5 in the fields.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum Field : int { kNameField = 0, kValueField = 1 };

  TTreeModel& Model(int tree) const;
  // The tree's model may be read here: no job has it (its view is attached).
  bool Readable(int tree) const;
  // The item becomes the one shown; the fields whose check box is clear are filled from it.
  void Take(int tree, TreeHandle item);
  // Another tree became the current one: with "Chang&e Next" the pending edits go to the item
  // shown before, then the new tree's caret item is shown.
  void SwitchTree(int tree);
  void Fill(Field field);
  // The field's text goes to the item when it was edited since it was last filled and no job
  // runs.
  void ApplyTo(Field field, int tree, TreeHandle item);
  void ApplyBoth();
  // Enter: both fields applied, then the tree's caret one item down.
  void ApplyAndMoveDown();

  TSDIMainWindow& window_;
  std::array<QLineEdit*, 2> fields_{};
  std::array<QCheckBox*, 2> keep_{};
  QCheckBox* changeNext_ = nullptr;
  int tree_ = -1;
  TreeHandle item_ = kNoItem;
};

}  // namespace zelvora
