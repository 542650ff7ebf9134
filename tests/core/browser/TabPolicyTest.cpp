#include <gtest/gtest.h>

#include "core/browser/TabPolicy.h"

namespace zelvora {
namespace {

TEST(TabPolicyTest, NewTabIndexFollowsTheRule) {
  EXPECT_EQ(NewTabIndex(5, -1, kNewFirst), 5);  // no current tab appends whatever the rule
  EXPECT_EQ(NewTabIndex(5, 2, kNewLast), 5);
  EXPECT_EQ(NewTabIndex(5, 2, kNewFirst), 0);
  EXPECT_EQ(NewTabIndex(5, 2, kNewRightOfCurrent), 3);
  EXPECT_EQ(NewTabIndex(5, 2, kNewLeftOfCurrent), 2);
  EXPECT_EQ(NewTabIndex(3, 7, kNewRightOfCurrent), 3);  // a stale index stays inside the strip
  EXPECT_TRUE(MayOpenTab(2, 3));
  EXPECT_FALSE(MayOpenTab(3, 3));
}

TEST(TabPolicyTest, TabAfterCloseByRule) {
  // Without an opener the second tab is chosen, unless that is the one closing.
  EXPECT_EQ(TabAfterClose(3, 5, kDelLeft, false, -1), 1);
  EXPECT_EQ(TabAfterClose(1, 5, kDelLeft, false, -1), -1);

  EXPECT_EQ(TabAfterClose(3, 5, kDelReturn, true, 1), 1);   // the opener is still open
  EXPECT_EQ(TabAfterClose(3, 5, kDelReturn, true, -1), 2);  // the opener closed before
  EXPECT_EQ(TabAfterClose(3, 5, kDelReturn, true, 3), 2);

  EXPECT_EQ(TabAfterClose(1, 5, kDelLast, true, 0), 4);
  EXPECT_EQ(TabAfterClose(0, 5, kDelLast, true, 2), 1);
  EXPECT_EQ(TabAfterClose(3, 5, kDelFirst, true, 2), 0);
  EXPECT_EQ(TabAfterClose(1, 3, kDelRight, true, 0), 2);
  EXPECT_EQ(TabAfterClose(2, 3, kDelRight, true, 0), 1);

  EXPECT_EQ(TabAfterClose(0, 1, kDelRight, true, 0), -1);   // nothing is left
  EXPECT_EQ(TabAfterClose(3, 5, kDelReturn, true, 9), -1);  // an opener index past the end
  EXPECT_EQ(TabAfterClose(5, 5, kDelLeft, true, 0), -1);    // not a tab at all
}

TEST(TabPolicyTest, CloseRangesAndStepping) {
  using R = std::vector<TabRange>;
  EXPECT_EQ(CloseRanges(CloseKind::kLeft, 2, 5), (R{{0, 1}}));
  EXPECT_EQ(CloseRanges(CloseKind::kRight, 2, 5), (R{{3, 4}}));
  EXPECT_EQ(CloseRanges(CloseKind::kExcluding, 2, 5), (R{{3, 4}, {0, 1}}));
  EXPECT_EQ(CloseRanges(CloseKind::kLeft, 0, 5), R{});
  EXPECT_EQ(CloseRanges(CloseKind::kExcluding, 0, 5), (R{{1, 4}}));
  EXPECT_EQ(CloseRanges(CloseKind::kLeft, -1, 5), R{});
  EXPECT_EQ(CloseRanges(CloseKind::kRight, -1, 5), (R{{0, 4}}));
  EXPECT_EQ(CloseRanges(CloseKind::kRight, 2, 2), R{});  // clicked past the end

  EXPECT_EQ(StepTab(2, 5, 1), 3);
  EXPECT_EQ(StepTab(4, 5, 1), 4);  // no wrapping at the ends
  EXPECT_EQ(StepTab(0, 0, 1), -1);
}

}  // namespace
}  // namespace zelvora
