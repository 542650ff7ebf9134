#include <gtest/gtest.h>

#include "SettingsFileFixture.h"
#include "core/tools/DenyList.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

// The action for `url` and what the URL became.
std::pair<int, std::string> Check(std::string_view list, std::string url) {
  const int code = CheckDenyList(CompileDenyList(list), url);
  return {code, url};
}

// How entries are read is proven through matching below; what is left is the field syntax.
TEST(DenyListTest, CompilesFieldsFlagsAndComments) {
  const std::vector<DenyEntry> entries = CompileDenyList(
      "  ; a comment after blanks\r\n\r\nR14 a.b http://to.example/\n2abc\nr2\n3\tpat  \t \n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].code, 1);
  EXPECT_EQ(entries[0].pattern, "a.b");
  EXPECT_EQ(entries[0].replacement, "http://to.example/");
  EXPECT_EQ(entries[1].code, 2);
  EXPECT_EQ(entries[1].pattern, "abc");
  EXPECT_EQ(entries[2].code, 3);
  EXPECT_EQ(entries[2].pattern, "pat");
  for (const DenyEntry& entry : entries)
    EXPECT_NE(entry.compiled, nullptr) << entry.pattern;
  EXPECT_TRUE(CompileDenyList(" \r\n\t ").empty());
}

TEST(DenyListTest, FirstMatchingEntryDecides) {
  EXPECT_EQ(Check("", "http://a.example/"), (std::pair<int, std::string>{0, "http://a.example/"}));
  EXPECT_EQ(Check("r2 ^https?:/example", "https://example.com/x").first, 2);
  EXPECT_EQ(Check("r2 ^https?:/example", "ftp://example.com/x").first, 0);
  // A bare address lets the page through before a later entry could close it.
  EXPECT_EQ(Check("http://safe.example\n2 example", "http://safe.example/a").first, 0);
  EXPECT_EQ(Check("http://safe.example\n2 example", "http://other.example/a").first, 2);

  // Plain text matches literally, with "\" and doubled "/" read as one "/".
  const char* plain = "2 http://a.example\\b//c";
  EXPECT_EQ(Check(plain, "http://a.example/b/c/d").first, 2);
  EXPECT_EQ(Check(plain, " http:\\\\a.example\\\\b\\c ").first, 2);
  EXPECT_EQ(Check(plain, "http://a.example/bXc").first, 0);
  EXPECT_EQ(Check("3 a.b(c", "x/a.b(c").first, 3);
  EXPECT_EQ(Check("3 a.b(c", "x/aXb(c").first, 0);

  EXPECT_EQ(Check("4 evil http://safe.example/?q=\\x", "http://evil.example/"),
            (std::pair<int, std::string>{4, "http://safe.example/?q=\\x"}));
  EXPECT_EQ(Check("4 evil", "http://evil.example/"), (std::pair<int, std::string>{4, ""}));
  EXPECT_EQ(Check("9 evil", "http://evil.example/"),
            (std::pair<int, std::string>{9, "http://evil.example/"}));

  EXPECT_EQ(Check("r1 (\n2 evil", "http://evil.example/(").first, 2);
  EXPECT_EQ(Check("r evil\n3 evil", "http://evil.example/").first, 3);
  EXPECT_EQ(Check("1 evil x y\n3 evil", "http://evil.example/").first, 3);
}

TEST(DenyListTest, OddTextNeverBreaksTheList) {
  EXPECT_EQ(Check("1 a\r2 b\r3 c", "http://c/").first, 3);
  EXPECT_EQ(Check("1 \xff\xfe\n2 \xc3\xa9t\xc3\xa9", "http://x/\xc3\xa9t\xc3\xa9\xff").first, 2);
  EXPECT_EQ(Check("r1 \xff\n2 b", "http://b/").first, 2);
  const std::string longLine = "1 " + std::string(1 << 20, 'a');
  EXPECT_EQ(Check(longLine + "\n2 b", "http://b/").first, 2);
  EXPECT_EQ(CompileDenyList(longLine).size(), 1u);  // kept, even when too big to compile
}

class DenyListFileTest : public SettingsFileFixture {};

TEST_F(DenyListFileTest, SavesOnlyRealChangesWithCrLf) {
  const std::string path = (folder_ / std::string(kDenyListFileName)).string();
  EXPECT_EQ(ReadDenyList(path), "");
  ASSERT_TRUE(SaveDenyList(path, "1 a\n2 b\r3 c\r\n"));
  EXPECT_EQ(ReadDenyList(path), "1 a\r\n2 b\r\n3 c\r\n");

  // Surrounding blanks alone are not worth a write; a change of case is an edit.
  WriteRaw(std::string(kDenyListFileName), "1 A\r\n2 b\r\n3 c\n");
  ASSERT_TRUE(SaveDenyList(path, "  1 A\n2 b\r\n3 c  "));
  EXPECT_EQ(ReadDenyList(path), "1 A\r\n2 b\r\n3 c\n");
  ASSERT_TRUE(SaveDenyList(path, "1 a\n2 b\n3 c"));
  EXPECT_EQ(ReadDenyList(path), "1 a\r\n2 b\r\n3 c");

  EXPECT_FALSE(SaveDenyList((folder_ / "missing" / "x.txt").string(), "1 a"));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST(DenyListTest, OutcomesOfNavigationsAndCompletedDocuments) {
  const auto entries = CompileDenyList(
      "1 http://stop.example\r\n2 http://close.example\r\n3 http://popup.example\r\n"
      "4 http://old.example http://new.example/\r\n4 http://nowhere.example\r\n");
  EXPECT_EQ(DenyNavigation(entries, "http://stop.example/a", false).step, DenyStep::kStop);
  EXPECT_EQ(DenyNavigation(entries, "http://close.example/", false).step, DenyStep::kCloseTab);
  EXPECT_EQ(DenyNavigation(entries, "http://popup.example/", true).step, DenyStep::kCloseTab);
  EXPECT_EQ(DenyNavigation(entries, "http://popup.example/", false).step, DenyStep::kProceed);
  EXPECT_EQ(DenyNavigation(entries, "http://old.example/x", false),
            (DenyOutcome{DenyStep::kRedirect, "http://new.example/"}));
  EXPECT_EQ(DenyNavigation(entries, "http://nowhere.example/", false).step, DenyStep::kStop);
  EXPECT_EQ(DenyNavigation(entries, "http://fine.example/", true), DenyOutcome{});
  // After the document completed, stop and close-new take no part.
  EXPECT_EQ(DenyCompletedDocument(entries, "http://stop.example/a"), DenyOutcome{});
  EXPECT_EQ(DenyCompletedDocument(entries, "http://popup.example/"), DenyOutcome{});
  EXPECT_EQ(DenyCompletedDocument(entries, "http://close.example/").step, DenyStep::kCloseTab);
  EXPECT_EQ(DenyCompletedDocument(entries, "http://old.example/"),
            (DenyOutcome{DenyStep::kRedirect, "http://new.example/"}));
  EXPECT_EQ(DenyCompletedDocument(entries, "http://nowhere.example/").step, DenyStep::kStop);
}

}  // namespace
}  // namespace zelvora
