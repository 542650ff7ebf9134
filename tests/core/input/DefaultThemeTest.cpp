#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "core/input/MenuBuild.h"
#include "core/shell/CommandTable.h"
#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {
namespace {

// The default theme as the build wrote it beside the executable.
constexpr const char* kTheme = ZELVORA_DEFAULT_THEME;

// The command id of the first menu item with that key name; 0 when no item has it.
int CommandOfName(std::string_view name) {
  const auto row = std::find_if(kCommandRows.begin(), kCommandRows.end(), [&](const CommandRow& r) {
    return r.kind == RowKind::kItem && r.name == name;
  });
  return row == kCommandRows.end() ? 0 : row->id;
}

// Keys a page needs for typing and moving through its text; a binding would take them away.
bool IsEditingKey(const ShortcutKey& key) {
  const bool alt = (key.modifiers & kAccelAlt) != 0;
  const bool ctrl = (key.modifiers & kAccelControl) != 0;
  switch (key.virtualKey) {
    case 8:   // Backspace
    case 13:  // Enter
    case 46:  // Delete
      return true;
    case 9:  // Tab
      return !ctrl && !alt;
    case 35:  // End
    case 36:  // Home
    case 37:  // the arrows
    case 38:
    case 39:
    case 40:
      return !alt;
    case 'A':
    case 'C':
    case 'V':
    case 'X':
    case 'Z':
      return ctrl && !alt;
    default:
      return false;
  }
}

std::vector<std::string_view> Alternatives(std::string_view text) {
  std::vector<std::string_view> alternatives;
  for (;;) {
    const std::size_t separator = text.find(kShortcutAlternativeSeparator);
    alternatives.push_back(TrimBlanksAndControls(text.substr(0, separator)));
    if (separator == std::string_view::npos)
      return alternatives;
    text.remove_prefix(separator + 1);
  }
}

TEST(DefaultThemeTest, ReadsAsTheBuiltInTexts) {
  const TThemeTexts builtIn;
  TThemeTexts shipped;
  shipped.Load(kTheme);
  EXPECT_NE(shipped.AboutText(), builtIn.AboutText()) << "the file names no title and author";
  for (const ButtonGroup group : {ButtonGroup::kToolbar, ButtonGroup::kDownloadControl,
                                  ButtonGroup::kSecurity, ButtonGroup::kTwoState}) {
    const auto expected = builtIn.ButtonTips(group);
    const auto actual = shipped.ButtonTips(group);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin(), actual.end()));
  }
  for (int label = 0; label < kControlLabelCount; ++label) {
    const auto index = static_cast<ControlLabel>(label);
    EXPECT_EQ(shipped.Label(index), builtIn.Label(index)) << kBuiltInControlLabels[label];
  }
  for (int page = 0; page < kConfigTreePageCount; ++page) {
    const auto index = static_cast<ConfigTreePage>(page);
    EXPECT_EQ(shipped.ConfigPageName(index), builtIn.ConfigPageName(index));
  }
  for (int message = 0; message < kThemeMessageCount; ++message) {
    const auto index = static_cast<ThemeMessage>(message);
    EXPECT_EQ(shipped.Message(index), builtIn.Message(index)) << message;
  }
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    const auto index = static_cast<ToolPanelTree>(tree);
    EXPECT_EQ(shipped.ToolPanelTreeName(index), builtIn.ToolPanelTreeName(index));
  }
  EXPECT_EQ(shipped.FileHistoryCaption(), builtIn.FileHistoryCaption());

  // As a translator's template it names every text, but for those it cannot hold: a key that
  // stands for several different texts (one value would replace them all) and the reboot
  // notice, whose leading blank a value loses.
  for (const CommandRow& row : kCommandRows) {
    if (row.name.empty() || row.caption.empty() ||
        !ReadProfileString(kTheme, kThemeMenuSection, row.name, "").empty())
      continue;
    EXPECT_TRUE(std::any_of(kCommandRows.begin(), kCommandRows.end(),
                            [&](const CommandRow& r) {
                              return EqualsIgnoreCase(r.name, row.name) && r.caption != row.caption;
                            }))
        << row.name << " is missing";
  }
  for (int label = 0; label < kLabelImportantReboot; ++label) {
    const std::string_view text = kBuiltInControlLabels[label];
    if (!ReadProfileString(kTheme, kThemeLabelSection, ThemeKey(text), "").empty())
      continue;
    EXPECT_TRUE(std::any_of(
        std::begin(kBuiltInControlLabels), std::end(kBuiltInControlLabels),
        [&](std::string_view other) { return ThemeKey(other) == ThemeKey(text) && other != text; }))
        << text << " is missing";
  }
  EXPECT_EQ(ProfileKeyNames(kTheme, kThemeMessageSection).size(), std::size_t{kThemeMessageCount});
  EXPECT_FALSE(ReadProfileString(kTheme, kThemeButtonSection, "StopAll", "").empty());

  // Every menu reads as without a theme, but for the key texts.
  TMenuBuild build;
  BuildMenusFromTheme(kTheme, shipped, build);
  const MenuModel plain = BuildMenus({});
  const MenuModel& themed = build.model;
  ASSERT_EQ(themed.menuBar.size(), plain.menuBar.size());
  for (std::size_t i = 0; i < plain.menuBar.size(); ++i)
    EXPECT_EQ(themed.menuBar[i].caption, plain.menuBar[i].caption);
  for (int popup = 0; popup < kPopupCount; ++popup) {
    const auto& expected = plain.popups[static_cast<std::size_t>(popup)].entries;
    const auto& actual = themed.popups[static_cast<std::size_t>(popup)].entries;
    ASSERT_EQ(actual.size(), expected.size()) << "popup " << popup;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(actual[i].id, expected[i].id);
      EXPECT_EQ(actual[i].caption, expected[i].caption)
          << "popup " << popup << " id " << expected[i].id;
    }
  }
  EXPECT_EQ(themed.selectActionCaptions, plain.selectActionCaptions);
}

TEST(DefaultThemeTest, EveryKeyBindsARealCommandOnceAndLeavesTheEditingKeysAlone) {
  const std::vector<std::string> names = ProfileKeyNames(kTheme, kThemeShortcutSection);
  ASSERT_FALSE(names.empty());
  std::set<std::pair<std::uint16_t, std::uint16_t>> keys;
  std::size_t count = 0;
  for (const std::string& name : names) {
    EXPECT_NE(CommandOfName(name), 0) << name << " is no command";
    const std::string text = ReadShortcutKeyText(kTheme, name);
    for (const std::string_view alternative : Alternatives(text)) {
      ++count;
      const auto key = ParseShortcutKey(alternative);
      EXPECT_TRUE(key.has_value()) << name << ": " << alternative << " binds no key";
      if (!key)
        continue;
      EXPECT_TRUE(keys.insert({key->modifiers, key->virtualKey}).second)
          << alternative << " is bound twice";
      EXPECT_FALSE(IsEditingKey(*key)) << name << ": " << alternative << " is an editing key";
    }
  }
  EXPECT_LE(count, kAccelTableMax);

  // The menu build takes every one of them into the accelerator table, and each item shows its
  // text.
  TThemeTexts texts;
  texts.Load(kTheme);
  TMenuBuild build;
  BuildMenusFromTheme(kTheme, texts, build);
  EXPECT_EQ(build.shortcuts.Table().Entries().size(), count);
  const MenuEntry* newTab = FindMenuEntry(build.model, 3002);
  ASSERT_NE(newTab, nullptr);
  EXPECT_EQ(newTab->Text(), "&New\tCtrl+T");
}

TEST(DefaultThemeTest, GesturesAreOnAndEachOneCanBeDrawn) {
  TThemeTexts texts;
  texts.Load(kTheme);
  TMenuBuild build;
  BuildMenusFromTheme(kTheme, texts, build);
  GestureRecogniser& gestures = build.gestures;
  ASSERT_TRUE(gestures.Enabled());
  const GestureSettings settings = ReadGestureSettings(kTheme);
  const std::pair<std::string, std::pair<int, int>> strokes[] = {
      {texts.Label(kLabelGestureLeft), {-1, 0}},
      {texts.Label(kLabelGestureUp), {0, -1}},
      {texts.Label(kLabelGestureRight), {1, 0}},
      {texts.Label(kLabelGestureDown), {0, 1}}};
  const int length = settings.sensitivity + 5;

  const std::vector<std::string> names = ProfileKeyNames(kTheme, kThemeGestureSection);
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    const std::string drawn = ReadGestureText(kTheme, name);
    int x = 500;
    int y = 500;
    gestures.Press(x, y);
    for (std::string_view rest = drawn; !rest.empty();) {
      const auto stroke = std::find_if(std::begin(strokes), std::end(strokes),
                                       [&](const auto& s) { return rest.starts_with(s.first); });
      ASSERT_NE(stroke, std::end(strokes)) << name << ": " << drawn << " is no gesture";
      rest.remove_prefix(stroke->first.size());
      x += stroke->second.first * length;
      y += stroke->second.second * length;
      gestures.Move(x, y, true, [](std::uint16_t) { return std::string(); });
    }
    const GestureEnd end = gestures.Release();
    ASSERT_TRUE(end.command.has_value()) << name << ": " << drawn << " cannot be drawn";
    EXPECT_EQ(*end.command, CommandOfName(name)) << name << ": " << drawn;
  }
}

}  // namespace
}  // namespace zelvora
