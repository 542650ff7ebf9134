// Extraction texts from arbitrary bytes filed into the Analysis tree: nothing crashes, the item
// list and the tree hold the same items, no item is filed twice into one folder, no "links" or
// "images" folder is left empty, and the root ends as the caret.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "FuzzCheck.h"
#include "core/shell/WindowState.h"
#include "core/tools/PageAnalysis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  // The first byte picks the options; the rest is the links text, then after a NUL the images.
  const std::uint8_t flags = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = rest.find('\0');
  zelvora::AnalysisTexts texts;
  texts.pageName = "Page";
  texts.links = rest.substr(0, split);
  if (split != std::string_view::npos)
    texts.images = rest.substr(split + 1);
  const bool empty = texts.Empty();

  zelvora::NameFromLinkHtml(texts.links, "http://u.example/");

  zelvora::AnalysisOptions options;
  options.dir = (flags & 1) != 0;
  options.closeFolders = (flags & 2) != 0;
  options.nameMax = (flags & 4) != 0 ? 3 : 100;
  // Mostly an empty keyword (everything passes); else a pattern taken from the images text.
  if ((flags & 8) != 0) {
    options.query.keyword = texts.images.substr(0, 8);
    options.query.url = (flags & 16) != 0;
    options.query.title = (flags & 32) != 0;
    options.query.regExp = (flags & 64) != 0;
  }

  zelvora::TTreeModel tree(zelvora::kToolAnalysis);
  const zelvora::AnalysisResult result =
      zelvora::BuildAnalysisTree(tree, std::move(texts), options, nullptr);
  Check(texts.Empty());
  if (empty) {
    Check(result == zelvora::AnalysisResult::kNothing && tree.ItemCount() == 0);
    return 0;
  }
  Check(result != zelvora::AnalysisResult::kNothing);
  const zelvora::TreeHandle root = tree.FirstTopLevel();
  Check(tree.Caret() == root && tree.NextSibling(root) == zelvora::kNoItem);
  Check(static_cast<std::size_t>(tree.Items().Count()) == tree.ItemCount());

  std::set<std::pair<zelvora::TreeHandle, std::string>> filed;
  for (zelvora::TreeHandle item = root; item != zelvora::kNoItem;
       item = tree.NextInPreOrder(item)) {
    const zelvora::TTreeItemRec* record = tree.Record(item);
    Check(record != nullptr);
    if (record->IsFolder) {
      Check(item == root || tree.Parent(item) == root || tree.FirstChild(item) != zelvora::kNoItem);
      continue;
    }
    Check(!tree.Name(item).empty());
    // Items with one name and URL may share a folder only when the tree cut their names alike.
    if (tree.Name(item).size() < zelvora::kTreeNameMax)
      Check(filed.emplace(tree.Parent(item), tree.Name(item) + '\t' + record->Value).second);
  }
  return 0;
}
