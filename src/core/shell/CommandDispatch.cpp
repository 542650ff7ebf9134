#include "core/shell/CommandDispatch.h"

#include <algorithm>
#include <array>

#include "core/shell/CommandTable.h"
#include "core/shell/MenuModel.h"

namespace zelvora {

namespace {

using A = CommandAction;
using O = CommandOwner;

constexpr DispatchRow One(std::uint16_t id, CommandAction action, CommandOwner owner) {
  return {id, id, action, owner};
}

constexpr DispatchRow Run(std::uint16_t first, std::uint16_t last, CommandAction action,
                          CommandOwner owner) {
  return {first, last, action, owner};
}

constexpr DispatchRow Range(const DynamicIdRange& range, CommandAction action, CommandOwner owner) {
  return {range.firstId, range.lastId, action, owner};
}

// clang-format off
constexpr std::array kRows = {
  One(kExitId, A::kExit,                          O::kMainWindow),
  One(3002, A::kNewTab,                           O::kPages),
  One(3003, A::kClipNewTab,                       O::kPages),
  One(3004, A::kToggleOpenDialog,                 O::kPages),
  One(3005, A::kStopPage,                         O::kPages),
  One(3006, A::kStopAllPages,                     O::kPages),
  One(3007, A::kRefreshPage,                      O::kPages),
  One(3008, A::kRefreshAllPages,                  O::kPages),
  One(3009, A::kViewSource,                       O::kPages),
  One(3010, A::kShowRangeSource,                  O::kSelection),
  One(3011, A::kCopyRangeSource,                  O::kSelection),
  One(3012, A::kAnalyseRange,                     O::kPageAnalysis),
  One(3013, A::kInternetOptions,                  O::kMainWindow),
  One(3014, A::kCloseTab,                         O::kPages),
  One(3015, A::kCloseAllTabs,                     O::kPages),
  One(3016, A::kClosePageTab,                     O::kPages),
  One(3017, A::kSaveAs,                           O::kPages),
  One(3018, A::kToggleOffline,                    O::kSessionOptions),
  One(kPrintConfigId, A::kPageSetup,              O::kPages),
  One(3020, A::kPrint,                            O::kPages),
  One(3021, A::kPrintPreview,                     O::kPages),
  One(3022, A::kShowProperties,                   O::kPages),
  One(3024, A::kGoHome,                           O::kPages),
  One(3026, A::kFindDialog,                       O::kFindHighlight),
  One(3027, A::kFindNext,                         O::kFindHighlight),
  One(3028, A::kFindPrevious,                     O::kFindHighlight),
  One(3029, A::kNextCharSize,                     O::kPages),
  One(3030, A::kHistoryCatalog,                   O::kPages),
  One(3031, A::kRestoreTabList,                   O::kPages),
  One(3032, A::kWriteTabList,                     O::kPages),
  One(3034, A::kHistoryDateDialog,                O::kHistorySearch),
  One(3043, A::kToggleOnTop,                      O::kMainWindow),
  One(3045, A::kFavoriteAdd,                      O::kFavorites),
  One(3046, A::kFavoriteAddAll,                   O::kFavorites),
  One(3047, A::kFavoriteAddClicked,               O::kFavorites),
  One(3049, A::kConfigDialog,                     O::kConfigDialog),
  One(3050, A::kCustomizeToolbar,                 O::kMainWindow),
  One(3051, A::kEmptyClipboard,                   O::kCleanUp),
  One(3052, A::kDeleteHistory,                    O::kCleanUp),
  One(3053, A::kDeleteCache,                      O::kCleanUp),
  One(3056, A::kCloseOtherTabs,                   O::kPages),
  One(3057, A::kCloseTabsLeft,                    O::kPages),
  One(3058, A::kCloseTabsRight,                   O::kPages),
  One(3059, A::kNextTab,                          O::kPages),
  One(3060, A::kPreviousTab,                      O::kPages),
  One(3062, A::kToggleMaximize,                   O::kMainWindow),
  One(3063, A::kToggleToolPanel,                  O::kMainWindow),
  One(3064, A::kToggleReBar,                      O::kMainWindow),
  One(3065, A::kToggleMenuBar,                    O::kMainWindow),
  One(3066, A::kToggleCaption,                    O::kMainWindow),
  One(3067, A::kToggleStatusBar,                  O::kMainWindow),
  One(3068, A::kGoForward,                        O::kPages),
  One(3069, A::kGoBack,                           O::kPages),
  Run(3070, 3076, A::kSetPermissions,             O::kSessionOptions),
  Run(3079, 3082, A::kSelectToolPage,             O::kToolPanel),
  One(kFavoriteEditId, A::kEditListFile,          O::kToolPanel),
  One(kFavoriteOpenId, A::kTreeCommand,           O::kToolPanel),
  One(3085, A::kWriteListFile,                    O::kToolPanel),
  One(3086, A::kWriteListFileAs,                  O::kToolPanel),
  One(3087, A::kReloadListFile,                   O::kToolPanel),
  One(kFavoriteNewId, A::kTreeCommand,            O::kToolPanel),
  One(3089, A::kOpenSelectedInNewTabs,            O::kFavorites),
  One(3090, A::kOpenLimitedInNewTabs,             O::kFavorites),
  One(3091, A::kOpenSelectedInTab,                O::kFavorites),
  One(3092, A::kCopyItemNames,                   O::kFavorites),
  One(3093, A::kCopyItemValues,                  O::kFavorites),
  One(3094, A::kCopyItemBoth,                    O::kFavorites),
  One(3095, A::kCopyItems,                       O::kFavorites),
  One(3096, A::kCutItems,                        O::kFavorites),
  One(3097, A::kPasteItems,                      O::kFavorites),
  One(3098, A::kDeleteItems,                     O::kFavorites),
  One(3099, A::kSelectAllItems,                  O::kFavorites),
  One(3100, A::kLimitSelection,                  O::kFavorites),
  Run(3101, 3104, A::kSelectByVisits,             O::kHistorySearch),
  One(3105, A::kEditItemName,                     O::kToolPanel),
  One(3106, A::kItemEditDialog,                   O::kToolPanel),
  One(3107, A::kAddFolder,                        O::kFavorites),
  One(3108, A::kAddUrlItem,                       O::kFavorites),
  One(3109, A::kAddProxyItem,                     O::kFavorites),
  One(3110, A::kCloseAllFolders,                  O::kFavorites),
  One(3111, A::kOpenAllFolders,                   O::kFavorites),
  Run(3113, 3114, A::kTreeCommand,                O::kToolPanel),
  One(3115, A::kRunHistorySearch,                 O::kHistorySearch),
  One(3116, A::kRunPageAnalysis,                  O::kPageAnalysis),
  One(3117, A::kGoToAddress,                      O::kKeywords),
  One(3118, A::kSearchKeyword,                    O::kKeywords),
  One(3121, A::kKeywordBoxMaintenance,            O::kKeywords),
  One(3124, A::kKeywordBoxMaintenance,            O::kKeywords),
  One(3127, A::kKeywordBoxMaintenance,            O::kKeywords),
  One(3130, A::kKeywordBoxMaintenance,            O::kKeywords),
  One(3136, A::kKeywordBoxMaintenance,            O::kKeywords),
  One(3137, A::kCopyTabTitle,                     O::kPages),
  One(3138, A::kCopyTabTitleAndUrl,               O::kPages),
  One(3139, A::kCopyTabUrl,                       O::kPages),
  One(3140, A::kCopyAllTitles,                    O::kPages),
  One(3141, A::kCopyAllTitlesAndUrls,             O::kPages),
  One(3142, A::kCopyAllUrls,                      O::kPages),
  Run(3143, 3147, A::kSetCharSize,                O::kPages),
  One(3150, A::kThemeMerge,                       O::kTheme),
  One(kAboutId, A::kAbout,                        O::kMainWindow),
  One(3158, A::kFocusCurrentPage,                 O::kPages),
  One(3159, A::kDeleteHistoryToo,                 O::kHistorySearch),
  One(3160, A::kSelectionDialog,                  O::kSelection),
  One(3161, A::kFocusTabPage,                     O::kPages),
  One(3163, A::kSyncOfflineState,                 O::kSessionOptions),
  One(3164, A::kPageNotice,                       O::kPages),
  Run(3224, 3228, A::kSetSelectionAction,         O::kSelection),
  Run(3230, 3232, A::kSetSelectBeforeAction,      O::kSelection),
  Run(3239, 3267, A::kKeywordBoxMaintenance,      O::kKeywords),
  Range(kTreeFileHistoryIds, A::kOpenToolFileHistory, O::kToolPanel),
  Range(kTabFileHistoryIds, A::kOpenTabFileHistory,   O::kPages),
  Range(kScriptFileHistoryIds, A::kSelectScriptFileHistory, O::kScriptMenu),
  One(4768, A::kShowStandardMenu,                 O::kMainWindow),
  One(4769, A::kScheduleScriptMenuReset,          O::kScriptMenu),
  One(4770, A::kResetScriptMenu,                  O::kScriptMenu),
  One(kScriptNewId, A::kNewScript,                O::kScriptMenu),
  One(kScriptEditId, A::kEditScript,              O::kScriptMenu),
  One(kScriptOpenId, A::kOpenScript,              O::kScriptMenu),
  Range(kScriptEntryIds, A::kRunScript,           O::kScriptMenu),
  One(kFileHistoryDeleteId, A::kClearTabFileHistory,       O::kFileHistory),
  One(kTreeFileHistoryDeleteId, A::kClearToolFileHistory,  O::kFileHistory),
  One(kScriptFileHistoryDeleteId, A::kClearScriptFileHistory, O::kFileHistory),
  One(kFavoriteImportId, A::kImportBookmarks,     O::kFavorites),
  One(kFavoriteExportId, A::kExportBookmarks,     O::kFavorites),
  One(kTabSleepId, A::kSleepTab,                  O::kTabSleep),
};
// clang-format on

// A binary search needs the rows in id order, and no id may have two meanings.
constexpr bool RowsAreSortedWithoutOverlaps() {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    if (kRows[i].first > kRows[i].last) {
      return false;
    }
    if (i > 0 && kRows[i - 1].last >= kRows[i].first) {
      return false;
    }
  }
  return true;
}

static_assert(RowsAreSortedWithoutOverlaps());

}  // namespace

std::span<const DispatchRow> DispatchRows() {
  return kRows;
}

std::optional<CommandRoute> RouteCommand(int id) {
  // The first row that starts after the id; the row before it is the only candidate.
  const auto after =
      std::upper_bound(kRows.begin(), kRows.end(), id,
                       [](int value, const DispatchRow& row) { return value < row.first; });
  if (after == kRows.begin()) {
    return std::nullopt;
  }
  const DispatchRow& row = *(after - 1);
  if (id > row.last) {
    return std::nullopt;
  }
  return CommandRoute{row.action, row.owner, id - row.first};
}

}  // namespace zelvora
