#include <gtest/gtest.h>

#include "TreeQueries.h"
#include "core/shell/WindowState.h"
#include "core/tools/Favorites.h"

namespace zelvora {
namespace {

const TreeDefaults kDefaults;

TTreeModel Loaded(std::string_view text) {
  TTreeModel model(kToolFavorite);
  InsertTreeText(model, text, false, kDefaults, nullptr);
  return model;
}

void Mark(TTreeModel& model, std::initializer_list<std::string_view> names) {
  model.ClearMarks();
  for (const std::string_view name : names) {
    ASSERT_NE(Find(model, name), kNoItem) << name;
    model.SetMarked(Find(model, name), true);
  }
}

TEST(FavoritesTest, DeleteTakesOpenFoldersOnlyWhenNoChildIsLeft) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\tu\tFirst\r\n"
      "\t1,Kept\r\n"
      "\t\tu\tA1\r\n"
      "\t\tu\tA2\r\n"
      "\t1,Gone\r\n"
      "\t\t1,Inner\r\n"
      "\t\t\tu\tI1\r\n"
      "\t\tu\tG1\r\n"
      "\t0,Closed\r\n"
      "\t\tu\tHidden\r\n"
      "\tu\tLast\r\n");
  Mark(model, {"First", "Kept", "A1", "Gone", "Inner", "I1", "G1", "Closed"});
  model.SetCaret(Find(model, "I1"));
  TJobState job;
  DeleteMarked(model, &job);

  EXPECT_EQ(SerializeTree(model, nullptr),
            "1,Favorite\r\n"
            "\t1,Kept\r\n"
            "\t\tu\tA2\r\n"
            "\tu\tLast\r\n");
  EXPECT_EQ(model.Items().Count(), 4);
  // "First" had pre-order index 1; "Kept" holds it now and is the one selection left.
  EXPECT_EQ(model.Caret(), Find(model, "Kept"));
  EXPECT_EQ(MarkedNames(model), std::vector<std::string>{"Kept"});
  EXPECT_EQ(job.position, job.range);
}

TEST(FavoritesTest, DeletingEverythingKeepsTheFirstTopLevelItemSelected) {
  TTreeModel model = Loaded(
      "0,Favorite\r\n"
      "\t1,Open\r\n"
      "\t\tu\tA\r\n"
      "\tu\tB\r\n"
      "1,Second\r\n"
      "\tu\tC\r\n");
  for (TreeHandle item = model.FirstTopLevel(); item != kNoItem; item = model.NextInPreOrder(item))
    model.SetMarked(item, true);
  DeleteMarked(model, nullptr);

  EXPECT_EQ(SerializeTree(model, nullptr), "0,Favorite\r\n");
  EXPECT_EQ(model.Caret(), model.FirstTopLevel());
  EXPECT_EQ(MarkedNames(model), std::vector<std::string>{"Favorite"});
}

TEST(FavoritesTest, DeleteReportsEveryDeletedItemOnce) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\t0,Closed\r\n"
      "\t\tu1\tHidden\r\n"
      "\t\t1,Inner\r\n"
      "\t\t\tu2\tDeep\r\n"
      "\tu3\tLoose\r\n"
      "\tu4\tKept\r\n");
  // "Deep" is marked on its own and goes with its closed folder too.
  Mark(model, {"Closed", "Deep", "Loose"});
  std::vector<std::string> values;
  for (const TTreeItemRec& record : DeleteMarkedRecords(model, nullptr))
    values.push_back(record.Value);

  EXPECT_EQ(values, (std::vector<std::string>{"u1", "u2", "u3"}));
  EXPECT_EQ(SerializeTree(model, nullptr), "1,Favorite\r\n\tu4\tKept\r\n");
}

TEST(FavoritesTest, OpeningRespectsTheTabLimit) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\t1,Pages\r\n"
      "\t\tu1\tP1\r\n"
      "\t\t0,Sub\r\n"
      "\t\t\tu5\tInside\r\n"
      "\t\tu2\tP2\r\n"
      "\t\tu3\tP3\r\n"
      "\t\tu4\tP4\r\n"
      "\tu6\tOutside\r\n");
  // A caret folder stands for its children: 18 of 20 tabs open leaves room for two of them.
  model.SetCaret(Find(model, "Pages"));
  MarkLimit(model, 18, 20);
  EXPECT_EQ(MarkedNames(model), (std::vector<std::string>{"P1", "Sub"}));
  EXPECT_EQ(model.Caret(), Find(model, "P1"));
  // The folder takes no tab.
  EXPECT_EQ(ValuesToOpen(model, 18, 20), std::vector<std::string>{"u1"});

  model.SetCaret(Find(model, "P2"));
  MarkLimit(model, 0, 20);
  EXPECT_EQ(MarkedNames(model), (std::vector<std::string>{"P2", "P3", "P4"}));

  Mark(model, {"P1", "Sub", "P2", "P3", "P4", "Outside"});
  TTreeItemRec record;
  const int index = model.Items().IndexOfHandle(Find(model, "P2"));
  model.Items().Get(index, record);
  record.Value.clear();
  model.Items().Put(index, record);
  EXPECT_EQ(ValuesToOpen(model, 17, 20), (std::vector<std::string>{"u1", "u3", "u4"}));
  EXPECT_EQ(ValuesToOpen(model, 0, 20), (std::vector<std::string>{"u1", "u3", "u4", "u6"}));
  EXPECT_TRUE(ValuesToOpen(model, 20, 20).empty());
}

TEST(FavoritesTest, CopiesNamesAndValuesOfMarkedItems) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\t1,Folder\r\n"
      "\t\thttp://a/\tA\r\n"
      "\thttp://b/\tB\r\n");
  Mark(model, {"Folder", "A", "B"});
  TJobState job;
  EXPECT_EQ(CopyNamesAndValues(model, CopyKind::kBoth, &job),
            "A\r\nhttp://a/\r\nB\r\nhttp://b/\r\n");
  EXPECT_EQ(job.range, 3);
  EXPECT_EQ(CopyNamesAndValues(model, CopyKind::kNames, nullptr), "A\r\nB\r\n");
  EXPECT_EQ(CopyNamesAndValues(model, CopyKind::kValues, nullptr), "http://a/\r\nhttp://b/\r\n");
  job.stop = true;
  EXPECT_EQ(CopyNamesAndValues(model, CopyKind::kBoth, &job), "");
  Mark(model, {"Folder"});
  EXPECT_EQ(CopyNamesAndValues(model, CopyKind::kBoth, nullptr), "");
}

TEST(FavoritesTest, MoveLandsUnderTheTargetAndStaysMarked) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\t1,Source\r\n"
      "\t\tu\tA\r\n"
      "\t\tu\tB\r\n"
      "\t0,Target\r\n"
      "\tu\tC\r\n");
  // An open folder moves alone, keeping its marked child one level below it; its unmarked child
  // keeps it where it was.
  Mark(model, {"Source", "A", "C"});
  const TreeHandle target = Find(model, "Target");
  MoveMarked(model, Find(model, "A"), kDefaults, nullptr);
  EXPECT_EQ(model.Items().Count(), 6);
  MoveMarked(model, target, kDefaults, nullptr);

  EXPECT_EQ(SerializeTree(model, nullptr),
            "1,Favorite\r\n"
            "\t1,Source\r\n"
            "\t\tu\tB\r\n"
            "\t1,Target\r\n"
            "\t\t1,Source\r\n"
            "\t\t\tu\tA\r\n"
            "\t\tu\tC\r\n");
  EXPECT_EQ(MarkedNames(model), (std::vector<std::string>{"Source", "A", "C"}));
  EXPECT_EQ(model.Parent(model.MarkedItems().front()), target);
  EXPECT_EQ(model.Items().Count(), model.ItemCount());
}

TEST(FavoritesTest, FoldersOpenAndCloseTogetherAndMarkAllTakesWhatIsVisible) {
  TTreeModel model = Loaded(
      "0,Favorite\r\n"
      "\t1,Open\r\n"
      "\t\tu\tA\r\n"
      "\t\t1,Deep\r\n"
      "\t\t\tu\tD\r\n"
      "\tu\tB\r\n"
      "1,Second\r\n"
      "\tu\tC\r\n");
  SetAllFoldersOpen(model, false, nullptr);
  EXPECT_TRUE(model.IsOpen(model.FirstTopLevel()));
  EXPECT_FALSE(model.IsOpen(Find(model, "Open")));
  EXPECT_FALSE(model.IsOpen(Find(model, "Deep")));
  EXPECT_FALSE(model.IsOpen(Find(model, "Second")));
  MarkAllVisible(model);
  EXPECT_EQ(MarkedNames(model), (std::vector<std::string>{"Favorite", "Open", "B", "Second"}));

  SetAllFoldersOpen(model, true, nullptr);
  MarkAllVisible(model);
  EXPECT_EQ(model.MarkedItems().size(), model.ItemCount());
}

TEST(FavoritesTest, PagesGoAfterTheCaretInTabOrder) {
  TTreeModel model = Loaded(
      "1,Favorite\r\n"
      "\tu\tBefore\r\n"
      "\tu\tAfter\r\n");
  model.SetCaret(Find(model, "Before"));
  const std::vector<TreeHandle> added = AddPages(
      model,
      {{"A very long title", "http://x/a"}, {"", "http://x/dir/page.html"}, {"", "http://x/"}}, 10,
      kDefaults);
  ASSERT_EQ(added.size(), 3u);
  EXPECT_EQ(SerializeTree(model, nullptr),
            "1,Favorite\r\n"
            "\tu\tBefore\r\n"
            "\thttp://x/a\tAverylongt...\r\n"
            "\thttp://x/dir/page.html\tpage.html\r\n"
            "\thttp://x/\tNo Title\r\n"
            "\tu\tAfter\r\n");
  EXPECT_EQ(model.Caret(), added.back());
}

}  // namespace
}  // namespace zelvora
