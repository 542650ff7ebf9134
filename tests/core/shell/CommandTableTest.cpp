#include <gtest/gtest.h>

#include <cstdint>

#include "core/shell/CommandTable.h"

namespace zelvora {
namespace {

// The shape of the blocks is checked where the table is compiled; what is left is the lookup.
TEST(CommandTableTest, BlockRowsAreEmptyForABlockOutsideTheTable) {
  EXPECT_EQ(BlockRows(kSelectBeforeActionBlock).size(), kSelectBeforeActionBlock.count);
  EXPECT_EQ(BlockRows(kSelectBeforeActionBlock).front().name, "SelectBeforeAction");
  EXPECT_TRUE(BlockRows(CommandBlock{kCommandRowCount, 1}).empty());
  EXPECT_TRUE(BlockRows(CommandBlock{kCommandRowCount - 7, 8}).empty());
  EXPECT_TRUE(BlockRows(CommandBlock{8, SIZE_MAX}).empty());
}

}  // namespace
}  // namespace zelvora
