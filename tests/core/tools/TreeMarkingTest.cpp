#include <gtest/gtest.h>

#include "core/shell/WindowState.h"
#include "core/tools/TreeFile.h"
#include "core/tools/TreeMarking.h"

namespace zelvora {
namespace {

// A root folder with five items a..e, b and d marked.
class TreeMarkingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InsertTreeText(model_, "1,Root\r\n\tu\ta\r\n\tu\tb\r\n\tu\tc\r\n\tu\td\r\n\tu\te\r\n", false,
                   {}, nullptr);
    items_ = model_.Children(model_.FirstTopLevel());
    ASSERT_EQ(items_.size(), 5u);
    model_.ClearMarks();
    model_.SetMarked(items_[1], true);
    model_.SetMarked(items_[3], true);
  }

  std::string Marks() const {
    std::string marks;
    for (const TreeHandle item : items_) {
      marks += model_.IsMarked(item) ? model_.Name(item) : "-";
    }
    return marks;
  }

  std::vector<TreeHandle> Items(std::initializer_list<int> rows) const {
    std::vector<TreeHandle> handles;
    for (const int row : rows) {
      handles.push_back(items_[static_cast<std::size_t>(row)]);
    }
    return handles;
  }

  TTreeModel model_{kToolFavorite};
  std::vector<TreeHandle> items_;
  TTreeMarking marking_;
};

// What the view's test cannot see: a press on a marked item waits for the release, Ctrl leaves
// the caret alone, and Shift without an anchor marks the pressed item only.
TEST_F(TreeMarkingTest, PressesOnMarkedItemsWaitForTheRelease) {
  EXPECT_TRUE(marking_.PressItem(model_, items_[1], false, false));
  EXPECT_EQ(Marks(), "-b-d-");
  marking_.ReleaseWithoutDrag(model_, items_[1]);
  EXPECT_EQ(Marks(), "-b---");
  EXPECT_FALSE(marking_.PressItem(model_, items_[4], true, false));
  EXPECT_EQ(Marks(), "-b--e");
  EXPECT_EQ(model_.Caret(), items_[1]);

  marking_.PressEmpty(model_, false);
  marking_.PressItem(model_, items_[2], false, true);
  EXPECT_EQ(Marks(), "--c--");
}

TEST_F(TreeMarkingTest, APlainBandMarksWhatItCoversOnly) {
  marking_.BeginBand(model_, false, false);
  marking_.MoveBand(model_, Items({2, 3}));
  EXPECT_EQ(Marks(), "--cd-");
  marking_.MoveBand(model_, Items({2}));
  EXPECT_EQ(Marks(), "--c--");
  marking_.EndBand();
  EXPECT_FALSE(marking_.BandActive());
}

TEST_F(TreeMarkingTest, ACtrlBandTogglesWhileItCovers) {
  marking_.BeginBand(model_, true, false);
  marking_.MoveBand(model_, Items({0, 1, 2}));
  EXPECT_EQ(Marks(), "a-cd-");
  marking_.MoveBand(model_, Items({0}));
  EXPECT_EQ(Marks(), "ab-d-") << "items the band left get their marks back";
}

TEST_F(TreeMarkingTest, AShiftBandMakesCoveredMarksNew) {
  marking_.BeginBand(model_, false, true);
  marking_.MoveBand(model_, Items({0, 1}));
  EXPECT_EQ(Marks(), "ab-d-");
  marking_.MoveBand(model_, Items({0}));
  EXPECT_EQ(Marks(), "a--d-") << "b was covered, so it counts as new and goes with the band";
}

}  // namespace
}  // namespace zelvora
