#include <gtest/gtest.h>

#include <set>

#include "SettingsFileFixture.h"
#include "core/input/ShortcutKeys.h"

namespace zelvora {
namespace {

constexpr std::uint16_t kCtrlAltShift = kAccelControl | kAccelAlt | kAccelShift;

TEST(ShortcutKeysTest, KeyNameTableHasEveryRowOnce) {
  // Names are proven apart by reading every one back through the parser (below).
  std::set<std::uint16_t> codes;
  for (const TKeyMapRec& row : kKeyNameTable)
    codes.insert(row.code);
  EXPECT_EQ(codes.size(), kKeyNameTable.size());
  EXPECT_EQ(KeyNameFromVirtualKey(16), std::nullopt);  // Shift alone cannot be bound
  EXPECT_EQ(VirtualKeyFromCharacter('q'), 81);
  EXPECT_EQ(VirtualKeyFromCharacter('*'), std::nullopt);
}

TEST(ShortcutKeysTest, ParsesModifiersInOrderAndKeyNames) {
  const ShortcutKey f5{kCtrlAltShift, 116};
  EXPECT_EQ(ParseShortcutKey("ctrl+alt+shift+f5"), f5);
  EXPECT_EQ(ParseShortcutKey("  Ctrl+Alt+Shift+F5\t"), f5);
  EXPECT_EQ(ParseShortcutKey("Ctrl+NUM +"), (ShortcutKey{kAccelControl, 107}));
  EXPECT_EQ(ParseShortcutKey("Alt+Shift+-"), (ShortcutKey{kAccelAlt | kAccelShift, 189}));
  EXPECT_EQ(ParseShortcutKey("Ctrl+ B "), (ShortcutKey{kAccelControl, 66}));

  EXPECT_EQ(ParseShortcutKey("Alt+Ctrl+A"), std::nullopt);
  EXPECT_EQ(ParseShortcutKey("Ctrl + A"), std::nullopt);
  EXPECT_EQ(ParseShortcutKey("Shift+"), std::nullopt);
  EXPECT_EQ(ParseShortcutKey("Ctrl+Print"), std::nullopt);
  EXPECT_EQ(ParseShortcutKey("Ctrl+Shift+Tab"), (ShortcutKey{kAccelControl | kAccelShift, 9}));
  EXPECT_EQ(ParseShortcutKey("Ctrl+A\nB"), std::nullopt);
  // Only ASCII case folding: the long s (U+017F) is no "s".
  EXPECT_EQ(ParseShortcutKey("\xC5\xBFhift+A"), std::nullopt);
  EXPECT_EQ(ParseShortcutKey("Ctrl+\xFF"), std::nullopt);
}

TEST(ShortcutKeysTest, BindingsFirstWinsAndLimit) {
  ShortcutBindings bindings;
  EXPECT_TRUE(bindings.Bind("Ctrl+B", 100));
  EXPECT_FALSE(bindings.Bind("ctrl+b", 200));
  EXPECT_FALSE(bindings.Bind("Alt+Ctrl+A", 202));
  // Written differently, the same combination is a second entry; the first one still wins.
  EXPECT_TRUE(bindings.Bind("Ctrl+ B", 300));
  EXPECT_EQ(bindings.Table().Find(kAccelControl, 66), 100);
  EXPECT_EQ(bindings.Table().Find(kAccelControl | kAccelShift, 66), std::nullopt);
  EXPECT_EQ(bindings.Table().Entries()[0].flags, kAccelControl | kAccelVirtKey);

  bindings.Clear();
  for (std::size_t i = 0; i < kAccelTableMax; ++i) {
    const std::string text = ShortcutDisplayText(kAccelControl, kKeyNameTable[i].name);
    EXPECT_TRUE(bindings.Bind(text, static_cast<std::uint16_t>(i))) << text;
  }
  EXPECT_FALSE(bindings.Bind("Alt+Z", 999));
  EXPECT_EQ(bindings.Table().Entries().size(), kAccelTableMax);
  EXPECT_EQ(bindings.Table().Find(kAccelAlt, 90), std::nullopt);
  EXPECT_EQ(bindings.Table().Find(kAccelControl, kKeyNameTable[60].code), 60);
}

TEST(ShortcutKeysTest, AlternativesBindEachKeyAsIfItStoodAlone) {
  ShortcutBindings bindings;
  EXPECT_TRUE(bindings.Bind("Ctrl+R", 1));
  // The taken alternative is skipped; the others still bind.
  EXPECT_TRUE(bindings.Bind(" F5 | ctrl+r |Nonsense|| Ctrl+Shift+F5 ", 2));
  EXPECT_EQ(bindings.Table().Find(0, 116), 2);
  EXPECT_EQ(bindings.Table().Find(kAccelControl | kAccelShift, 116), 2);
  EXPECT_EQ(bindings.Table().Find(kAccelControl, 82), 1);
  EXPECT_EQ(bindings.Table().Entries().size(), 3u);
  EXPECT_FALSE(bindings.Bind("F5|Ctrl+Shift+F5", 3));
  EXPECT_FALSE(bindings.Bind("|", 4));
  // Alternatives count one by one against the table's limit.
  bindings.Clear();
  std::string many;
  for (std::size_t i = 0; i <= kAccelTableMax; ++i)
    many += ShortcutDisplayText(kAccelAlt, kKeyNameTable[i].name) + "|";
  EXPECT_TRUE(bindings.Bind(many, 5));
  EXPECT_EQ(bindings.Table().Entries().size(), kAccelTableMax);
}

TEST(ShortcutKeysTest, CaptureReadsBackThroughTheParser) {
  ShortcutKeyCapture capture;
  capture.Reset();
  EXPECT_EQ(capture.ModifierDown(kAccelControl), "Ctrl+");
  EXPECT_EQ(capture.ModifierDown(kAccelShift), "Ctrl+Shift+");
  EXPECT_EQ(capture.KeyDown(84, false), "Ctrl+Shift+T");
  capture.ModifierUp(kAccelShift);
  EXPECT_EQ(capture.KeyDown(85, false), "Ctrl+U");
  capture.ModifierUp(kAccelControl);
  EXPECT_EQ(capture.ModifierDown(kAccelAlt), "Alt+U");
  EXPECT_EQ(capture.KeyDown(44, false), std::nullopt);  // Print is not in the table: text stays
  EXPECT_EQ(capture.KeyDown(kVirtualKeyDelete, false), "");
  EXPECT_EQ(capture.KeyDown(kVirtualKeyDelete, true), "Alt+Delete");
  capture.Reset();
  EXPECT_EQ(capture.ModifierDown(kAccelShift), "Shift+");

  for (const TKeyMapRec& row : kKeyNameTable) {
    const std::string text = ShortcutDisplayText(kCtrlAltShift, row.name);
    EXPECT_EQ(ParseShortcutKey(text), (ShortcutKey{kCtrlAltShift, row.code})) << text;
  }
}

class ShortcutKeysThemeTest : public SettingsFileFixture {};

TEST_F(ShortcutKeysThemeTest, ReadsTrimmedTextFromTheme) {
  WriteRaw("[ShortCutKey]\r\nWebBack=\"  Alt+Left \"\r\n");
  EXPECT_EQ(ReadShortcutKeyText(path_, "WebBack"), "Alt+Left");
  EXPECT_EQ(ReadShortcutKeyText(path_, "WebForward"), "");
}

}  // namespace
}  // namespace zelvora
