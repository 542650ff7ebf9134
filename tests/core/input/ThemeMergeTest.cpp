#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/input/ThemeMerge.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

class ThemeMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zelvora-merge-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    theme_ = (folder_ / "Deutsch.txt").string();
    default_ = (folder_ / "Zelvora.txt").string();
  }
  void TearDown() override {
    FlushProfile(theme_);
    fs::remove_all(folder_);
  }
  void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    FlushProfile(path);
  }
  static std::string Content(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
  }

  fs::path folder_;
  std::string theme_;
  std::string default_;
};

TEST_F(ThemeMergeTest, FillsOnlyMissingOrEmptyKeysOfTheMergedSections) {
  Write(default_,
        "[Button]\r\nStopAll=Stop All\r\nBack=Back\r\n"
        "[Menu]\r\nWebBack=&Back\r\nFileMenu=&File\r\nNothing=\r\nFileOpen=&Open\\tCtrl+O\r\n"
        "[ControlLabel]\r\nHour=Hour\r\n"
        "[ShortCutKey]\r\nWebBack=Alt+Left\r\n"
        "[Message]\r\n0=RegularExpression\r\n");
  Write(theme_,
        "; my translation\r\n[Menu]\r\nwebback=&Zur\xC3\xBC"
        "ck\r\nFileMenu=\r\n"
        "[Button]\r\nBack=Zur\xC3\xBC"
        "ck\r\n[Private]\r\nKeep=1\r\n");

  const ThemeMergeResult result = MergeTheme(theme_, default_);
  EXPECT_TRUE(result.done);
  EXPECT_EQ(result.copiedKeys, 4);
  EXPECT_EQ(ReadProfileString(theme_, "Menu", "WebBack", ""),
            "&Zur\xC3\xBC"
            "ck");
  EXPECT_EQ(ReadProfileString(theme_, "Menu", "FileMenu", ""), "&File");
  EXPECT_EQ(ReadProfileString(theme_, "Menu", "FileOpen", ""), "&Open\\tCtrl+O");
  EXPECT_EQ(ReadProfileString(theme_, "Button", "Back", ""),
            "Zur\xC3\xBC"
            "ck");
  EXPECT_EQ(ReadProfileString(theme_, "Button", "StopAll", ""), "Stop All");
  EXPECT_EQ(ReadProfileString(theme_, "ControlLabel", "Hour", ""), "Hour");
  EXPECT_EQ(ProfileKeyNames(theme_, "Menu"),
            (std::vector<std::string>{"webback", "FileMenu", "FileOpen"}));
  EXPECT_TRUE(ProfileKeyNames(theme_, "ShortCutKey").empty());
  EXPECT_TRUE(ProfileKeyNames(theme_, "Message").empty());
  EXPECT_EQ(ReadProfileString(theme_, "Private", "Keep", ""), "1");

  const std::string merged = Content(theme_);
  EXPECT_EQ(merged.rfind("; my translation\r\n", 0), 0u);
  const ThemeMergeResult again = MergeTheme(theme_, default_);
  EXPECT_TRUE(again.done);
  EXPECT_EQ(again.copiedKeys, 0);
  EXPECT_EQ(Content(theme_), merged);
}

TEST_F(ThemeMergeTest, NeedsBothFiles) {
  Write(default_, "[Menu]\r\nWebBack=&Back\r\n");
  EXPECT_FALSE(MergeTheme(theme_, default_).done);
  EXPECT_FALSE(fs::exists(theme_));

  Write(theme_, "[Menu]\r\n");
  fs::remove(default_);
  FlushProfile(default_);
  const ThemeMergeResult result = MergeTheme(theme_, default_);
  EXPECT_FALSE(result.done);
  EXPECT_EQ(result.copiedKeys, 0);
  EXPECT_EQ(Content(theme_), "[Menu]\r\n");
  EXPECT_FALSE(MergeTheme("", default_).done);
}

}  // namespace
}  // namespace zelvora
