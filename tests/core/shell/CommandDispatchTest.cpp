#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/shell/CommandDispatch.h"
#include "core/shell/CommandTable.h"
#include "core/shell/MenuModel.h"

namespace zelvora {
namespace {

// Menu items whose ids the dispatcher deliberately leaves alone.
constexpr std::array<std::uint16_t, 13> kHandledElsewhere = {
    // "Help" has no dispatcher row: choosing it does nothing.
    9,
    // "CharSize", "SelectAction", "SelectBeforeAction": replaced by their submenus, never sent.
    3155, 3156, 3157,
    // The configuration dialog's list-view menu runs its own commands.
    3166, 3167, 3168, 3170, 3171,
    // The keyword boxes' context menu runs its own commands.
    3234, 3235, 3236, 3237};

TEST(CommandDispatchTest, EveryMenuItemRoutesUnlessHandledElsewhere) {
  for (const CommandRow& row : kCommandRows) {
    if (row.kind != RowKind::kItem)
      continue;
    const bool elsewhere = std::find(kHandledElsewhere.begin(), kHandledElsewhere.end(), row.id) !=
                           kHandledElsewhere.end();
    EXPECT_EQ(RouteCommand(row.id).has_value(), !elsewhere) << row.name;
  }
  // Items the menu build adds beside the table's rows.
  for (const int id : {kTreeFileHistoryDeleteId, kScriptNewId, kScriptEditId, kScriptOpenId,
                       kScriptFileHistoryDeleteId}) {
    EXPECT_TRUE(RouteCommand(id).has_value()) << id;
  }
}

TEST(CommandDispatchTest, EveryRowIsFoundFromBothEndsAndNothingAroundIt) {
  const auto rows = DispatchRows();
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (const int id : {int{rows[i].first}, int{rows[i].last}}) {
      const auto route = RouteCommand(id);
      ASSERT_TRUE(route.has_value()) << id;
      EXPECT_EQ(route->action, rows[i].action) << id;
      EXPECT_EQ(route->owner, rows[i].owner) << id;
      EXPECT_EQ(route->offset, id - rows[i].first) << id;
    }
    if (i > 0 && rows[i - 1].last + 1 < rows[i].first) {
      EXPECT_FALSE(RouteCommand(rows[i].first - 1).has_value()) << rows[i].first - 1;
    }
  }
  // The ends of the id space, and the runs the back and forward drop-downs and the keyword boxes
  // handle themselves.
  for (const int id : {-1, 0, 199, 3569, 3867, 4172, 65535, 70000})
    EXPECT_FALSE(RouteCommand(id).has_value()) << id;
}

}  // namespace
}  // namespace zelvora
