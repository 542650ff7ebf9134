#include <gtest/gtest.h>

#include <filesystem>

#include "SettingsFileFixture.h"
#include "core/tools/KeywordList.h"

namespace zelvora {
namespace {

using Items = std::vector<std::string>;

TKeywordList Typed(Items items, std::string text, int selected = -1) {
  TKeywordList list;
  list.items = std::move(items);
  list.text = std::move(text);
  list.selected = selected;
  list.changed = true;
  return list;
}

TEST(KeywordListTest, AddTakesTypedText) {
  TKeywordList moved = Typed({"x", "y", "ABC", "z"}, "abc", 3);
  moved.Add(10);
  EXPECT_EQ(moved.items, (Items{"abc", "x", "y", "z"}));
  EXPECT_EQ(moved.selected, 0);
  EXPECT_FALSE(moved.changed);

  TKeywordList full = Typed({"c", "b", "a"}, "new", 2);
  full.Add(3);
  EXPECT_EQ(full.items, (Items{"new", "c", "b"}));
  EXPECT_EQ(full.selected, -1);  // the selected oldest item fell off

  TKeywordList shifted = Typed({"c", "b", "a"}, "new", 1);
  shifted.Add(0);
  EXPECT_TRUE(shifted.items.empty());  // a maximum of 0 keeps nothing
  EXPECT_EQ(shifted.selected, -1);
  TKeywordList kept = Typed({"c", "b", "a"}, "new", 1);
  kept.Add(5);
  EXPECT_EQ(kept.selected, 2);
  EXPECT_EQ(kept.items[2], "b");

  TKeywordList firstSelected = Typed({"one", "Two", "three"}, "TWO", 0);
  firstSelected.Add(2);
  EXPECT_EQ(firstSelected.items, (Items{"one", "Two"}));
  EXPECT_EQ(firstSelected.selected, 0);

  TKeywordList unchanged = Typed({"a"}, "b");
  unchanged.changed = false;
  unchanged.Add(5);
  EXPECT_EQ(unchanged.items, (Items{"a"}));
  TKeywordList empty = Typed({"a"}, "");
  empty.Add(5);
  EXPECT_EQ(empty.items, (Items{"a"}));
  EXPECT_FALSE(empty.changed);  // an emptied box shows the program's text again
}

TEST(KeywordListTest, DeleteAndSelect) {
  TKeywordList list = Typed({"a", "b", "c"}, "typed", 2);
  list.DeleteSelected();
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(list.text, "b");
  list.Select(0);
  EXPECT_EQ(list.text, "a");
  list.DeleteSelected();
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.text, "b");
  list.DeleteSelected();
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_EQ(list.text, "");

  TKeywordList outside = Typed({"a"}, "t", 1);
  outside.DeleteSelected();
  outside.Select(1);
  outside.Select(-1);
  EXPECT_EQ(outside.items, (Items{"a"}));
  EXPECT_EQ(outside.text, "t");
  EXPECT_TRUE(outside.changed);
  outside.Select(0);
  EXPECT_FALSE(outside.changed);
}

class KeywordFileTest : public SettingsFileFixture {
 protected:
  std::string File(const std::string& name) const { return (folder_ / name).string(); }
};

TEST_F(KeywordFileTest, LoadsAndSavesLines) {
  WriteRaw("k.txt", "cr\rlf\ncrlf\r\n\r\n\n  \r\xff\xfe bad\r\n\rlast");
  TKeywordList list = Typed({"old"}, "typed", 0);
  ASSERT_TRUE(list.Load(File("k.txt")));
  EXPECT_EQ(list.items, (Items{"cr", "lf", "crlf", "  ", "\xff\xfe bad", "last"}));
  EXPECT_EQ(list.selected, -1);
  EXPECT_EQ(list.text, "typed");

  ASSERT_TRUE(list.Save(File("copy.txt")).ok);
  TKeywordList copy;
  ASSERT_TRUE(copy.Load(File("copy.txt")));
  EXPECT_EQ(copy.items, list.items);
  TKeywordList none;
  ASSERT_TRUE(none.Save(File("none.txt")).ok);
  EXPECT_EQ(std::filesystem::file_size(File("none.txt")), 0u);

  const std::string huge(1 << 20, 'q');
  WriteRaw("huge.txt", "a\n" + huge + "\nb");
  ASSERT_TRUE(list.Load(File("huge.txt")));
  EXPECT_EQ(list.items, (Items{"a", huge, "b"}));

  EXPECT_FALSE(list.Load(File("missing.txt")));
  EXPECT_EQ(list.items.size(), 3u);
}

TEST(KeywordListTest, CommandIdsDecodeToTheirListAndAction) {
  EXPECT_EQ(KeywordListOf(4), nullptr);
  // The ids fill the run 3239 to 3267 that the dispatcher hands to the keyword boxes.
  EXPECT_EQ(KeywordCommandId(kListHistoryKey, KeywordAction::kDelete), 3239);
  EXPECT_EQ(KeywordCommandId(4, KeywordAction::kEdit), -1);
  for (int list : {0, 1, 2, 3, 5}) {
    for (int action = 0; action < 4; ++action) {
      const KeywordCommand command{list, static_cast<KeywordAction>(action)};
      EXPECT_EQ(DecodeKeywordCommand(KeywordCommandId(list, command.action)), command);
    }
  }
  for (int id : {3238, 3243, 3258, 3259, 3262, 3263, 3268})
    EXPECT_EQ(DecodeKeywordCommand(id), std::nullopt) << id;
}

TEST_F(KeywordFileTest, SearchList) {
  WriteRaw("[Web]\r\nFront=http://s/?q=\r\nBack=&x\r\n[.]\r\nSelect=News\r\n[News]\r\n[Wiki]\r\n");
  SearchList list = ReadSearchList(path_);
  EXPECT_EQ(list.entries, (Items{"Web", "News", "Wiki"}));
  EXPECT_EQ(list.selected, 1);
  const SearchEntry web = ReadSearchEntry(path_, "Web");
  EXPECT_EQ(SearchUrl(web, "a b"), "http://s/?q=a b&x");
  EXPECT_EQ(SearchUrl(ReadSearchEntry(path_, "Wiki"), "k"), "k");

  ASSERT_TRUE(WriteSearchSelect(path_, "Wiki"));
  EXPECT_EQ(ReadSearchList(path_).selected, 2);
  ASSERT_TRUE(WriteSearchSelect(path_, "wiki"));
  EXPECT_EQ(ReadSearchList(path_).selected, 0);
  WriteRaw("[Only]\r\n[ . ]\r\nSelect=Gone\r\n");
  list = ReadSearchList(path_);
  EXPECT_EQ(list.entries, (Items{"Only"}));
  EXPECT_EQ(list.selected, 0);

  // "Write as" onto the current file keeps it; onto another name copies it.
  ASSERT_TRUE(WriteSearchListAs(path_, path_).ok);
  EXPECT_EQ(ReadSearchList(path_).entries, (Items{"Only"}));
  ASSERT_TRUE(WriteSearchListAs(path_, File("copy.ini")).ok);
  EXPECT_EQ(ReadSearchList(File("copy.ini")).entries, (Items{"Only"}));
  ASSERT_TRUE(WriteSearchListAs(File("missing.ini"), path_).ok);
  list = ReadSearchList(path_);
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.selected, -1);
}

TEST(KeywordListTest, RegexCheckMessage) {
  const std::array<std::string, 3> messages = {"close it", "'[' at %1 (%1)", ") at %1"};
  EXPECT_EQ(RegexCheckMessage(0, 4, messages), "");
  EXPECT_EQ(RegexCheckMessage(2, 12, messages), "'[' at 12 (12)");
  EXPECT_EQ(RegexCheckMessage(4, 7, messages), "");
}

}  // namespace
}  // namespace zelvora
