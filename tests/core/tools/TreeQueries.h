#pragma once

// Lookups over a tree model shared by the tree tests.

#include <string>
#include <string_view>
#include <vector>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

// The first item of that name in pre-order; kNoItem when there is none.
inline TreeHandle Find(const TTreeModel& model, std::string_view name) {
  for (TreeHandle item = model.FirstTopLevel(); item != kNoItem; item = model.NextInPreOrder(item))
    if (model.Name(item) == name)
      return item;
  return kNoItem;
}

inline std::vector<std::string> MarkedNames(const TTreeModel& model) {
  std::vector<std::string> names;
  for (const TreeHandle item : model.MarkedItems())
    names.push_back(model.Name(item));
  return names;
}

}  // namespace zelvora
