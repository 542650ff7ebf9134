// Tree text from arbitrary bytes, pasted into a tree, written out and read back: nothing crashes,
// the item list and the tree always hold the same items, every line written comes back as one
// item, and removing marked items leaves both consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "core/tools/TreeFile.h"

namespace {

void CheckConsistent(const zelvora::TTreeModel& model) {
  const zelvora::TTreeViewItemList& items = model.Items();
  Check(static_cast<std::size_t>(items.Count()) == model.ItemCount());
  for (int i = 0; i < items.Count(); ++i) {
    const zelvora::TreeHandle item = items.At(i).Handle;
    Check(model.Exists(item));
    Check(items.IndexOfHandle(item) == i);
    const std::vector<zelvora::TreeHandle>& siblings = model.Children(model.Parent(item));
    const int row = model.Row(item);
    Check(row >= 0 && static_cast<std::size_t>(row) < siblings.size() &&
          siblings[static_cast<std::size_t>(row)] == item);
  }
}

std::size_t LineCount(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2))
    ++lines;
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  // The first byte picks the tree and whether the paste takes the focus.
  const int tree = data[0] % 4;
  const bool focus = (data[0] & 4) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const zelvora::TreeDefaults defaults;

  zelvora::TTreeModel model(tree);
  zelvora::InsertTreeText(model, text, focus, defaults, nullptr);
  CheckConsistent(model);
  // A second paste lands at the caret the first one left.
  zelvora::InsertTreeText(model, text, !focus, defaults, nullptr);
  CheckConsistent(model);

  const std::string body = zelvora::SerializeTree(model, nullptr);
  Check(LineCount(body) == model.ItemCount());
  zelvora::TTreeModel reread(tree);
  zelvora::InsertTreeText(reread, body, false, defaults, nullptr);
  CheckConsistent(reread);
  Check(reread.ItemCount() == model.ItemCount());

  // Every item marked: each is written exactly once, closed folders' subtrees included.
  for (zelvora::TreeHandle item = model.FirstTopLevel(); item != zelvora::kNoItem;
       item = model.NextInPreOrder(item))
    model.SetMarked(item, true);
  const std::optional<std::string> selection = zelvora::SerializeSelection(model, nullptr);
  Check(selection.has_value() == (model.ItemCount() > 0));
  if (selection)
    Check(LineCount(*selection) == model.ItemCount());

  // Remove every other item in record order; items inside removed folders go with them.
  std::vector<zelvora::TreeHandle> doomed;
  for (int i = 0; i < model.Items().Count(); i += 2)
    doomed.push_back(model.Items().At(i).Handle);
  model.DeleteItems(doomed);
  CheckConsistent(model);
  for (const zelvora::TreeHandle item : doomed)
    Check(!model.Exists(item));
  Check(model.Caret() == zelvora::kNoItem || model.Exists(model.Caret()));
  return 0;
}
