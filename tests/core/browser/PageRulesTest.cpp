#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/browser/PageRules.h"

namespace zelvora {
namespace {

TEST(PageRulesTest, ProgressRoundsClampsAndHasNoStageWithoutATotal) {
  EXPECT_EQ(ComputeProgress(2, 3), (ProgressStage{67, 2}));   // 66.67 rounds up
  EXPECT_EQ(ComputeProgress(1, 200), (ProgressStage{1, 0}));  // 0.5 rounds away from zero
  EXPECT_EQ(ComputeProgress(24, 100), (ProgressStage{24, 1}));
  EXPECT_EQ(ComputeProgress(300, 100), (ProgressStage{100, 4}));
  EXPECT_EQ(ComputeProgress(-1, 100), (ProgressStage{-1, -1}));
  EXPECT_EQ(ComputeProgress(10, 0), (ProgressStage{-1, -1}));
  constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(ComputeProgress(kHuge / 2, kHuge), (ProgressStage{50, 2}));
}

TEST(PageRulesTest, CaptionsFallBackFromTitleToUrlToNoTitle) {
  const std::string longTitle(40, 'T');
  EXPECT_EQ(TitleChangeCaption(longTitle, "http://h/a", 10), std::string(10, 'T') + "...");
  EXPECT_EQ(TitleChangeCaption(longTitle, "http://h/a", -1), longTitle);
  EXPECT_EQ(TitleChangeCaption("", "http://h/a long url", 3), "http://h/a long url");

  EXPECT_EQ(PageCaption("Title", "http://h/a.htm", 20), "Title");
  EXPECT_EQ(PageCaption("", "http://h/dir/a.htm", 20), "a.htm");
  EXPECT_EQ(PageCaption("", "http://h/dir/", 20), "No Title");
  EXPECT_EQ(PageCaption("", "plain", 20), "plain");

  EXPECT_EQ(PageTitle("", "http://h/", 2), "No...");
  EXPECT_EQ(PageTitle("", "http://h/abcdef", 3), "abc...");
}

TEST(PageRulesTest, ToolTipJoinsTitleAndUrlWithCrLf) {
  EXPECT_EQ(TabToolTipText("Title", "http://h/a", 50), "Title\r\nhttp://h/a");
  EXPECT_EQ(TabToolTipText("", "http://h/a", 50), "http://h/a");
  EXPECT_EQ(TabToolTipText("Long Title", "http://h/abc", 4), "Long...\r\nhttp...");
}

TEST(PageRulesTest, TravelMenuNumbersItemsFromOneUpToTheListMax) {
  std::vector<TravelEntry> entries;
  for (int i = 0; i < 12; ++i)
    entries.push_back({"Title number " + std::to_string(i), "http://h/" + std::to_string(i)});
  entries[1].title.clear();

  const std::vector<TravelMenuItem> items = TravelMenuItems(entries, 5, 6);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[4].id, 5);
  EXPECT_EQ(items[0].caption, "Titlen...");
  EXPECT_EQ(items[1].caption, "http://h/1");  // the URL is never shortened
  EXPECT_EQ(TravelMenuItems(entries, 20, -1).size(), 12u);
  EXPECT_TRUE(TravelMenuItems(entries, 0, 10).empty());
  EXPECT_EQ(TravelOffset(true, 3), -3);
}

TEST(PageRulesTest, CharSizesFollowTheNearestZoomFactorAndCycle) {
  EXPECT_EQ(CharSizeOfZoom(1.14), 3);
  EXPECT_EQ(CharSizeOfZoom(3.0), 4);
  EXPECT_EQ(CharSizeOfZoom(1.1), 2);  // halfway between sizes 2 and 3
  EXPECT_EQ(CharSizeOfZoom(std::numeric_limits<double>::infinity()), 4);
  EXPECT_EQ(CharSizeOfZoom(std::nan("")), kCharSizeStandard);

  EXPECT_EQ(NextCharSize(4), 3);
  EXPECT_EQ(NextCharSize(0), 4);
  EXPECT_EQ(NextCharSize(5), kCharSizeStandard);
}

}  // namespace
}  // namespace zelvora
