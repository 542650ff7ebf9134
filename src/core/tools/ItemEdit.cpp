#include "core/tools/ItemEdit.h"

#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

bool ReadFlag(const std::string& file, std::string_view key) {
  return ReadProfileInt(file, kEditDialogSection, key, 0) == 1;
}

}  // namespace

void EditDialogState::Load(const std::string& settingsFile) {
  changeNext = ReadFlag(settingsFile, "ChangeNext");
  keepName = ReadFlag(settingsFile, "Name");
  keepValue = ReadFlag(settingsFile, "Url");
  w = ReadProfileInt(settingsFile, kEditDialogSection, "w", kDefaultWidth);
  x = ReadProfileOptionalInt(settingsFile, kEditDialogSection, "x");
  y = ReadProfileOptionalInt(settingsFile, kEditDialogSection, "y");
}

bool EditDialogState::Save(const std::string& settingsFile) const {
  ProfileUpdate update(settingsFile);
  bool accepted = true;
  const auto writeInt = [&](std::string_view key, int value) {
    accepted = WriteProfileInt(settingsFile, kEditDialogSection, key, value) && accepted;
  };
  writeInt("ChangeNext", changeNext ? 1 : 0);
  writeInt("Name", keepName ? 1 : 0);
  writeInt("Url", keepValue ? 1 : 0);
  writeInt("w", w);
  if (x)
    writeInt("x", *x);
  if (y)
    writeInt("y", *y);
  return update.Commit() && accepted;
}

bool RenameItem(TTreeModel& model, TreeHandle item, std::string_view name) {
  if (!model.Exists(item) || name.empty() || name == model.Name(item))
    return false;
  model.SetName(item, name);
  model.Items().Modified = true;
  return true;
}

bool ChangeItemValue(TTreeModel& model, TreeHandle item, std::string_view value) {
  const int index = model.Items().IndexOfHandle(item);
  if (index < 0 || value.empty())
    return false;
  TTreeItemRec record = model.Items().At(index);
  if (record.IsFolder || EqualsIgnoreCase(record.Value, value))
    return false;
  record.Value = value;
  // The list compares the values as well and becomes modified.
  model.Items().Put(index, record);
  return true;
}

TreeHandle ItemBelow(const TTreeModel& model, TreeHandle item) {
  if (!model.Exists(item))
    return kNoItem;
  if (model.IsOpen(item) && model.FirstChild(item) != kNoItem)
    return model.FirstChild(item);
  for (; item != kNoItem; item = model.Parent(item)) {
    if (const TreeHandle next = model.NextSibling(item); next != kNoItem)
      return next;
  }
  return kNoItem;
}

}  // namespace zelvora
