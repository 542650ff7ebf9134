#include <gtest/gtest.h>

#include "core/shell/WindowState.h"
#include "core/tools/ItemEdit.h"
#include "core/tools/TreeFile.h"
#include "core/tools/TreeMarking.h"

namespace zelvora {
namespace {

std::vector<std::string> NamesBelow(const TTreeModel& model) {
  std::vector<std::string> names;
  for (TreeHandle item = model.FirstTopLevel(); item != kNoItem; item = ItemBelow(model, item)) {
    names.push_back(model.Name(item));
  }
  return names;
}

std::vector<std::string> NamesOf(const TTreeModel& model, const std::vector<TreeHandle>& items) {
  std::vector<std::string> names;
  for (const TreeHandle item : items) {
    names.push_back(model.Name(item));
  }
  return names;
}

// Stepping down goes into open folders only, climbs out of a folder's last item as far as
// needed, and visits exactly what the tree shows.
TEST(ItemEditTest, StepsDownThroughTheVisibleItems) {
  TTreeModel model(kToolFavorite);
  InsertTreeText(model,
                 "1,Root\r\n"
                 "\t1,Open\r\n"
                 "\t\t1,Deep\r\n"
                 "\t\t\tu\tLast\r\n"
                 "\t0,Closed\r\n"
                 "\t\tu\tHidden\r\n"
                 "\t1,Empty\r\n"
                 "\tu\tEnd\r\n"
                 "1,Second\r\n"
                 "\tu\tTail\r\n",
                 false, {}, nullptr);
  const std::vector<std::string> expected = {"Root",  "Open", "Deep",   "Last", "Closed",
                                             "Empty", "End",  "Second", "Tail"};
  EXPECT_EQ(NamesBelow(model), expected);
  EXPECT_EQ(NamesOf(model, VisibleItems(model)), expected);
}

}  // namespace
}  // namespace zelvora
