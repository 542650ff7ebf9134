#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/shell/Paths.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("zelvora-paths-" + std::to_string(std::random_device()()));
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "data");
  }
  void TearDown() override { fs::remove_all(root_); }

  PathInputs Inputs(const std::string& login = "alice") const {
    return {(root_ / "program").string(), login, (root_ / "data").string()};
  }
  static void Write(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path root_;
};

TEST(AcceptUserNameTest, RefusedNamesBecomeUnknownAndTrailingBlanksGo) {
  EXPECT_EQ(AcceptUserName("a:b"), "unknown");
  EXPECT_EQ(AcceptUserName("bob."), "unknown");
  EXPECT_EQ(AcceptUserName("   "), "unknown");
  EXPECT_EQ(AcceptUserName("bob  "), "bob");
  EXPECT_EQ(AcceptUserName(" bob"), " bob");
  EXPECT_EQ(AcceptUserName("\xE5\xA4\xAA\xE9\x83\x8E"), "\xE5\xA4\xAA\xE9\x83\x8E");
}

TEST_F(PathsTest, PerUserFolderIsCreatedUnderTheProgramFolder) {
  CommandLine line;
  const TPaths paths = ResolvePaths(Inputs(), line);
  const fs::path perUser = root_ / "program" / "users" / "alice";
  EXPECT_EQ(paths.userName, "alice");
  EXPECT_EQ(paths.perUserFolder, perUser.string());
  EXPECT_EQ(paths.baseFolder, perUser.string());
  EXPECT_EQ(paths.settingsFile, (perUser / "Zelvora.ini").string());
  EXPECT_EQ(paths.themeFile, (perUser / "Zelvora.txt").string());
  EXPECT_TRUE(fs::is_directory(perUser / "themes"));

  // The user switch wins over the login and is used up.
  line.Slot(kSwitchUser) = "bob  ";
  EXPECT_EQ(ResolvePaths(Inputs(), line).perUserFolder,
            (root_ / "program" / "users" / "bob").string());
  EXPECT_EQ(line.Slot(kSwitchUser), "");
}

TEST_F(PathsTest, ProgramFolderFilesAreCopiedOnlyWhenMissing) {
  Write(root_ / "program" / "Zelvora.ini", "[ConfigDialog]\r\nTabOpenMax=7\r\n");
  Write(root_ / "program" / "Zelvora.txt", "[Theme]\r\nTitle=Shipped\r\n");
  Write(root_ / "program" / "users" / "alice" / "Zelvora.txt", "[Theme]\r\nTitle=Mine\r\n");
  CommandLine line;
  const TPaths paths = ResolvePaths(Inputs(), line);
  EXPECT_EQ(Read(paths.settingsFile), "[ConfigDialog]\r\nTabOpenMax=7\r\n");
  EXPECT_EQ(Read(paths.themeFile), "[Theme]\r\nTitle=Mine\r\n");
}

TEST_F(PathsTest, UnwritableProgramFolderFallsBackToTheUserDataFolder) {
  Write(root_ / "program" / "users", "a file where the users folder should be");
  CommandLine line;
  const TPaths paths = ResolvePaths(Inputs(), line);
  const fs::path perUser = root_ / "data" / "Zelvora" / "users" / "alice";
  EXPECT_EQ(paths.perUserFolder, perUser.string());
  EXPECT_EQ(paths.settingsFile, (perUser / "Zelvora.ini").string());
  EXPECT_TRUE(fs::is_directory(perUser / "themes"));
}

TEST_F(PathsTest, WhenNoPerUserFolderCanBeMadeTheProgramFolderIsTheBase) {
  Write(root_ / "program" / "users", "blocked");
  PathInputs inputs = Inputs();
  inputs.userDataFolder = (root_ / "program" / "users" / "blocked-too").string();
  CommandLine line;
  line.theme = "dark.txt";
  const TPaths paths = ResolvePaths(inputs, line);
  EXPECT_EQ(paths.perUserFolder, (root_ / "program" / "users" / "alice").string());
  EXPECT_EQ(paths.baseFolder, (root_ / "program").string());
  EXPECT_EQ(paths.settingsFile, (root_ / "program" / "Zelvora.ini").string());
  EXPECT_EQ(paths.themeFile, (root_ / "program" / "themes" / "dark.txt").string());
}

TEST_F(PathsTest, ThemeComesFromTheSwitchThenTheSettingsFile) {
  const fs::path perUser = root_ / "program" / "users" / "alice";
  Write(perUser / "Zelvora.ini", "[Zelvora]\r\nThemeFile=blue.txt\r\n");
  CommandLine fromFile;
  EXPECT_EQ(ResolvePaths(Inputs(), fromFile).themeFile, (perUser / "themes" / "blue.txt").string());

  CommandLine fromSwitch;
  fromSwitch.theme = "/opt/themes/red.txt";
  EXPECT_EQ(ResolvePaths(Inputs(), fromSwitch).themeFile, "/opt/themes/red.txt");
}

TEST_F(PathsTest, DatIsResolvedInThePerUserFolderOrDropped) {
  const fs::path tabs = root_ / "program" / "users" / "alice" / "tabs.dat";
  Write(tabs, "1,\r\n");
  const auto resolved = [this](const std::string& value) {
    CommandLine line;
    line.Slot(kSwitchDat) = value;
    ResolvePaths(Inputs(), line);
    return line.Slot(kSwitchDat);
  };
  EXPECT_EQ(resolved("tabs.dat"), tabs.string());
  EXPECT_EQ(resolved("nothing.dat"), "");
}

}  // namespace
}  // namespace zelvora
