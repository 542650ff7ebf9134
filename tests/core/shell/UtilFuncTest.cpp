#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <thread>

#include "SettingsFileFixture.h"
#include "core/shell/SafeFile.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

class UtilFuncTest : public SettingsFileFixture {
 protected:
  std::string Written() const { return ReadWholeFile(path_).value_or(""); }
};

TEST_F(UtilFuncTest, ReadsFollowTheFileSyntax) {
  WriteRaw(
      "\xEF\xBB\xBF"
      "Hidden=1\r\n[Config]\r\n  TabOpenMax \t=\t 20  \r\ntabopenmax=99\nQuoted=\"  padded  \"\n"
      "Inner=a\"b\"\n;Commented=1\n#Hash=2\nno equals sign here\n"
      "[config]\nSecond=1\nTabOpenMax=55\n");
  EXPECT_EQ(ReadProfileInt(path_, "CONFIG", "TABOPENMAX", -1), 20);
  // A comment, a line without "=" and a second section of the same name read as nothing.
  const std::pair<std::string_view, std::string_view> values[] = {
      {"Quoted", "  padded  "},     {"Inner", "a\"b\""}, {"Commented", "d"}, {"#Hash", "2"},
      {"no equals sign here", "d"}, {"Second", "d"},     {"", "d"}};
  for (const auto& [key, value] : values)
    EXPECT_EQ(ReadProfileString(path_, "Config", key, "d"), value) << key;
  EXPECT_EQ(ReadProfileString(path_, "", "Hidden", "d"), "d");
  EXPECT_EQ(ReadProfileString("", "Config", "TabOpenMax", "d"), "d");
  EXPECT_EQ(ReadProfileString(path_ + ".missing", "Config", "TabOpenMax", "d"), "d");
  EXPECT_EQ(ProfileSectionNames(path_), std::vector<std::string>{"Config"});
  EXPECT_EQ(ProfileKeyNames(path_, "config"),
            (std::vector<std::string>{"TabOpenMax", "Quoted", "Inner", "#Hash"}));

  EXPECT_EQ(ParseProfileInt("  -12abc", 5), -12);
  EXPECT_EQ(ParseProfileInt("abc", 5), 0);
  EXPECT_EQ(ParseProfileInt("", 5), 5);
  EXPECT_EQ(ParseProfileInt("99999999999999999999999", 5), INT_MAX);
  EXPECT_EQ(ParseProfileInt("-99999999999999999999999", 5), INT_MIN);
}

TEST_F(UtilFuncTest, ValuesAreCutLikeTheOldBuffersAndBadBytesKeepTheRestReadable) {
  const std::string huge(10 * 1024 * 1024, 'v');
  WriteRaw("[S]\nEmpty=\nWide=" + std::string(257, 'b') + "\xE6\x97\xA5" +
           "\nCaption=Back\\sto\\ttop\\n\n\xC3(\xFF\xFE garbage\n" + std::string("nul\0=2\n", 7) +
           "Huge=" + huge + "\r\nafter=\xE6\x97\n[[[\n=novalue\n[T]\nlast=3");
  EXPECT_EQ(ReadProfileInt(path_, "S", "Empty", 8), 8);
  EXPECT_EQ(ReadProfileString(path_, "S", "Empty", "dflt"), "dflt");
  EXPECT_EQ(ReadProfileString(path_, "S", "Huge", ""), std::string(259, 'v'));
  EXPECT_EQ(ReadProfileString(path_, "S", "Wide", ""), std::string(257, 'b'));
  EXPECT_EQ(ReadProfileText(path_, "S", "Caption", ""), "Back to\ttop\\n");
  EXPECT_EQ(ReadProfileString(path_, "S", "after", ""), "\xE6\x97");
  EXPECT_EQ(ReadProfileString(path_, "S", std::string("nul\0", 4), ""), "2");
  EXPECT_EQ(ReadProfileInt(path_, "T", "last", 0), 3);

  // A rewrite keeps what a read could not show.
  EXPECT_TRUE(WriteProfileInt(path_, "T", "last", 4));
  const std::string written = Written();
  EXPECT_NE(written.find("Huge=" + huge + "\r\n"), std::string::npos);
  EXPECT_NE(written.find("\xC3(\xFF\xFE garbage\r\n"), std::string::npos);
  EXPECT_EQ(ReadProfileInt(path_, "T", "last", 0), 4);
}

TEST_F(UtilFuncTest, WritesKeepEveryOtherLineAndPlaceNewKeys) {
  WriteRaw(
      "; settings\ngarbage \xFF line\n[ConfigDialog]\r\nTabOpenMAX = 20 \r\n  ; keep me\r\n"
      "Home=x\n\n\n[Rebar]\n; no keys yet\n\n");
  EXPECT_TRUE(WriteProfileInt(path_, "configdialog", "tabopenmax", -3));
  EXPECT_TRUE(WriteProfileString(path_, "ConfigDialog", "NewKey", "v"));
  EXPECT_TRUE(WriteProfileString(path_, "Rebar", "Band", "1"));
  EXPECT_TRUE(WriteProfileString(path_, "Zelvora", "Note", "two\r\nlines\nhere"));
  EXPECT_EQ(Written(),
            "; settings\r\ngarbage \xFF line\r\n[ConfigDialog]\r\nTabOpenMAX=-3\r\n  ; keep me\r\n"
            "Home=x\r\nNewKey=v\r\n\r\n\r\n[Rebar]\r\n; no keys yet\r\nBand=1\r\n\r\n"
            "[Zelvora]\r\nNote=two lines here\r\n");

  const std::string before = Written();
  for (const std::string_view key : {"a=b", "a\nb", " [x", ";x"})
    EXPECT_FALSE(WriteProfileString(path_, "S", key, "v")) << key;
  for (const std::string_view section : {"a]b", "a\rb", ""})
    EXPECT_FALSE(WriteProfileString(path_, section, "k", "v")) << section;
  EXPECT_EQ(Written(), before);
  EXPECT_FALSE(WriteProfileString((folder_ / "none" / "a.ini").string(), "S", "k", "v"));
  EXPECT_FALSE(fs::exists(folder_ / "none"));
}

TEST_F(UtilFuncTest, DeletesAndListsRemoveEveryDuplicate) {
  WriteRaw("[A]\nk=1\nK=2\nother=3\n[B]\nx=1\n[a]\nk=4\n");
  EXPECT_TRUE(DeleteProfileKey(path_, "A", "K"));
  EXPECT_EQ(ReadProfileInt(path_, "A", "k", -1), -1);
  EXPECT_EQ(ReadProfileInt(path_, "A", "other", -1), 3);
  EXPECT_TRUE(DeleteProfileSection(path_, "a"));
  EXPECT_EQ(Written(), "[B]\r\nx=1\r\n");

  // The old list buffers held 16384 characters: names that would not fit are left out.
  {
    ProfileUpdate batch(path_);
    for (int i = 0; i < 200; ++i)
      WriteProfileInt(path_, "Many", std::string(99, 'k') + std::to_string(1000 + i), i);
  }
  EXPECT_EQ(ProfileKeyNames(path_, "Many").size(), 16383u / 104u);
}

TEST_F(UtilFuncTest, ChangesByAnotherWriterAreSeen) {
  // Rewritten behind the cache's back and without telling it.
  const auto overwrite = [this](const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  };
  overwrite("[S]\nk=1\n");
  EXPECT_EQ(ReadProfileInt(path_, "S", "k", 0), 1);
  overwrite("[S]\nk=22\n");
  std::this_thread::sleep_for(kProfileRecheckInterval + std::chrono::milliseconds(20));
  EXPECT_EQ(ReadProfileInt(path_, "S", "k", 0), 22);

  // Same size, only the modification time tells.
  overwrite("[S]\nk=33\n");
  const struct timespec times[2] = {{0, UTIME_OMIT}, {1000, 5}};
  ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  EXPECT_TRUE(FlushProfile(path_));
  EXPECT_EQ(ReadProfileInt(path_, "S", "k", 0), 33);

  // A write looks at the disk first, so it never brings back an older copy.
  overwrite("[S]\nk=44\nother=5\n");
  EXPECT_TRUE(WriteProfileInt(path_, "S", "new", 6));
  EXPECT_EQ(Written(), "[S]\r\nk=44\r\nother=5\r\nnew=6\r\n");
}

TEST_F(UtilFuncTest, BatchWritesOnceAtTheOutermostEnd) {
  WriteRaw("[S]\nk=0\n");
  {
    ProfileUpdate outer(path_);
    EXPECT_TRUE(WriteProfileInt(path_, "S", "k", 1));
    {
      ProfileUpdate inner(path_);
      EXPECT_TRUE(WriteProfileInt(path_, "S", "j", 2));
    }
    EXPECT_EQ(Written(), "[S]\nk=0\n");
    EXPECT_TRUE(outer.Commit());
    EXPECT_EQ(Written(), "[S]\r\nk=1\r\nj=2\r\n");
  }
  ProfileUpdate batch(path_);
  EXPECT_TRUE(WriteProfileInt(path_, "S", "k", 7));
  EXPECT_TRUE(FlushProfile(path_));
  EXPECT_EQ(Written(), "[S]\r\nk=7\r\nj=2\r\n");
}

TEST_F(UtilFuncTest, FailedWritesLeaveTheFileAndTheCacheAlike) {
  WriteRaw("[S]\nk=old\n");
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;  // fails the write the way a full disk does
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool single = WriteProfileString(path_, "S", "k", std::string(10000, 'x'));
  ProfileUpdate batch(path_);
  WriteProfileString(path_, "S", "k", std::string(10000, 'y'));
  const bool committed = batch.Commit();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(single);
  EXPECT_FALSE(committed);
  EXPECT_TRUE(batch.Failed());
  EXPECT_FALSE(batch.ErrorText().empty());
  EXPECT_EQ(Written(), "[S]\nk=old\n");
  EXPECT_EQ(ReadProfileString(path_, "S", "k", ""), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
}

TEST_F(UtilFuncTest, ThreadsWritingTogetherLoseNothing) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < 10; ++i) {
        const char section[] = {'T', static_cast<char>('0' + t), '\0'};
        const char key[] = {'k', static_cast<char>('0' + i), '\0'};
        WriteProfileInt(path_, section, key, i);
        ReadProfileInt(path_, "T0", "k0", 0);
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  const std::string written = Written();  // every key reached the disk
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 44);
}

}  // namespace
}  // namespace zelvora
