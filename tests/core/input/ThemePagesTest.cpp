#include <gtest/gtest.h>

#include <algorithm>

#include "SettingsFileFixture.h"
#include "core/input/CellBlockText.h"
#include "core/input/MenuBuild.h"
#include "core/input/ThemeCellKeys.h"
#include "core/input/ThemePages.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

std::size_t RowOf(const ThemePageData& data, std::string_view key) {
  const auto found = std::find_if(data.rows.begin(), data.rows.end(),
                                  [&](const ThemeGridRow& row) { return row.key == key; });
  return static_cast<std::size_t>(found - data.rows.begin());
}

class ThemePagesTest : public SettingsFileFixture {
 protected:
  std::string Content() const { return ReadWholeFile(path_).value_or(""); }
};

TEST_F(ThemePagesTest, DefiningWritesOnlyTheEditedCellsAndKeepsWhatTheGridCannotHold) {
  const std::string huge(1 << 20, 'x');
  const std::string notUtf8 = "Gr\xFF\xFE\xC3";
  WriteRaw(
      "[Menu]\r\nWebBack=Zur\xC3\xBC"
      "ck\r\nWebOpen=" +
      huge + "\r\n[ShortCutKey]\r\nWebBack=Alt+Left\r\n[ControlLabel]\r\nFileHistory=" + notUtf8 +
      "\r\nNone=Nichts\r\n");
  ThemePageData menu = ReadThemePage(path_, ThemePage::kMenu);
  const ThemeGridRow& back = menu.rows[RowOf(menu, "WebBack")];
  EXPECT_EQ(back.values, (std::array<std::string, 3>{"Zur\xC3\xBC"
                                                     "ck",
                                                     "Alt+Left", ""}));
  // A value longer than the read buffer shows as the program reads it.
  EXPECT_EQ(menu.rows[RowOf(menu, "WebOpen")].values[0].size(), kProfileStringMax);
  // The file-history caption is the menu page's last row, read from the labels.
  EXPECT_EQ(menu.rows.back().key, "FileHistory");
  EXPECT_EQ(menu.rows.back().values[0].substr(0, 2), "Gr");
  EXPECT_FALSE(menu.rows.back().Editable(ThemeColumn::kShortcut));
  // Names read under several rows of the command table show once.
  EXPECT_EQ(std::count_if(menu.rows.begin(), menu.rows.end(),
                          [](const ThemeGridRow& row) { return row.key == "TitleCopy"; }),
            1);
  EXPECT_FALSE(menu.SetCell(RowOf(menu, "WebBack"), ThemeColumn::kKeyName, "X"));

  ASSERT_TRUE(menu.SetCell(RowOf(menu, "WebBack"), ThemeColumn::kShortcut, "Ctrl+Shift+B"));
  ASSERT_TRUE(menu.SetCell(RowOf(menu, "NewTab"), ThemeColumn::kGesture, "DU"));
  ASSERT_TRUE(menu.SetCell(RowOf(menu, "WebBack"), ThemeColumn::kText, ""));
  ASSERT_TRUE(WriteThemePage(path_, menu, ThemeWrite::kChanged).written);
  const std::string content = Content();
  EXPECT_NE(content.find("WebOpen=" + huge + "\r\n"), std::string::npos);
  EXPECT_NE(content.find("FileHistory=" + notUtf8 + "\r\n"), std::string::npos);
  EXPECT_EQ(content.find("WebBack=Zur"), std::string::npos);  // emptied: the key is gone
  EXPECT_EQ(ReadProfileString(path_, kThemeShortcutSection, "WebBack", ""), "Ctrl+Shift+B");
  EXPECT_EQ(ReadProfileString(path_, kThemeGestureSection, "NewTab", ""), "DU");
  // Only what the user edited: the built-in captions shown for absent keys stay absent.
  EXPECT_EQ(ReadProfileString(path_, kThemeMenuSection, "NewTab", "<absent>"), "<absent>");
  const ThemePageData reread = ReadThemePage(path_, ThemePage::kMenu);
  EXPECT_EQ(reread.rows[RowOf(reread, "WebBack")].values[0],
            reread.rows[RowOf(reread, "WebBack")].builtIn);

  // Labels sharing a key are one row; the recently-opened-files caption is the menu page's.
  const ThemePageData labels = ReadThemePage(path_, ThemePage::kControlLabels);
  EXPECT_EQ(std::count_if(labels.rows.begin(), labels.rows.end(),
                          [](const ThemeGridRow& row) { return row.key == "None"; }),
            1);
  EXPECT_EQ(labels.rows[RowOf(labels, "None")].values[0], "Nichts");
  EXPECT_EQ(RowOf(labels, "FileHistory"), labels.rows.size());
  EXPECT_EQ(labels.rows[RowOf(labels, "TreeAddresBar")].values[0], "AddresBar");
}

TEST_F(ThemePagesTest, WrittenAsANewFileEveryPageReadsBackAndTheBaseThemeBindsItsKeys) {
  WriteRaw(
      "[Theme]\r\nTitle=Deutsch\r\n[Message]\r\n9=Beenden?\r\n[Mouse]\r\nGestureEnable=1\r\n"
      "GestureSensitivity=3\r\n");
  std::array<ThemePageData, kThemePageCount> pages;
  for (std::size_t page = 0; page < kThemePageCount; ++page)
    pages[page] = ReadThemePage(path_, static_cast<ThemePage>(page));
  // The editor's spin box cannot show 3: it starts at its lowest value.
  EXPECT_EQ(pages[static_cast<std::size_t>(ThemePage::kMouse)].mouse.sensitivity,
            kThemeSensitivityMin);
  pages[static_cast<std::size_t>(ThemePage::kButtonTips)].SetCell(0, ThemeColumn::kText, "Zurück");
  const std::string copy = (folder_ / "Copy.txt").string();
  ASSERT_TRUE(WriteWholeTheme(copy, pages).written);
  for (std::size_t page = 0; page < kThemePageCount; ++page) {
    const ThemePageData reread = ReadThemePage(copy, static_cast<ThemePage>(page));
    ASSERT_EQ(reread.rows.size(), pages[page].rows.size());
    for (std::size_t row = 0; row < reread.rows.size(); ++row)
      EXPECT_EQ(reread.rows[row].values, pages[page].rows[row].values) << reread.rows[row].key;
    EXPECT_EQ(reread.mouse.enabled, pages[page].mouse.enabled);
    EXPECT_EQ(reread.mouse.sensitivity, kThemeSensitivityMin);
  }
  EXPECT_EQ(ReadProfileString(copy, kThemeSection, kThemeTitleKey, ""), "Deutsch");

  // "Base Reset" on the menu page, defined into an empty theme, gives working keys and gestures.
  const std::string base = (folder_ / "Base.txt").string();
  ThemePageData menu = ReadThemePage(base, ThemePage::kMenu);
  const ThemePageData shipped = BaseThemePage(ThemePage::kMenu);
  for (std::size_t row = 0; row < menu.rows.size(); ++row)
    menu.rows[row].values = shipped.rows[row].values;
  ASSERT_TRUE(WriteThemePage(base, menu, ThemeWrite::kChanged).written);
  ThemePageData mouse = BaseThemePage(ThemePage::kMouse);
  ASSERT_TRUE(WriteThemePage(base, mouse, ThemeWrite::kChanged).written);
  TThemeTexts texts;
  TMenuBuild build;
  BuildMenusFromTheme(base, texts, build);
  EXPECT_EQ(build.shortcuts.Table().Find(kAccelControl, 'T'), 3002);
  EXPECT_TRUE(build.gestures.Enabled());
  EXPECT_FALSE(build.gestures.State().bindings->empty());
}

TEST(ThemeCellKeysTest, EachColumnTreatsItsKeysAsTheEditorPromises) {
  ThemeCellKeys keys;
  keys.SetLabels({"←", "↑", "→", "↓"});
  using A = CellKeyAction;
  keys.Open(ThemeColumn::kShortcut);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyControl, true), (CellKeyResult{A::kSetText, "Ctrl+"}));
  EXPECT_EQ(keys.KeyDown(kVirtualKeyShift, false), (CellKeyResult{A::kSetText, "Ctrl+Shift+"}));
  EXPECT_EQ(keys.KeyDown('T', false), (CellKeyResult{A::kSetText, "Ctrl+Shift+T"}));
  EXPECT_EQ(keys.KeyUp(kVirtualKeyShift).action, A::kSwallow);
  // With a modifier held, Tab is the key of the binding rather than the end of the edit.
  EXPECT_EQ(keys.KeyDown(kVirtualKeyTab, false), (CellKeyResult{A::kSetText, "Ctrl+Tab"}));
  EXPECT_EQ(keys.KeyDown(44, false).action, A::kSwallow);  // Print: no such key name
  EXPECT_EQ(keys.KeyDown(kVirtualKeyBack, false), (CellKeyResult{A::kSetText, ""}));
  EXPECT_EQ(keys.KeyUp(kVirtualKeyControl).action, A::kSwallow);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyBack, true), (CellKeyResult{A::kSetText, "Back"}));
  EXPECT_EQ(keys.KeyDown(kVirtualKeyReturn, false).action, A::kCommit);
  // A new box forgets the last key and the modifiers.
  keys.Open(ThemeColumn::kShortcut);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyAlt, false), (CellKeyResult{A::kSetText, "Alt+"}));
  keys.Open(ThemeColumn::kShortcut);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyEscape, false).action, A::kDiscard);

  keys.Open(ThemeColumn::kGesture);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyDown, true), (CellKeyResult{A::kInsert, "↓"}));
  EXPECT_EQ(keys.KeyDown(kVirtualKeyLeft, false), (CellKeyResult{A::kInsert, "←"}));
  for (const std::uint16_t edit :
       {kVirtualKeyBack, kVirtualKeyDelete, kVirtualKeyHome, kVirtualKeyEnd, kVirtualKeyShift})
    EXPECT_EQ(keys.KeyDown(edit, false).action, edit == kVirtualKeyShift ? A::kSwallow : A::kPass);
  EXPECT_EQ(keys.KeyDown('A', false).action, A::kSwallow);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyTab, false).action, A::kDiscard);

  keys.Open(ThemeColumn::kText);
  EXPECT_EQ(keys.KeyDown('A', false).action, A::kPass);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyControl, false).action, A::kPass);
  EXPECT_EQ(keys.KeyUp(kVirtualKeyControl).action, A::kPass);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyTab, false).action, A::kDiscard);
  EXPECT_EQ(keys.KeyDown(kVirtualKeyReturn, false).action, A::kCommit);
}

TEST(CellBlockTextTest, ABlockReadsBackAsCopied) {
  const CellBlock block = {{"Back", "Alt+Left", ""}, {"", "", "L"}};
  EXPECT_EQ(CellBlockToText(block), "Back\tAlt+Left\t\r\n\t\tL\r\n");
  EXPECT_EQ(CellBlockFromText(CellBlockToText(block)), block);
  EXPECT_EQ(CellBlockFromText("a\tb\nc"), (CellBlock{{"a", "b"}, {"c"}}));
  EXPECT_TRUE(CellBlockFromText("").empty());
}

}  // namespace
}  // namespace zelvora
