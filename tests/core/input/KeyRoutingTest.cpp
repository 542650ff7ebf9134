#include <gtest/gtest.h>

#include "core/input/KeyRouting.h"

namespace zelvora {
namespace {

TEST(KeyRoutingTest, PagesGetTheirEditingKeysFirst) {
  for (const std::uint16_t key : {0x08, 0x09, 0x0D, 0x10, 0x1B, 0x25, 0x27, 0x2D, 0x2E, 0x74})
    EXPECT_TRUE(OfferedToPageFirst(key, false)) << key;
  for (const char key : {'A', 'C', 'F', 'V', 'X', 'Z'}) {
    EXPECT_TRUE(OfferedToPageFirst(static_cast<std::uint16_t>(key), true)) << key;
    EXPECT_FALSE(OfferedToPageFirst(static_cast<std::uint16_t>(key), false)) << key;
  }
  EXPECT_FALSE(OfferedToPageFirst('T', true));
  EXPECT_FALSE(OfferedToPageFirst(0x75, false));  // F6
  EXPECT_FALSE(OfferedToPageFirst(0x26, false));  // Up is the shortcut table's
}

}  // namespace
}  // namespace zelvora
