#include <gtest/gtest.h>

#include "core/input/KeyRouting.h"

namespace zelvora {
namespace {

TEST(KeyRoutingTest, PagesGetTheirEditingKeysFirstAndLettersOnlyWithCtrl) {
  EXPECT_TRUE(OfferedToPageFirst(0x2E, false));  // Delete
  EXPECT_TRUE(OfferedToPageFirst('C', true));
  EXPECT_FALSE(OfferedToPageFirst('C', false));
  EXPECT_FALSE(OfferedToPageFirst('T', true));
  EXPECT_FALSE(OfferedToPageFirst(0x26, false));  // Up is the shortcut table's
}

}  // namespace
}  // namespace zelvora
