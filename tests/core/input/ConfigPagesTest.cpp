#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "SettingsFileFixture.h"
#include "core/input/ConfigPages.h"
#include "core/shell/SettingsFile.h"
#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

constexpr PlatformColours kPlatform{MakeColour(1, 2, 3), MakeColour(4, 5, 6)};

struct Bindings {
  std::array<int, kFlagCount> flags{};
  std::array<int, kIntegerCount> integers{};
  std::array<int, kTabActionCount> tabActions{};
  std::array<int, kStringCount> strings{};
  std::array<int, kColourCount> colours{};
  std::array<int, 2> startModes{};
  std::array<int, kTabSessionCount> tabSession{};
};

Bindings CountBindings() {
  Bindings count;
  for (const ConfigControl& control : ConfigControls()) {
    const auto index = static_cast<std::size_t>(control.index);
    switch (control.kind) {
      case ConfigControlKind::kCheck:
        ++count.flags[index];
        break;
      case ConfigControlKind::kCheckSpin:
      case ConfigControlKind::kLayered:
        ++count.flags[index];
        ++count.integers[static_cast<std::size_t>(control.second)];
        break;
      case ConfigControlKind::kSpin:
        ++count.integers[index];
        break;
      case ConfigControlKind::kCombo:
        ++count.tabActions[index];
        break;
      case ConfigControlKind::kEdit:
        ++count.strings[index];
        break;
      case ConfigControlKind::kColour:
        ++count.colours[index];
        break;
      case ConfigControlKind::kStartMode:
        ++count.startModes[index];
        break;
      case ConfigControlKind::kSessionCheck:
      case ConfigControlKind::kSessionSpin:
        ++count.tabSession[index];
        break;
      default:
        break;
    }
  }
  return count;
}

// Whatever the settings file stores for the dialog's section is shown by exactly one control, so
// that OK and Apply write back every value and never one control over another.
TEST(ConfigPages, EveryStoredSettingHasExactlyOneControl) {
  const Bindings count = CountBindings();
  for (int flag = 0; flag < kFlagCount; ++flag) {
    const bool permission = flag >= kFlagWebPermitMultiMediaFirst && flag < kFlagWebPermitReload;
    const bool stored = !kFlagKeys[static_cast<std::size_t>(flag)].key.empty() || permission;
    EXPECT_EQ(count.flags[static_cast<std::size_t>(flag)], stored ? 1 : 0) << "flag " << flag;
  }
  for (int integer = 0; integer < kIntegerCount; ++integer) {
    // Integer 15 has no key but its own spin edit on the "Search" page.
    const bool shown =
        !kIntegerKeys[static_cast<std::size_t>(integer)].key.empty() || integer == 15;
    EXPECT_EQ(count.integers[static_cast<std::size_t>(integer)], shown ? 1 : 0)
        << "integer " << integer;
  }
  for (int action = 0; action < kTabActionCount; ++action) {
    const bool stored = !kTabActionKeys[static_cast<std::size_t>(action)].key.empty();
    EXPECT_EQ(count.tabActions[static_cast<std::size_t>(action)], stored ? 1 : 0);
  }
  for (int string = 0; string < kStringCount; ++string) {
    const bool stored = !kStringKeys[static_cast<std::size_t>(string)].key.empty();
    EXPECT_EQ(count.strings[static_cast<std::size_t>(string)], stored ? 1 : 0);
  }
  EXPECT_EQ(count.colours, (std::array<int, kColourCount>{1, 1, 1, 1}));
  EXPECT_EQ(count.startModes, (std::array<int, 2>{1, 1}));
  EXPECT_EQ(count.tabSession, (std::array<int, kTabSessionCount>{1, 1, 1}));
}

TEST(ConfigPages, CopyClampsTypedValuesAndLeavesWhatNoControlShows) {
  TSettings typed = BaseDefaultSettings(kPlatform);
  typed.integers.fill(99999);
  typed.integers[kIntTabOpenMax] = -5;
  typed.flags.fill(2);
  typed.flags[kFlagConfirmExit] = 1;
  typed.tabActions.fill(9);
  typed.startSize = 7;
  typed.startPos = -1;
  typed.strings.fill(std::string(1000, 'n'));
  typed.colours.fill(0xFF123456);
  typed.selectAction = 4;
  typed.tabSession = {2, 1, 999999};

  TSettings record = BaseDefaultSettings(kPlatform);
  record.flags[kFlagGestureEnable] = 1;
  record.strings[kStringDenyUrlList] = "deny";
  record.tabActions[4] = 3;
  record.selectAction = 2;
  CopyConfigValues(typed, record);

  EXPECT_EQ(record.Int(kIntTabOpenMax), 1);
  EXPECT_EQ(record.Int(kIntToolFileHistoryMax), 40);
  EXPECT_EQ(record.Int(kIntLayeredMainValue + 7), 255);
  EXPECT_EQ(record.Int(kIntStartWidth), 10000);
  EXPECT_FALSE(record.Flag(kFlagTabNewSelect));  // 2 is not on
  EXPECT_TRUE(record.Flag(kFlagConfirmExit));
  EXPECT_EQ(record.tabActions[kTabNewPos], 3);   // the last of four positions
  EXPECT_EQ(record.tabActions[kTabDelPos], 4);   // the last of five
  EXPECT_EQ(record.tabActions[kWheelClick], 2);  // the last of three actions
  EXPECT_EQ(record.startSize, 2);
  EXPECT_EQ(record.startPos, 0);
  EXPECT_EQ(record.strings[kStringNameFolder].size(), static_cast<std::size_t>(kConfigEditMax));
  EXPECT_EQ(record.colours[kColourLayeredKey], 0x123456u);
  EXPECT_EQ(record.tabSession,
            (std::array<std::int32_t, kTabSessionCount>{0, 1, kTabDiscardMinutesMax}));
  // Kept elsewhere: the gesture flags and sensitivity, the theme editor's list, the deny text,
  // the selection actions.
  EXPECT_TRUE(record.Flag(kFlagGestureEnable));
  EXPECT_EQ(record.Int(kIntGestureSensitivity), 30);
  EXPECT_EQ(record.tabActions[4], 3);
  EXPECT_EQ(record.strings[kStringDenyUrlList], "deny");
  EXPECT_EQ(record.selectAction, 2);
}

TEST(ConfigPages, OpeningPagePrefersTheRunThenTheFile) {
  EXPECT_EQ(OpeningConfigPage(-1, 5), 5);
  EXPECT_EQ(OpeningConfigPage(7, 5), 7);
  EXPECT_EQ(OpeningConfigPage(0, 5), 0);
  EXPECT_EQ(OpeningConfigPage(-1, kConfigTreePageCount), 0);
  EXPECT_EQ(OpeningConfigPage(-1, -3), 0);
}

TEST(ConfigPages, EveryPageHasAParentExceptTheRootAndTheTreeIsInOrder) {
  EXPECT_FALSE(ConfigPageParent(kConfigPageConfig));
  for (int page = 1; page < kConfigTreePageCount; ++page) {
    const auto parent = ConfigPageParent(static_cast<ConfigTreePage>(page));
    ASSERT_TRUE(parent);
    // A page follows its parent in the list, so the tree can be built in one pass.
    EXPECT_LT(*parent, page);
  }
}

class ConfigCommitTest : public SettingsFileFixture {
 protected:
  std::string DenyFile() const { return (folder_ / "DenyUrlList.txt").string(); }
  std::string ReadDenyFile() const {
    std::ifstream in(DenyFile(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(ConfigCommitTest, CommitKeepsPageSettingsAndDenyListForTheNextStart) {
  WriteRaw("[ConfigDialog]\r\nConfigSelect=3\r\nx=120\r\ny=80\r\n");
  TSettings record = BaseDefaultSettings(kPlatform);
  TSettings shown = record;
  shown.integers[kIntTabOpenMax] = 500;
  shown.flags[kFlagLayeredMain] = 1;
  shown.strings[kStringNameFolder] = "Dossier";
  const std::string deny = "2 blocked.example\n; a note";

  ASSERT_TRUE(CommitConfiguration(path_, DenyFile(), shown, 11, deny, record));
  EXPECT_EQ(record.Int(kIntTabOpenMax), 100);
  EXPECT_EQ(record.strings[kStringDenyUrlList], deny);
  EXPECT_EQ(ReadDenyFile(), "2 blocked.example\r\n; a note");

  FlushProfile(path_);
  const ConfigDialogState state = LoadConfigDialogState(path_);
  EXPECT_EQ(state.select, 11);
  EXPECT_EQ(state.x, 120);
  EXPECT_EQ(state.y, 80);
  TSettings next;
  SettingsLoadContext context;
  context.platform = kPlatform;
  context.userFolder = folder_.string();
  LoadSettings(path_, next, context);
  EXPECT_EQ(next.Int(kIntTabOpenMax), 100);
  EXPECT_TRUE(next.Flag(kFlagLayeredMain));
  EXPECT_EQ(next.strings[kStringNameFolder], "Dossier");
  EXPECT_EQ(next.strings[kStringDenyUrlList], "2 blocked.example\r\n; a note");

  ASSERT_TRUE(SaveConfigDialogPosition(path_, 7, 9));
  FlushProfile(path_);
  EXPECT_EQ(LoadConfigDialogState(path_).x, 7);
  EXPECT_EQ(LoadConfigDialogState(path_).select, 11);
}

TEST_F(ConfigCommitTest, AFileThatCannotBeWrittenIsReportedAndTheRecordStillChanges) {
  TSettings record = BaseDefaultSettings(kPlatform);
  TSettings shown = record;
  shown.flags[kFlagConfirmExit] = 1;
  const std::string missing = (folder_ / "gone" / "Zelvora.ini").string();
  EXPECT_FALSE(CommitConfiguration(missing, DenyFile(), shown, 0, "", record));
  EXPECT_TRUE(record.Flag(kFlagConfirmExit));
  FlushProfile(missing);
}

}  // namespace
}  // namespace zelvora
