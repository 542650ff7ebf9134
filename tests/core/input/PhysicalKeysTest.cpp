#include <gtest/gtest.h>

#include "core/input/PhysicalKeys.h"
#include "core/input/ShortcutKeys.h"

namespace zelvora {
namespace {

TEST(PhysicalKeysTest, KeysAreNamedUnshiftedByTheirPlaceOrElseByAUsKeyboard) {
  // Without the key's place: Shift is taken back off the typed character.
  EXPECT_EQ(VirtualKeyOfPrintable(U'_', true, 0), ParseShortcutKey("-")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U'?', true, 0), ParseShortcutKey("/")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U'T', true, 0), ParseShortcutKey("T")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U't', false, 0), ParseShortcutKey("T")->virtualKey);
  // "@" unshifted is a key of its own (a Japanese keyboard's); shifted it is the US "2".
  EXPECT_EQ(VirtualKeyOfPrintable(U'@', false, 0), ParseShortcutKey("@")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U'@', true, 0), ParseShortcutKey("2")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U'+', true, 0), std::nullopt);  // "=" has no name
  EXPECT_EQ(VirtualKeyOfPrintable(U'é', false, 0), std::nullopt);

  // With the place: the digit row is its digits whatever the layout types there (an AZERTY
  // keyboard types "à" on the "0" key), and the key beside the left Shift is "VK_OEM_102".
  EXPECT_EQ(VirtualKeyOfPrintable(U'à', false, 11 + 8), ParseShortcutKey("0")->virtualKey);
  EXPECT_EQ(VirtualKeyOfPrintable(U'>', true, 86 + 8), ParseShortcutKey("VK_OEM_102")->virtualKey);
  // Other places fall back to the character.
  EXPECT_EQ(VirtualKeyOfPrintable(U';', false, 39 + 8), ParseShortcutKey(";")->virtualKey);
}

}  // namespace
}  // namespace zelvora
