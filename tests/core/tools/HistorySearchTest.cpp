#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "TreeQueries.h"
#include "core/shell/WindowState.h"
#include "core/tools/HistorySearch.h"

namespace zelvora {
namespace {

const TreeDefaults kDefaults;
const std::array<std::string, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// A visit on December 2024 (local time).
std::int64_t December(int day, int hour, int minute, int second) {
  return LocalMilliseconds(LocalTime{2024, 12, day, hour, minute, second});
}

THistoryEntry Entry(std::string url, std::string title, std::int64_t visited,
                    bool notCached = false) {
  THistoryEntry entry;
  entry.Url = std::move(url);
  entry.Title = std::move(title);
  entry.LastVisited = visited;
  entry.NotCached = notCached;
  return entry;
}

HistoryFiling Filing(std::optional<VisitRange> range = std::nullopt) {
  HistoryFiling filing;
  filing.range = range;
  filing.weekdays = kWeekdays;
  return filing;
}

// The names of the items that are no folders, in display order.
std::vector<std::string> PageNames(const TTreeModel& tree) {
  std::vector<std::string> names;
  for (TreeHandle item = tree.FirstTopLevel(); item != kNoItem; item = tree.NextInPreOrder(item))
    if (!tree.IsFolder(item))
      names.push_back(tree.Name(item));
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// notCached, hour, minute, second of the item's visit stamp.
std::array<int, 4> StampOf(const TTreeModel& tree, std::string_view name) {
  const TTreeItemRec* record = tree.Record(Find(tree, name));
  if (record == nullptr)
    return {-1, -1, -1, -1};
  const TVisitStamp stamp = UnpackVisitStamp(record->VisitStamp);
  return {stamp.notCached, stamp.hour, stamp.minute, stamp.second};
}

std::pair<std::int64_t, std::int64_t> Bounds(const std::optional<VisitRange>& range) {
  return range ? std::pair(range->from, range->to) : std::pair<std::int64_t, std::int64_t>(-1, -1);
}

TEST(FileHistoryTest, FilesDaysHostsAndPagesNewestFirstWithTheirVisitStamps) {
  const std::vector<THistoryEntry> entries = {
      Entry("http://a.example/1", "A one", December(7, 10, 0, 2)),
      Entry("http://b.example/x", "", December(7, 10, 5, 4)),
      Entry("http://a.example/2", "A two", December(7, 11, 0, 6), true),
      Entry("file:///home/u/page.htm", "Local", December(7, 12, 0, 8), true),
      Entry("http://a.example/3", "A three", December(8, 9, 0, 10)),
  };
  TTreeModel tree(kToolHistory);
  InsertTreeText(tree, "1,Earlier search\r\n\tu\tstale\r\n", false, kDefaults, nullptr);
  TJobState job;
  EXPECT_EQ(FileHistory(tree, entries, Filing(), &job), 5);

  EXPECT_EQ(SerializeTree(tree, nullptr),
            "1,History\r\n"
            "\t1,12月7日(Sat)\r\n"
            "\t\t1,My Computer\r\n"
            "\t\t\tfile:///home/u/page.htm\tLocal\r\n"
            "\t\t1,b.example\r\n"
            "\t\t\thttp://b.example/x\thttp://b.example/x\r\n"
            "\t\t1,a.example\r\n"
            "\t\t\thttp://a.example/2\tA two\r\n"
            "\t\t\thttp://a.example/1\tA one\r\n"
            "\t1,12月8日(Sun)\r\n"
            "\t\t1,a.example\r\n"
            "\t\t\thttp://a.example/3\tA three\r\n");
  EXPECT_EQ(StampOf(tree, "A two"), (std::array<int, 4>{1, 11, 0, 6}));
  EXPECT_EQ(StampOf(tree, "A three"), (std::array<int, 4>{0, 9, 0, 10}));
  // The entry without a host loses its "not cached" mark.
  EXPECT_EQ(StampOf(tree, "Local"), (std::array<int, 4>{0, 12, 0, 8}));
  EXPECT_EQ(tree.Caret(), tree.FirstTopLevel());
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"History"});
  EXPECT_FALSE(tree.Items().Modified);
  EXPECT_EQ(job.position, 5);

  HistoryFiling closing = Filing();
  closing.closeFolders = true;
  FileHistory(tree, entries, closing, nullptr);
  for (TreeHandle item = tree.FirstTopLevel(); item != kNoItem; item = tree.NextInPreOrder(item)) {
    if (tree.IsFolder(item)) {
      EXPECT_EQ(tree.IsOpen(item), item == tree.FirstTopLevel()) << tree.Name(item);
    }
  }

  EXPECT_EQ(FileHistory(tree, {}, Filing(), nullptr), 0);
  EXPECT_EQ(tree.ItemCount(), 0u);
}

TEST(FileHistoryTest, AlwaysTodayKeepsTheVisitsInsideTodayOnly) {
  const std::vector<THistoryEntry> entries = {
      Entry("http://a.example/late", "late", December(6, 23, 59, 58)),
      Entry("http://a.example/midnight", "midnight", December(7, 0, 0, 0)),
      Entry("http://a.example/early", "early", December(7, 0, 0, 2)),
      Entry("http://a.example/last", "last", December(7, 23, 59, 58)),
      Entry("http://a.example/next", "next", December(8, 0, 0, 0)),
  };
  const std::optional<VisitRange> today =
      ParseVisitRange(VisitRangeTexts{}, LocalTime{2024, 12, 7, 15, 30, 0});
  ASSERT_TRUE(today);
  TTreeModel tree(kToolHistory);
  EXPECT_EQ(FileHistory(tree, entries, Filing(today), nullptr), 2);
  // A visit at the very start of the range is not in it.
  EXPECT_EQ(SerializeTree(tree, nullptr),
            "1,History\r\n"
            "\t1,12月7日(Sat)\r\n"
            "\t\t1,a.example\r\n"
            "\t\t\thttp://a.example/last\tlast\r\n"
            "\t\t\thttp://a.example/early\tearly\r\n");

  // A range that leaves every entry out still gives the root folder: entries were found.
  const std::optional<VisitRange> otherDay =
      ParseVisitRange(VisitRangeTexts{}, LocalTime{2024, 12, 1, 0, 0, 0});
  EXPECT_EQ(FileHistory(tree, entries, Filing(otherDay), nullptr), 0);
  EXPECT_EQ(SerializeTree(tree, nullptr), "1,History\r\n");
}

TEST(VisitRangeTest, DatesAndTimesBoundTheRangeEitherWayRound) {
  const LocalTime today{2024, 12, 7, 15, 30, 0};
  const std::optional<VisitRange> day =
      ParseVisitRange({false, "2024/12/07", "2024/12/07", "09:30", "18:00"}, today);
  const std::vector<THistoryEntry> entries = {
      Entry("http://a.example/from", "from", December(7, 9, 30, 0)),
      Entry("http://a.example/after", "after", December(7, 9, 30, 2)),
      Entry("http://a.example/before", "before", December(7, 18, 0, 58)),
      Entry("http://a.example/to", "to", December(7, 18, 1, 0)),
  };
  TTreeModel tree(kToolHistory);
  FileHistory(tree, entries, Filing(day), nullptr);
  EXPECT_EQ(PageNames(tree), (std::vector<std::string>{"before", "after"}));

  EXPECT_EQ(Bounds(ParseVisitRange({false, "2024/12/07", "2024/12/07", "18:00", "09:30"}, today)),
            Bounds(day));
  // Reversed dates cover the same whole days as the dates the right way round.
  const std::optional<VisitRange> days =
      ParseVisitRange({false, "2024/12/06", "2024/12/08", "", ""}, today);
  EXPECT_EQ(Bounds(ParseVisitRange({false, "2024/12/08", "2024/12/06", "", ""}, today)),
            Bounds(days));
  EXPECT_EQ(Bounds(days), std::pair(December(6, 0, 0, 0), December(8, 23, 59, 59) + 999));
  // Empty texts stand for today from 00:00 to 23:59.
  EXPECT_EQ(Bounds(ParseVisitRange({false, "", "", "", ""}, today)),
            Bounds(ParseVisitRange(VisitRangeTexts{}, today)));
  // The selections take whole days, whatever the times say.
  EXPECT_EQ(
      Bounds(SelectionVisitRange({false, "2024/12/08", "2024/12/06", "18:00", "09:30"}, today)),
      Bounds(days));

  for (const VisitRangeTexts& bad : std::vector<VisitRangeTexts>{
           {false, "2024-12-07", "2024/12/08", "", ""},
           {false, "2024/12/07", "2024/13/01", "", ""},
           {false, "2023/02/29", "2024/12/08", "", ""},
           {false, "99999999999/1/1", "2024/12/08", "", ""},
           {false, "2024/12/07", "2024/12/08", "9.30", ""},
           {false, "2024/12/07", "2024/12/08", "", "24:00"},
       }) {
    EXPECT_FALSE(ParseVisitRange(bad, today))
        << bad.dateFrom << " " << bad.dateTo << " " << bad.timeFrom << " " << bad.timeTo;
  }
}

TEST(LockItemsTest, MarksMatchingItemsByModeAndOpensTheirFolders) {
  TTreeModel tree(kToolHistory);
  InsertTreeText(tree,
                 "1,History\r\n"
                 "\t0,Alpha archive\r\n"
                 "\t\t0,example.com\r\n"
                 "\t\t\thttp://example.com/Alpha\tFirst page\r\n"
                 "\t\t\thttp://example.com/beta\tAlpha notes\r\n"
                 "\t1,other.org\r\n"
                 "\t\thttp://other.org/a+b\tgamma\r\n",
                 false, kDefaults, nullptr);
  const auto lock = [&](std::string keyword, bool url, bool title, bool regExp) {
    HistoryQuery query;
    query.keyword = std::move(keyword);
    query.url = url;
    query.title = title;
    query.regExp = regExp;
    return LockItems(tree, query, nullptr);
  };

  ASSERT_TRUE(lock("Alpha", true, false, false));
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"First page"});
  EXPECT_TRUE(tree.IsOpen(Find(tree, "Alpha archive")));
  EXPECT_TRUE(tree.IsOpen(Find(tree, "example.com")));
  EXPECT_EQ(tree.Caret(), Find(tree, "First page"));

  ASSERT_TRUE(lock("Alpha", false, true, false));
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"Alpha notes"});
  EXPECT_EQ(tree.Caret(), Find(tree, "Alpha notes"));
  ASSERT_TRUE(lock("Alpha", false, false, false));
  EXPECT_EQ(MarkedNames(tree), (std::vector<std::string>{"First page", "Alpha notes"}));
  ASSERT_TRUE(lock("Alpha", true, true, false));
  EXPECT_EQ(MarkedNames(tree), (std::vector<std::string>{"First page", "Alpha notes"}));
  // The lock pass matches case-sensitively, whatever the search is set to.
  ASSERT_TRUE(lock("alpha", false, false, false));
  EXPECT_TRUE(MarkedNames(tree).empty());

  ASSERT_TRUE(lock("a+b", true, false, false));
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"gamma"});
  ASSERT_TRUE(lock("a+b", true, false, true));
  EXPECT_TRUE(MarkedNames(tree).empty());
  ASSERT_TRUE(lock("^http://oth", true, false, true));
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"gamma"});

  EXPECT_FALSE(lock("", false, false, false));
  EXPECT_FALSE(lock("(", false, false, true));
  EXPECT_EQ(MarkedNames(tree), std::vector<std::string>{"gamma"});
}

// A store of its own in a fresh folder, removed afterwards.
class HistoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvora-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    TUrlHistoryStore::OpenReport report;
    store_ = TUrlHistoryStore::Open((folder_ / kHistoryDatabaseName).string(), report);
    ASSERT_TRUE(store_ != nullptr && report.ok) << report.error;
  }
  void TearDown() override {
    store_.reset();
    std::filesystem::remove_all(folder_);
  }

  void Visit(std::string_view url, std::string_view title, std::int64_t visited) {
    store_->RecordVisit(url, title, ToUnixMilliseconds(FromLocalMilliseconds(visited)), true);
    store_->Flush();
  }
  std::vector<std::string> StoredUrls() {
    TUrlHistory history(*store_);
    history.sortKey = TUrlHistory::kByUrl;
    history.Enumerate();
    std::vector<std::string> urls;
    for (const THistoryEntry& entry : history.entries)
      urls.push_back(entry.Url);
    return urls;
  }

  std::filesystem::path folder_;
  std::unique_ptr<TUrlHistoryStore> store_;
};

TEST_F(HistoryStoreTest, SearchFiltersByModeAndPattern) {
  Visit("http://a.example/abc", "Alpha", December(7, 10, 0, 2));
  Visit("http://a.example/a.c", "Dot", December(7, 10, 0, 4));
  Visit("http://b.example/ABC", "Upper", December(7, 10, 0, 6));
  Visit("http://c.example/", "Other", December(5, 9, 0, 0));
  TTreeModel tree(kToolHistory);
  const auto search = [&](std::string keyword, bool url, bool title, bool regExp,
                          bool caseInsensitive, std::optional<VisitRange> range = std::nullopt) {
    HistoryQuery query;
    query.keyword = std::move(keyword);
    query.url = url;
    query.title = title;
    query.regExp = regExp;
    query.caseInsensitive = caseInsensitive;
    return SearchHistory(*store_, tree, query, Filing(range), nullptr);
  };

  // Neither box: every entry of the range, whatever the keyword.
  const std::optional<VisitRange> range =
      ParseVisitRange({false, "2024/12/06", "2024/12/07", "", ""}, LocalTime{2024, 12, 7, 0, 0, 0});
  ASSERT_TRUE(search("zzz", false, false, false, true, range));
  EXPECT_EQ(PageNames(tree), (std::vector<std::string>{"Upper", "Dot", "Alpha"}));

  ASSERT_TRUE(search("a.c", true, false, false, false));
  EXPECT_EQ(PageNames(tree), std::vector<std::string>{"Dot"});
  ASSERT_TRUE(search("a.c", true, false, true, false));
  EXPECT_EQ(Sorted(PageNames(tree)), (std::vector<std::string>{"Alpha", "Dot"}));
  ASSERT_TRUE(search("a.c", true, false, true, true));
  EXPECT_EQ(Sorted(PageNames(tree)), (std::vector<std::string>{"Alpha", "Dot", "Upper"}));
  ASSERT_TRUE(search("^O", false, true, true, false));
  EXPECT_EQ(PageNames(tree), std::vector<std::string>{"Other"});
  ASSERT_TRUE(search("ALPHA", true, true, false, true));
  EXPECT_EQ(PageNames(tree), std::vector<std::string>{"Alpha"});

  EXPECT_FALSE(search("(", true, false, true, false));
  EXPECT_EQ(PageNames(tree), std::vector<std::string>{"Alpha"});
  ASSERT_TRUE(search("nowhere", true, true, false, false));
  EXPECT_EQ(tree.ItemCount(), 0u);
}

TEST_F(HistoryStoreTest, DeleteHistoryTooRemovesOnlyTheEntriesOfTheItemsVisitTimes) {
  Visit("http://a.example/p", "A", December(7, 10, 0, 2));
  Visit("http://b.example/Q", "B", December(7, 10, 0, 4));
  Visit("http://c.example/r", "C", December(7, 10, 0, 6));
  TTreeModel tree(kToolHistory);
  HistoryQuery everything;
  ASSERT_TRUE(SearchHistory(*store_, tree, everything, Filing(), nullptr));
  // A is visited again: its entry's last visit is no longer the one the item shows.
  Visit("http://a.example/p", "A", December(7, 11, 30, 0));
  // The item's URL differs from the entry's in case only.
  const int b = tree.Items().IndexOfHandle(Find(tree, "B"));
  TTreeItemRec record = tree.Items().At(b);
  record.Value = "HTTP://B.EXAMPLE/q";
  tree.Items().Put(b, record);
  // An item that the search did not make has no visit time.
  tree.SetCaret(Find(tree, "C"));
  AddTreeItem(tree, false, Find(tree, "C"), "http://c.example/r", "C copy", kDefaults);

  tree.ClearMarks();
  for (const std::string_view name : {"A", "B", "C copy"})
    tree.SetMarked(Find(tree, name), true);
  EXPECT_EQ(DeleteHistoryToo(tree, *store_, nullptr), 1);
  EXPECT_EQ(PageNames(tree), std::vector<std::string>{"C"});
  EXPECT_EQ(StoredUrls(), (std::vector<std::string>{"http://a.example/p", "http://c.example/r"}));
}

TEST_F(HistoryStoreTest, VisitedSelectionsTakeTheCaretAndItsSiblings) {
  Visit("http://a.example/p#top", "seen", December(7, 10, 0, 2));
  Visit("http://b.example/old", "old", December(1, 10, 0, 2));
  TTreeModel tree(kToolFavorite);
  InsertTreeText(tree,
                 "1,Favorite\r\n"
                 "\thttp://a.example/p?x=1\tSeen today\r\n"
                 "\thttp://b.example/old\tSeen before\r\n"
                 "\t1,Folder\r\n"
                 "\t\thttp://a.example/p\tNested\r\n"
                 "\thttp://n.example/\tNever\r\n",
                 false, kDefaults, nullptr);
  const std::optional<VisitRange> december7 = SelectionVisitRange(
      {false, "2024/12/07", "2024/12/07", "", ""}, LocalTime{2024, 12, 7, 0, 0, 0});
  const auto select = [&](std::string_view caret, VisitedSelection kind) {
    tree.SetCaret(Find(tree, caret));
    SelectByVisits(tree, *store_, kind, december7, nullptr);
    return MarkedNames(tree);
  };

  EXPECT_EQ(select("Favorite", VisitedSelection::kVisited),
            (std::vector<std::string>{"Seen today", "Seen before"}));
  EXPECT_EQ(tree.Caret(), Find(tree, "Seen today"));
  EXPECT_EQ(select("Favorite", VisitedSelection::kNotVisited), std::vector<std::string>{"Never"});
  EXPECT_EQ(tree.Caret(), Find(tree, "Never"));
  EXPECT_EQ(select("Favorite", VisitedSelection::kVisitedRange),
            std::vector<std::string>{"Seen today"});
  EXPECT_EQ(select("Favorite", VisitedSelection::kNotVisitedRange),
            (std::vector<std::string>{"Seen before", "Never"}));
  EXPECT_EQ(select("Seen before", VisitedSelection::kVisited),
            std::vector<std::string>{"Seen before"});
  EXPECT_EQ(select("Folder", VisitedSelection::kVisited), std::vector<std::string>{"Nested"});
}

}  // namespace
}  // namespace zelvora
