#include <gtest/gtest.h>

#include "SettingsFileFixture.h"
#include "core/input/ThemeMerge.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

// The fixture's file is the theme being completed; "Zelvora.txt" beside it the default theme.
class ThemeMergeTest : public SettingsFileFixture {
 protected:
  void SetUp() override {
    SettingsFileFixture::SetUp();
    default_ = (folder_ / "Zelvora.txt").string();
  }
  void Write(const std::string& path, const std::string& bytes) {
    WriteRaw(fs::path(path).filename().string(), bytes);
    FlushProfile(path);
  }
  static std::string Content(const std::string& path) { return ReadWholeFile(path).value_or(""); }

  std::string default_;
};

TEST_F(ThemeMergeTest, FillsOnlyMissingOrEmptyKeysOfTheMergedSections) {
  Write(default_,
        "[Button]\r\nStopAll=Stop All\r\nBack=Back\r\n"
        "[Menu]\r\nWebBack=&Back\r\nFileMenu=&File\r\nNothing=\r\nFileOpen=&Open\\tCtrl+O\r\n"
        "[ControlLabel]\r\nHour=Hour\r\n"
        "[ShortCutKey]\r\nWebBack=Alt+Left\r\n"
        "[Message]\r\n0=RegularExpression\r\n");
  Write(path_,
        "; my translation\r\n[Menu]\r\nwebback=&Zurück\r\nFileMenu=\r\n"
        "[Button]\r\nBack=Zurück\r\n[Private]\r\nKeep=1\r\n");

  const ThemeMergeResult result = MergeTheme(path_, default_);
  EXPECT_TRUE(result.done);
  EXPECT_EQ(result.copiedKeys, 4);
  EXPECT_EQ(ReadProfileString(path_, "Menu", "WebBack", ""), "&Zurück");
  EXPECT_EQ(ReadProfileString(path_, "Menu", "FileMenu", ""), "&File");
  EXPECT_EQ(ReadProfileString(path_, "Menu", "FileOpen", ""), "&Open\\tCtrl+O");
  EXPECT_EQ(ReadProfileString(path_, "Button", "StopAll", ""), "Stop All");
  EXPECT_EQ(ReadProfileString(path_, "ControlLabel", "Hour", ""), "Hour");
  EXPECT_EQ(ProfileKeyNames(path_, "Menu"),
            (std::vector<std::string>{"webback", "FileMenu", "FileOpen"}));
  EXPECT_TRUE(ProfileKeyNames(path_, "ShortCutKey").empty());
  EXPECT_TRUE(ProfileKeyNames(path_, "Message").empty());
  EXPECT_EQ(ReadProfileString(path_, "Private", "Keep", ""), "1");

  const std::string merged = Content(path_);
  EXPECT_EQ(merged.rfind("; my translation\r\n", 0), 0u);
  EXPECT_EQ(MergeTheme(path_, default_).copiedKeys, 0);
  EXPECT_EQ(Content(path_), merged);
}

TEST_F(ThemeMergeTest, NeedsBothFiles) {
  Write(default_, "[Menu]\r\nWebBack=&Back\r\n");
  const ThemeMergeResult noTheme = MergeTheme(path_, default_);
  EXPECT_FALSE(noTheme.done);
  EXPECT_NE(noTheme.errorText.find(path_), std::string::npos) << noTheme.errorText;
  EXPECT_FALSE(fs::exists(path_));

  Write(path_, "[Menu]\r\n");
  fs::remove(default_);
  FlushProfile(default_);
  const ThemeMergeResult result = MergeTheme(path_, default_);
  EXPECT_FALSE(result.done);
  EXPECT_NE(result.errorText.find(default_), std::string::npos) << result.errorText;
  EXPECT_EQ(Content(path_), "[Menu]\r\n");
}

}  // namespace
}  // namespace zelvora
