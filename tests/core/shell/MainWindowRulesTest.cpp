#include <gtest/gtest.h>

#include <set>

#include "core/shell/CommandDispatch.h"
#include "core/shell/CommandTable.h"
#include "core/shell/MainWindowRules.h"

namespace zelvora {
namespace {

bool IsTableItem(int id) {
  for (const CommandRow& row : kCommandRows) {
    if (row.kind == RowKind::kItem && row.id == id)
      return true;
  }
  return false;
}

TEST(MainWindowRulesTest, ButtonsRunDistinctRoutedCommandsAndRefreshedOnesAreMenuItems) {
  std::set<int> commands;
  for (int index = 0; index < kToolbarButtonCount; ++index) {
    const ToolbarButton& button = kToolbarButtons[static_cast<std::size_t>(index)];
    EXPECT_TRUE(commands.insert(button.command).second) << index;
    EXPECT_TRUE(RouteCommand(button.command).has_value()) << button.command;
    EXPECT_EQ(ToolbarIndexOfCommand(button.command), index);
  }
  EXPECT_EQ(ToolbarIndexOfCommand(3070), -1);
  for (int tag = 0; tag < kSpeedButtonCount; ++tag) {
    const auto button = SpeedButtonOf(tag);
    ASSERT_TRUE(button.has_value()) << tag;
    if (button->command != 0) {
      EXPECT_TRUE(RouteCommand(button->command).has_value()) << tag;
    }
  }
  EXPECT_FALSE(SpeedButtonOf(kSpeedButtonCount).has_value());
  EXPECT_FALSE(SpeedButtonOf(-1).has_value());

  for (const auto& group : {std::span<const std::uint16_t>(kPageCommands),
                            std::span<const std::uint16_t>(kClipboardCommands),
                            std::span<const std::uint16_t>(kTrackedDialogCommands)}) {
    for (const std::uint16_t id : group)
      EXPECT_TRUE(IsTableItem(id)) << id;
  }
  EXPECT_EQ(std::set<int>(kPageCommands.begin(), kPageCommands.end()).size(), kPageCommands.size());
  EXPECT_EQ(CharSizeCommand(4), 3143);  // the largest size is the first item
  EXPECT_EQ(CharSizeCommand(0), 3147);
}

TEST(MainWindowRulesTest, LayeredAlphaFollowsEachWindowsOwnFlag) {
  TSettings settings;
  for (int window = 0; window < kLayeredWindowCount; ++window)
    settings.integers[static_cast<std::size_t>(kIntLayeredMainValue + window)] = 100 + window;
  EXPECT_FALSE(LayeredAlpha(settings, kLayeredMain).has_value());
  settings.flags[kFlagLayeredMain + int{kLayeredOpen}] = 1;
  EXPECT_EQ(LayeredAlpha(settings, kLayeredOpen), 102);
  EXPECT_FALSE(LayeredAlpha(settings, kLayeredMain).has_value());
  // Only the low eight bits are an opacity.
  settings.integers[kIntLayeredMainValue + int{kLayeredOpen}] = 0x1FF;
  EXPECT_EQ(LayeredAlpha(settings, kLayeredOpen), 0xFF);
  settings.flags[kFlagLayeredColorKey] = 1;
  EXPECT_FALSE(LayeredAlpha(settings, static_cast<LayeredWindow>(kLayeredWindowCount)));
}

TEST(MainWindowRulesTest, TheAddressBarTakesTheRoomItsRowLeaves) {
  using Widths = std::array<int, 3>;
  const std::array<int, 3> needs = {450, 90, 300};
  // The bands' defaults on a first start: far below what they need.
  const std::array<RebarBand, 3> fresh = {{{0, 378, false}, {1, 20, false}, {2, 20, false}}};
  EXPECT_EQ(RebarBandWidths(fresh, needs, 1200), (Widths{450, 450, 300}));
  // Wherever it stands in its row.
  const std::array<RebarBand, 3> addressLast = {
      {{0, 450, false}, {2, 200, false}, {1, 200, false}}};
  EXPECT_EQ(RebarBandWidths(addressLast, needs, 1400), (Widths{450, 650, 300}));
  // Widths the user set are kept, also when the row cannot hold them.
  const std::array<RebarBand, 3> set = {{{0, 450, false}, {1, 300, false}, {2, 600, false}}};
  EXPECT_EQ(RebarBandWidths(set, needs, 1200), (Widths{450, 300, 600}));
  EXPECT_EQ(RebarBandWidths(set, needs, 1000), (Widths{450, 300, 600}));
  // On a row of its own it is as wide as the row; the other row keeps its widths.
  const std::array<RebarBand, 3> ownRow = {{{2, 320, false}, {0, 450, false}, {1, 200, true}}};
  EXPECT_EQ(RebarBandWidths(ownRow, needs, 1200), (Widths{450, 1200, 320}));
}

}  // namespace
}  // namespace zelvora
