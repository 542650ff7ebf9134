#pragma once

// Where the main window sends a WM_COMMAND: the dispatcher's table as plain data. Each row maps
// one id, or a run of ids, to an action and to the part of the program that carries it out, so
// the window layer only has to switch on the action. Ids without a row do nothing in the
// dispatcher: the keyword boxes' and the configuration dialog's context menus, the back and
// forward drop-downs and the keyword file histories handle their own ids.

#include <cstdint>
#include <optional>
#include <span>

namespace zelvora {

// Who carries a command out.
enum class CommandOwner : std::uint8_t {
  kMainWindow,      // window state, visibility switches, the closing sequence, popups of its own
  kFileHistory,     // clearing the file-history lists
  kConfigDialog,    // the configuration dialog
  kPages,           // the tab strip, its pages and the tab-list files
  kSessionOptions,  // per-tab permissions and their defaults for new tabs, the offline state
  kToolPanel,       // the tool pages, their trees and their list files
  kFavorites,       // adding pages to the tree and opening its items
  kHistorySearch,   // the history search and its date dialog
  kPageAnalysis,    // analysing a page or a selected range
  kKeywords,        // the address bar, the search bar and the keyword boxes
  kFindHighlight,   // in-page find
  kSelection,       // selection actions and the selection dialog
  kTheme,           // theme files
  kScriptMenu,      // the Script menu, its scripts and their file history
  kCleanUp,         // clipboard, history and cache clean-up
  kTabSleep,        // putting tabs to sleep
};
inline constexpr int kCommandOwnerCount = static_cast<int>(CommandOwner::kTabSleep) + 1;

enum class CommandAction : std::uint8_t {
  // Main window.
  kExit,              // closing sequence, as if the window's close box were pressed
  kInternetOptions,   // the platform's internet options panel
  kToggleOnTop,       // always on top
  kCustomizeToolbar,  // the toolbar's customise dialog
  kToggleMaximize,    // restore a maximised window, else maximise it
  kToggleToolPanel,   // refused while a tool task runs
  kToggleReBar,
  kToggleMenuBar,
  kToggleCaption,
  kToggleStatusBar,
  kAbout,
  kShowStandardMenu,  // the Standard Menu at the point in lParam
  // File histories.
  kClearTabFileHistory,
  kClearToolFileHistory,  // the list of the current tool page
  kClearScriptFileHistory,
  // Configuration dialog.
  kConfigDialog,
  // Tab strip and pages.
  kNewTab,            // "about:blank" in a new tab
  kClipNewTab,        // the clipboard text as URLs
  kToggleOpenDialog,  // close the open dialog when shown, else show it
  kStopPage,          // the tab's page
  kStopAllPages,
  kRefreshPage,  // the current page
  kRefreshAllPages,
  kViewSource,      // the tab's page
  kSaveAs,          // the tab's page
  kShowProperties,  // the tab's page
  kCloseTab,        // the tab
  kCloseAllTabs,
  kClosePageTab,  // posted by a page's own event: the parameter is the page's id
  kPageSetup,
  kPrint,
  kPrintPreview,
  kGoHome,
  kNextCharSize,    // after the smallest comes the largest
  kHistoryCatalog,  // the tab's back and forward history
  kRestoreTabList,  // open-file dialog for a tab list
  kWriteTabList,    // save-file dialog for the tab list
  kCloseOtherTabs,  // every tab but the clicked one
  kCloseTabsLeft,
  kCloseTabsRight,
  kNextTab,
  kPreviousTab,
  kGoForward,
  kGoBack,
  kCopyTabTitle,
  kCopyTabTitleAndUrl,
  kCopyTabUrl,
  kCopyAllTitles,
  kCopyAllTitlesAndUrls,
  kCopyAllUrls,
  kSetCharSize,         // offset 0 is the largest size: the text size is 4 - offset
  kFocusCurrentPage,    // posted before a mouse press is handed to the current page
  kFocusTabPage,        // posted on activation when the current tab's page lost the focus
  kPageNotice,          // posted by the tab strip for the current page
  kOpenTabFileHistory,  // offset n opens entry n + 1 of the tab-list file history
  // Session options.
  kSetPermissions,    // offset: the permission button, 0 to 6
  kToggleOffline,     // offline mode; going offline also stops every page
  kSyncOfflineState,  // bring the check and the status-bar image in line with the offline state
  // Tool panel.
  kSelectToolPage,  // offset: 0 Favorite, 1 History, 2 Analysis, 3 Proxy
  kEditListFile,    // the page's list file in a text editor
  kTreeCommand,     // handed to the page's tree with its id
  kWriteListFile,
  kWriteListFileAs,
  kReloadListFile,
  kSelectAllItems,
  kLimitSelection,
  kEditItemName,
  kItemEditDialog,
  kAddFolder,
  kAddUrlItem,
  kAddProxyItem,
  kOpenToolFileHistory,  // offset n opens entry n + 1 of the current page's file history
  // Favorites.
  kFavoriteAdd,         // the current tab
  kFavoriteAddAll,      // every tab
  kFavoriteAddClicked,  // the clicked tab
  kOpenSelectedInNewTabs,
  kOpenLimitedInNewTabs,
  kOpenSelectedInTab,
  kCopyItemNames,   // the marked items' names as plain text
  kCopyItemValues,  // their values
  kCopyItemBoth,    // name then value of each
  kCopyItems,       // the marked items as tree text
  kCutItems,
  kPasteItems,
  kDeleteItems,
  kCloseAllFolders,
  kOpenAllFolders,
  kImportBookmarks,  // a bookmark file of another browser into the tree
  kExportBookmarks,
  // History search and page analysis.
  kHistoryDateDialog,
  kRunHistorySearch,
  kRunPageAnalysis,
  kSelectByVisits,    // offset: not visited, not visited in range, visited, visited in range
  kDeleteHistoryToo,  // the marked items, and their visits from the history
  kAnalyseRange,      // refused while a tool task runs
  // Keyword lists and bars.
  kGoToAddress,
  kSearchKeyword,
  kKeywordBoxMaintenance,  // handed to the keyword boxes with its id
  // In-page find.
  kFindDialog,
  kFindNext,
  kFindPrevious,
  // Selection actions.
  kShowRangeSource,
  kCopyRangeSource,  // an empty selection empties the clipboard
  kSelectionDialog,
  kSetSelectionAction,     // offset: the selection action, 0 to 4
  kSetSelectBeforeAction,  // offset: 0 none, 1 selection dialog, 2 menu
  // Theme.
  kThemeMerge,
  // Script menu.
  kScheduleScriptMenuReset,  // posted after the Standard Menu; it posts the reset in turn
  kResetScriptMenu,          // drop the script entries; they are rebuilt when the menu opens
  kNewScript,
  kEditScript,
  kOpenScript,
  kRunScript,                // offset n runs script entry n + 1
  kSelectScriptFileHistory,  // offset n makes entry n + 1 of the script file history current
  // Clean-up.
  kEmptyClipboard,
  kDeleteHistory,
  kDeleteCache,
  // Tab sleep.
  kSleepTab,  // the tab of the tab menu, else the current one
};

// One row of the dispatcher: the ids first..last (equal for a single id).
struct DispatchRow {
  std::uint16_t first;
  std::uint16_t last;
  CommandAction action;
  CommandOwner owner;
};

struct CommandRoute {
  CommandAction action;
  CommandOwner owner;
  // The id's distance from the first id of its row: the entry, page, button or size index for
  // the indexed runs, 0 for a single id.
  int offset;
};

// The rows, sorted by id, no two sharing an id.
std::span<const DispatchRow> DispatchRows();

// The route of a command id; nullopt when the dispatcher leaves the id alone.
std::optional<CommandRoute> RouteCommand(int id);

// Only notification code 0 (menus, accelerators, buttons clicked) is a command; the change and
// focus notifications of the bars' controls arrive on the same message and are ignored.
constexpr bool DispatchAccepts(int notificationCode) {
  return notificationCode == 0;
}

}  // namespace zelvora
