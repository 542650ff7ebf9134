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

}  // namespace
}  // namespace zelvora
