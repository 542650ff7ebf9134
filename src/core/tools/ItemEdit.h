#pragma once

// Editing one item of a tool-panel tree by its name and value, as the item edit dialog does, and
// the dialog's own settings (section "EditDialog"): its three check boxes, its width and its
// position.

#include <optional>
#include <string>
#include <string_view>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

inline constexpr std::string_view kEditDialogSection = "EditDialog";

struct EditDialogState {
  static constexpr int kDefaultWidth = 400;

  // "ChangeNext": pending edits go to the next item selected.
  bool changeNext = false;
  // "Name" and "Url": the field keeps its text when another item is shown.
  bool keepName = false;
  bool keepValue = false;
  int w = kDefaultWidth;
  // Absent until the dialog was first closed: the caller places it.
  std::optional<int> x;
  std::optional<int> y;

  void Load(const std::string& settingsFile);
  bool Save(const std::string& settingsFile) const;
};

// Renames the item when `name` is not empty and differs from the old name case-sensitively; the
// list becomes modified. Returns whether the name changed.
bool RenameItem(TTreeModel& model, TreeHandle item, std::string_view name);
// Gives a non-folder the value when `value` is not empty and differs from the old one ignoring
// case. Returns whether the value changed.
bool ChangeItemValue(TTreeModel& model, TreeHandle item, std::string_view value);
// The item shown below `item` (a visible item) in the tree: into an open folder, else the next
// sibling of the item or of its nearest ancestor that has one; kNoItem after the last one.
TreeHandle ItemBelow(const TTreeModel& model, TreeHandle item);

}  // namespace zelvora
