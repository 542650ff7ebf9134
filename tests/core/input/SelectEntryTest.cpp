#include <gtest/gtest.h>

#include <string>

#include "SettingsFileFixture.h"
#include "core/input/DialogSettings.h"
#include "core/input/SelectEntry.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

class SelectEntryTest : public SettingsFileFixture {
 protected:
  std::string ListPath() const { return (folder_ / "Select.txt").string(); }
  std::string ListContent() const { return ReadWholeFile(ListPath()).value_or("<missing>"); }
};

TEST(EditSelectionTest, PlainEntriesWrapAndTemplatesExpandOnce) {
  SelectEntry entry{"e", "a\\sb%1", "\\n", false, false};
  EXPECT_EQ(EditSelection("x", entry), "a\\sb%1x\\n");

  entry.regExp = true;
  entry.front = "q=%1\\s\\t[%1]\\q";
  entry.back = "\\n%1";
  // The selection's own "%1" and "\n" are taken as they are, wherever it lands.
  EXPECT_EQ(EditSelection("w%1\\n", entry), "q=w%1\\n \t[w%1\\n]\\qw%1\\n\r\nw%1\\n");
  entry.front = "http://search.example/?q=";
  entry.back.clear();
  EXPECT_EQ(EditSelection("two words", entry), "http://search.example/?q=two words");

  EXPECT_EQ(EditSelection("", entry), "");
  entry.regExp = false;
  EXPECT_EQ(EditSelection("", entry), "");
}

TEST_F(SelectEntryTest, WritingCreatesTheListAndKeepsEverythingElse) {
  ASSERT_TRUE(WriteSelectEntry(ListPath(), {"Web", "http://a/?q=", "", true, false}).ok);
  EXPECT_EQ(ListContent(),
            "[.]\r\nSelect=\r\n[Web]\r\nFront=http://a/?q=\r\nBack=\r\nRegExp=1\r\nSource=0\r\n");

  WriteRaw("Select.txt",
           "; my entries\r\n[.]\r\nSelect=Two\r\n[One]\r\nFront=f1\r\n"
           "[Two]\r\nFront=old\r\nNote=mine\r\nRegExp=1\r\n[Three]\r\nBack=b3\r\n");
  FlushProfile(ListPath());
  ASSERT_TRUE(WriteSelectEntry(ListPath(), {"two", "new\nline", "<", false, true}).ok);
  EXPECT_EQ(ListContent(),
            "; my entries\r\n[.]\r\nSelect=Two\r\n[One]\r\nFront=f1\r\n"
            "[Two]\r\nFront=new line\r\nNote=mine\r\nRegExp=0\r\nBack=<\r\nSource=1\r\n"
            "[Three]\r\nBack=b3\r\n");
  const SelectEntry read = ReadSelectEntry(ListPath(), "Two");
  EXPECT_EQ(read.front, "new line");
  EXPECT_EQ(read.back, "<");
  EXPECT_FALSE(read.regExp);
  EXPECT_TRUE(read.source);

  // The current-entry section and names the file cannot hold are refused, the file untouched.
  const std::string before = ListContent();
  EXPECT_FALSE(WriteSelectEntry(ListPath(), {".", "x", "", false, false}).ok);
  EXPECT_FALSE(WriteSelectEntry(ListPath(), {"a]b", "x", "", false, false}).ok);
  EXPECT_FALSE(WriteSelectEntry(ListPath(), {"", "x", "", false, false}).ok);
  EXPECT_EQ(ListContent(), before);
}

TEST_F(SelectEntryTest, TheCurrentEntryIsTheNamedOneElseTheFirst) {
  WriteRaw("Select.txt",
           "[.]\r\nSelect=Second\r\n[First]\r\nFront=1\r\n"
           "[Second]\r\nFront=2\r\nBack=b\r\nRegExp=1\r\nSource=1\r\n");
  FlushProfile(ListPath());
  SelectEntry current = ReadCurrentSelectEntry(ListPath());
  EXPECT_EQ(current.name, "Second");
  EXPECT_EQ(current.back, "b");
  EXPECT_TRUE(current.regExp && current.source);

  // "Select" must match exactly; anything else falls back to the first entry.
  for (const char* select : {"second", "Gone", ""}) {
    WriteRaw("Select.txt", std::string("[.]\r\nSelect=") + select +
                               "\r\n[First]\r\nFront=1\r\nRegExp=2\r\n[Second]\r\nFront=2\r\n");
    FlushProfile(ListPath());
    current = ReadCurrentSelectEntry(ListPath());
    EXPECT_EQ(current.name, "First") << select;
    EXPECT_EQ(current.front, "1");
    EXPECT_FALSE(current.regExp);  // only 1 is on
  }

  // No entries, binary junk or no file at all: an entry without a name or texts.
  for (const std::string& bytes :
       {std::string("[.]\r\nSelect=x\r\n"), std::string("\x00\xff[\x01\r\n=\xfe", 9)}) {
    WriteRaw("Select.txt", bytes);
    FlushProfile(ListPath());
    current = ReadCurrentSelectEntry(ListPath());
    EXPECT_TRUE(current.name.empty() && current.front.empty() && current.back.empty());
  }
  current = ReadCurrentSelectEntry((folder_ / "none.txt").string());
  EXPECT_TRUE(current.name.empty() && current.front.empty() && !current.regExp);
  EXPECT_TRUE(ReadSelectEntry((folder_ / "none.txt").string(), "A").front.empty());
}

TEST_F(SelectEntryTest, DialogSettingsRoundTripAndBadValuesFallBack) {
  WriteRaw(
      "[SearchDialog]\r\nHighlightColor=00FF00\r\n"
      "[SelectDialog]\r\nAction=3\r\nBeforeAction=1\r\n");
  // A fresh file: forward, no position, the default widths.
  const SearchDialogSettings fresh = LoadSearchDialogSettings(path_);
  EXPECT_TRUE(fresh.searchForard);
  EXPECT_FALSE(fresh.x || fresh.y || fresh.wholeWordsOnly || fresh.matchCase);
  const SelectDialogSettings freshSelect = LoadSelectDialogSettings(path_);
  EXPECT_EQ(freshSelect.w, 400);
  EXPECT_EQ(freshSelect.editWidth, 100);

  ASSERT_TRUE(SaveSearchDialogSettings(path_, {-20, 300, false, true, true}));
  ASSERT_TRUE(SaveSelectDialogSettings(path_, {15, 25, 640, true, 180}));
  const SearchDialogSettings search = LoadSearchDialogSettings(path_);
  EXPECT_EQ(search.x, -20);
  EXPECT_EQ(search.y, 300);
  EXPECT_FALSE(search.searchForard);
  EXPECT_TRUE(search.wholeWordsOnly && search.matchCase);
  const SelectDialogSettings select = LoadSelectDialogSettings(path_);
  EXPECT_EQ(select.x, 15);
  EXPECT_EQ(select.y, 25);
  EXPECT_EQ(select.w, 640);
  EXPECT_TRUE(select.single);
  EXPECT_EQ(select.editWidth, 180);
  // Keys that other parts of the program keep in the same sections stay.
  EXPECT_EQ(ReadProfileString(path_, "SearchDialog", "HighlightColor", ""), "00FF00");
  EXPECT_EQ(ReadProfileString(path_, "SelectDialog", "Action", ""), "3");
  EXPECT_EQ(ReadProfileString(path_, "SelectDialog", "BeforeAction", ""), "1");

  WriteRaw(
      "[SearchDialog]\r\nx=left\r\ny=\r\nSearchForard=yes\r\nWholeWordsOnly=2\r\nMatchCase=on\r\n"
      "[SelectDialog]\r\nx=--3\r\nw=-5\r\nEditWidth=1000000000\r\nSingle=1x\r\n");
  const SearchDialogSettings badSearch = LoadSearchDialogSettings(path_);
  EXPECT_FALSE(badSearch.x || badSearch.y);
  EXPECT_TRUE(badSearch.searchForard);
  EXPECT_FALSE(badSearch.wholeWordsOnly || badSearch.matchCase);
  const SelectDialogSettings badSelect = LoadSelectDialogSettings(path_);
  EXPECT_FALSE(badSelect.x);
  EXPECT_FALSE(badSelect.single);
  // Widths are kept where the dialog stays usable and on a screen.
  EXPECT_GE(badSelect.w, 150);
  EXPECT_LE(badSelect.editWidth, 8000);
  EXPECT_GE(badSelect.editWidth, 100);
  WriteRaw("[SelectDialog]\r\nw=abc\r\nEditWidth=12abc\r\n");
  EXPECT_EQ(LoadSelectDialogSettings(path_).w, 400);
}

}  // namespace
}  // namespace zelvora
