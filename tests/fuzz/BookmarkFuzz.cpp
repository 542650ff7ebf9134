// A bookmark file of arbitrary bytes read into a tree, exported and read back: nothing crashes,
// the export brings back as many items as the first reading made, and exporting every item marked
// writes what exporting the whole tree writes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/shell/WindowState.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/TreeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  const zelvora::TreeDefaults defaults;

  zelvora::TTreeModel model(zelvora::kToolFavorite);
  zelvora::InsertTreeText(model, zelvora::BookmarksToTreeText(html), false, defaults, nullptr);
  const std::string exported = zelvora::TreeToBookmarks(model, true);

  zelvora::TTreeModel reread(zelvora::kToolFavorite);
  zelvora::InsertTreeText(reread, zelvora::BookmarksToTreeText(exported), false, defaults, nullptr);
  Check(reread.ItemCount() == model.ItemCount());

  for (zelvora::TreeHandle item = model.FirstTopLevel(); item != zelvora::kNoItem;
       item = model.NextInPreOrder(item))
    model.SetMarked(item, true);
  Check(zelvora::TreeToBookmarks(model, false) == exported);
  return 0;
}
