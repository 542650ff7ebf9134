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

bool IsHandledElsewhere(std::uint16_t id) {
  return std::find(kHandledElsewhere.begin(), kHandledElsewhere.end(), id) !=
         kHandledElsewhere.end();
}

void ExpectRoute(int id, CommandAction action, CommandOwner owner, int offset) {
  SCOPED_TRACE(id);
  const auto route = RouteCommand(id);
  ASSERT_TRUE(route.has_value());
  EXPECT_EQ(route->action, action);
  EXPECT_EQ(route->owner, owner);
  EXPECT_EQ(route->offset, offset);
}

TEST(CommandDispatchTest, EveryMenuItemRoutesUnlessHandledElsewhere) {
  int routed = 0;
  for (const CommandRow& row : kCommandRows) {
    if (row.kind != RowKind::kItem) {
      continue;
    }
    SCOPED_TRACE(row.name);
    if (IsHandledElsewhere(row.id)) {
      EXPECT_FALSE(RouteCommand(row.id).has_value());
    } else {
      EXPECT_TRUE(RouteCommand(row.id).has_value());
      ++routed;
    }
  }
  EXPECT_GT(routed, 100);
  // Items the menu build adds beside the table's rows.
  for (const int id : {kTreeFileHistoryDeleteId, kScriptNewId, kScriptEditId, kScriptOpenId,
                       kScriptFileHistoryDeleteId}) {
    EXPECT_TRUE(RouteCommand(id).has_value()) << id;
  }
}

TEST(CommandDispatchTest, SingleIdsReachTheirActions) {
  ExpectRoute(200, CommandAction::kExit, CommandOwner::kMainWindow, 0);
  ExpectRoute(3002, CommandAction::kNewTab, CommandOwner::kPages, 0);
  ExpectRoute(3004, CommandAction::kToggleOpenDialog, CommandOwner::kPages, 0);
  ExpectRoute(3006, CommandAction::kStopAllPages, CommandOwner::kPages, 0);
  ExpectRoute(3012, CommandAction::kAnalyseRange, CommandOwner::kPageAnalysis, 0);
  ExpectRoute(3016, CommandAction::kClosePageTab, CommandOwner::kPages, 0);
  ExpectRoute(3018, CommandAction::kToggleOffline, CommandOwner::kSessionOptions, 0);
  ExpectRoute(3027, CommandAction::kFindNext, CommandOwner::kFindHighlight, 0);
  ExpectRoute(3045, CommandAction::kFavoriteAdd, CommandOwner::kFavorites, 0);
  ExpectRoute(3053, CommandAction::kDeleteCache, CommandOwner::kCleanUp, 0);
  ExpectRoute(3063, CommandAction::kToggleToolPanel, CommandOwner::kMainWindow, 0);
  ExpectRoute(3109, CommandAction::kAddProxyItem, CommandOwner::kToolPanel, 0);
  ExpectRoute(3138, CommandAction::kCopyTabTitleAndUrl, CommandOwner::kPages, 0);
  ExpectRoute(3159, CommandAction::kTreeCommand, CommandOwner::kToolPanel, 0);
  ExpectRoute(3163, CommandAction::kSyncOfflineState, CommandOwner::kSessionOptions, 0);
  ExpectRoute(4770, CommandAction::kResetScriptMenu, CommandOwner::kScriptMenu, 0);
  ExpectRoute(5874, CommandAction::kClearTabFileHistory, CommandOwner::kFileHistory, 0);
  ExpectRoute(5875, CommandAction::kClearToolFileHistory, CommandOwner::kFileHistory, 0);
  ExpectRoute(5877, CommandAction::kClearScriptFileHistory, CommandOwner::kFileHistory, 0);
  // The tree commands listed one by one around the ids that have actions of their own.
  ExpectRoute(3088, CommandAction::kTreeCommand, CommandOwner::kToolPanel, 0);
  ExpectRoute(3114, CommandAction::kTreeCommand, CommandOwner::kToolPanel, 1);
}

TEST(CommandDispatchTest, RangesGiveTheOffsetWithinTheRange) {
  ExpectRoute(3079, CommandAction::kSelectToolPage, CommandOwner::kToolPanel, 0);
  ExpectRoute(3082, CommandAction::kSelectToolPage, CommandOwner::kToolPanel, 3);
  ExpectRoute(3076, CommandAction::kSetPermissions, CommandOwner::kSessionOptions, 6);
  ExpectRoute(3143, CommandAction::kSetCharSize, CommandOwner::kPages, 0);
  ExpectRoute(3147, CommandAction::kSetCharSize, CommandOwner::kPages, 4);
  ExpectRoute(3226, CommandAction::kSetSelectionAction, CommandOwner::kSelection, 2);
  ExpectRoute(3232, CommandAction::kSetSelectBeforeAction, CommandOwner::kSelection, 2);
  ExpectRoute(3269, CommandAction::kOpenToolFileHistory, CommandOwner::kToolPanel, 0);
  ExpectRoute(3567, CommandAction::kOpenToolFileHistory, CommandOwner::kToolPanel, 298);
  ExpectRoute(3869, CommandAction::kOpenTabFileHistory, CommandOwner::kPages, 0);
  ExpectRoute(3871, CommandAction::kOpenTabFileHistory, CommandOwner::kPages, 2);
  ExpectRoute(4067, CommandAction::kOpenTabFileHistory, CommandOwner::kPages, 198);
  ExpectRoute(4469, CommandAction::kSelectScriptFileHistory, CommandOwner::kScriptMenu, 0);
  ExpectRoute(4667, CommandAction::kSelectScriptFileHistory, CommandOwner::kScriptMenu, 198);
  ExpectRoute(4775, CommandAction::kRunScript, CommandOwner::kScriptMenu, 0);
  ExpectRoute(5773, CommandAction::kRunScript, CommandOwner::kScriptMenu, 998);
  ExpectRoute(3267, CommandAction::kKeywordBoxMaintenance, CommandOwner::kKeywords, 28);
}

TEST(CommandDispatchTest, IdsOutsideEveryRowAreLeftAlone) {
  // Gaps between rows, the ends of the id space, and the runs the back and forward drop-downs
  // and the keyword boxes handle themselves.
  for (const int id : {-1,   0,    199,  201,  3001, 3023, 3025, 3033, 3044, 3061, 3077,  3078,
                       3112, 3162, 3165, 3223, 3229, 3233, 3238, 3268, 3568, 3569, 3867,  3868,
                       4068, 4172, 4467, 4468, 4668, 4767, 4774, 5774, 5876, 5878, 65535, 70000}) {
    EXPECT_FALSE(RouteCommand(id).has_value()) << id;
  }
}

TEST(CommandDispatchTest, TableIsSortedWithoutOverlaps) {
  const auto rows = DispatchRows();
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_LE(rows[i].first, rows[i].last) << i;
    if (i > 0) {
      EXPECT_LT(rows[i - 1].last, rows[i].first) << i;
    }
    // Both ends of every row find that row.
    for (const int id : {int{rows[i].first}, int{rows[i].last}}) {
      const auto route = RouteCommand(id);
      ASSERT_TRUE(route.has_value()) << id;
      EXPECT_EQ(route->action, rows[i].action) << id;
      EXPECT_EQ(route->offset, id - rows[i].first) << id;
    }
  }
}

TEST(CommandDispatchTest, OnlyNotificationCodeZeroIsACommand) {
  EXPECT_TRUE(DispatchAccepts(0));
  EXPECT_FALSE(DispatchAccepts(1));
  EXPECT_FALSE(DispatchAccepts(0x300));  // an edit box's change notification
  EXPECT_FALSE(DispatchAccepts(-1));
}

}  // namespace
}  // namespace zelvora
