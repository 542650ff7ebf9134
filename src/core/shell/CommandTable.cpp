#include "core/shell/CommandTable.h"

namespace zelvora {

namespace {

constexpr CommandRow Begin(std::uint8_t menu, std::uint16_t id, std::string_view name = {},
                           std::string_view caption = {}) {
  return {RowKind::kBeginPopup, menu, id, name, caption};
}

constexpr CommandRow Item(std::uint8_t menu, std::uint16_t id, std::string_view name,
                          std::string_view caption) {
  return {RowKind::kItem, menu, id, name, caption};
}

constexpr CommandRow Separator(std::uint8_t menu) {
  return {RowKind::kSeparator, menu, kSeparatorId, {}, {}};
}

// An end row carries its popup's base id; only its name and caption are ever read.
constexpr CommandRow End(std::uint8_t menu, std::uint16_t id, std::string_view name,
                         std::string_view caption) {
  return {RowKind::kEndPopup, menu, id, name, caption};
}

}  // namespace

// clang-format off
constexpr std::array<CommandRow, kCommandRowCount> kCommandRows = {{
  Begin(0, 3001),
  Item(0, 3002, "NewTab", "&New"),
  Item(0, 3003, "ClipNewTab", "&ClipNew"),
  Separator(0),
  Item(0, 3004, "WebOpen", "Open"),
  Item(0, 3017, "WebWriteAS", "Write As"),
  Item(0, 3014, "WebClose", "Close"),
  Separator(0),
  Item(0, 3031, "TabUrlRestore", "Tab Url Restore"),
  Item(0, 3032, "TabUrlWriteAs", "Tab Url Write As"),
  Item(0, 5874, "FileHistoryDelete", "File History Delete"),
  Item(0, 3019, "PrintConfig", "Print Config"),
  Item(0, 3020, "Print", "Print"),
  Item(0, 3021, "PrintPreview", "Print Preview"),
  Separator(0),
  Item(0, 3022, "Property", "Property"),
  Item(0, 3018, "OFFLine", "OFF Line"),
  Item(0, 200, "Exit", "&Exit"),
  End(0, 3001, "FileMenu", "&File"),

  Begin(5, 3042),
  Item(5, 3043, "OnTop", "&OnTop"),
  Separator(5),
  Item(5, 3069, "WebBack", "Go &Back"),
  Item(5, 3068, "WebForward", "Go &Forward"),
  Separator(5),
  Item(5, 3005, "WebStop", "Stop"),
  Item(5, 3007, "WebReload", "Reload"),
  Separator(5),
  Item(5, 3155, "CharSize", "CharSize"),
  Separator(5),
  Item(5, 3009, "WebSource", "Source"),
  Item(5, 3010, "WebSourceRange", "Source Range"),
  Item(5, 3011, "WebSourceRangeCopy", "Source Range Copy"),
  Item(5, 3012, "WebSourceRangeAnalysis", "Range Analysis"),
  Separator(5),
  Item(5, 3026, "WebSearch", "&Search"),
  Item(5, 3027, "WebSearchNext", "Search Prev"),
  Item(5, 3028, "WebSearchPrev", "Search Next"),
  Separator(5),
  Item(5, 3160, "SelectDialog", "Select Dialog"),
  Item(5, 3156, "SelectAction", "Select Action"),
  Item(5, 3157, "SelectBeforeAction", "Select Before Action"),
  End(5, 3042, "DISPLAYMenu", "&DISPLAY"),

  Begin(6, 3048),
  Item(6, 3049, "ToolConfig", "&Config"),
  Item(6, 3050, "ToolBarEdit", "&ToolBar Edit"),
  Separator(6),
  Item(6, 3013, "ToolInternetOption", "&Internet Option"),
  Separator(6),
  Item(6, 3052, "ToolDeleteHistory", "&Delete History"),
  Item(6, 3053, "ToolDeleteCache", "&Delete Cache"),
  Separator(6),
  Item(6, 3051, "ToolDeleteClipboard", "&Delete Clipboard"),
  End(6, 3048, "ToolMenu", "&Tool"),

  Begin(7, 3054),
  End(7, 3054, "ScriptMenu", "&Script"),

  Begin(1, 3055),
  Item(1, 3002, "NewTab", "&New"),
  Separator(1),
  Item(1, 3059, "TabNext", "&Next"),
  Item(1, 3060, "TabPrev", "&Prev"),
  Separator(1),
  Item(1, 3015, "WebCloseAll", "&Close All"),
  Separator(1),
  Item(1, 3045, "FavoriteADD", "Favorite ADD"),
  Item(1, 3046, "FavoriteAllADD", "Favorite All ADD"),
  End(1, 3055, "TabMenu", "&Tab"),

  Begin(8, 3061),
  Item(8, 3062, "Maximize", "Maximize"),
  Separator(8),
  Item(8, 3064, "ShowReBar", "ReBar"),
  Item(8, 3063, "ShowTool", "Tool"),
  Separator(8),
  Item(8, 3066, "ShowCaption", "Caption"),
  Item(8, 3065, "ShowMenu", "Menu"),
  Item(8, 3067, "ShowStatusBar", "StatusBar"),
  End(8, 3061, "SystemMenu", "&System"),

  Begin(9, 3149),
  Item(9, 9, "Help", "&Help"),
  Item(9, 3150, "ThemeMerge", "Theme Merge.."),
  Separator(9),
  Item(9, 3151, "ABOUT", "&About"),
  End(9, 3149, "HELPMenu", "&Help.."),

  Begin(2, 3037),
  Item(2, 3091, "SelectTabOpen", "&Select Tab Open"),
  Item(2, 3089, "NewTabOpen", "New Tab Open"),
  Separator(2),
  Item(2, 3090, "FavoriteOpenLimit", "New Tab Open Limit"),
  Separator(2),
  Item(2, 3092, "TitleCopy", "&Title Copy"),
  Item(2, 3093, "UrlCopy", "Url Copy"),
  Item(2, 3094, "BothCopy", "Title & Url Copy"),
  Separator(2),
  Item(2, 3095, "FavoriteCopy", "&Copy"),
  Item(2, 3096, "FavoriteCut", "Cu&t"),
  Item(2, 3097, "FavoritePaste", "&Paste"),
  Item(2, 3098, "FavoriteDelete", "&Delete"),
  Item(2, 3159, "FavoriteDeleteHistoryToo", "&Delete(History too)"),
  Separator(2),
  Item(2, 3099, "FavoriteAllSelect", "&All Select"),
  Separator(2),
  Item(2, 3100, "FavoriteSelectLimit", "&Limit Select"),
  Item(2, 3101, "FavoriteSelectNotVisited", "Not Visited Select"),
  Item(2, 3102, "FavoriteSelectNotVisitedRange", "Not Visited Select(Date Range)"),
  Item(2, 3103, "FavoriteSelectVisited", "Visited Select"),
  Item(2, 3104, "FavoriteSelectVisitedDate", "Visited Select(Date Range)"),
  Separator(2),
  Item(2, 3105, "FavoriteEditName", "Edit Name"),
  Item(2, 3106, "FavoriteEditDialog", "Edit Dialog"),
  Separator(2),
  Item(2, 3107, "FavoriteFolderAdd", "&FolderAdd"),
  Item(2, 3108, "FavoriteURLAdd", "&UrlAdd"),
  Separator(2),
  Item(2, 3111, "FavoriteFolderOpen", "Folder All Open"),
  Item(2, 3110, "FavoriteFolderClose", "Folder All Close"),
  Separator(2),
  Item(2, kFavoriteImportId, "FavoriteImport", "&Import Bookmarks.."),
  Item(2, kFavoriteExportId, "FavoriteExport", "E&xport Bookmarks.."),

  Begin(3, 3037),
  Item(3, 3092, "ProxyNameCopy", "Name Copy"),
  Item(3, 3093, "ProxyCopy", "Proxy Copy"),
  Item(3, 3094, "ProxyBothCopy", "Name & Proxy Copy"),
  Separator(3),
  Item(3, 3095, "FavoriteCopy", "&Copy"),
  Item(3, 3096, "FavoriteCut", "Cu&t"),
  Item(3, 3097, "FavoritePaste", "&Paste"),
  Item(3, 3098, "FavoriteDelete", "&Delete"),
  Separator(3),
  Item(3, 3099, "FavoriteAllSelect", "&All Select"),
  Separator(3),
  Item(3, 3105, "FavoriteEditName", "Edit Name"),
  Item(3, 3106, "FavoriteEditDialog", "Edit Dialog"),
  Separator(3),
  Item(3, 3107, "FavoriteFolderAdd", "&Folder Add"),
  Item(3, 3109, "ProxyAdd", "&Proxy Add"),
  Separator(3),
  Item(3, 3111, "FavoriteFolderOpen", "Folder All Open"),
  Item(3, 3110, "FavoriteFolderClose", "Folder All Close"),

  Begin(4, 3055),
  Item(4, 3014, "WebClose", "&Close"),
  Separator(4),
  Item(4, 3007, "WebReload", "&Refresh"),
  Item(4, 3005, "WebStop", "&Stop"),
  Separator(4),
  Item(4, 3008, "WebRefreshAll", "RefreshAll"),
  Item(4, 3006, "WebStopAll", "StopAll"),
  Item(4, kTabSleepId, "TabSleep", "S&leep"),
  Separator(4),
  Item(4, 3056, "WebCloseExcluding", "Close &Excluding This Tab"),
  Item(4, 3057, "WebCloseLeft", "Close &Left"),
  Item(4, 3058, "WebCloseRight", "Close &Right"),
  Separator(4),
  Item(4, 3015, "WebCloseAll", "Close &All"),
  Separator(4),
  Item(4, 3047, "FavoriteSelectAdd", "&Add Favorite Select Tab"),
  Item(4, 3046, "FavoriteAllAdd", "&Add Favorite All Tab"),
  Separator(4),
  Item(4, 3137, "TitleCopy", "&Title Copy"),
  Item(4, 3139, "UrlCopy", "&Url Copy"),
  Item(4, 3138, "BothCopy", "&Title Url Copy"),
  Separator(4),
  Item(4, 3140, "TitleALLCopy", "&Title ALL Copy"),
  Item(4, 3142, "UrlALLCopy", "&Url ALL Copy"),
  Item(4, 3141, "BothALLCopy", "&Title Url ALL Copy"),
  Separator(4),
  Item(4, 3017, "WebWriteAS", "Web Write As"),
  Separator(4),
  Item(4, 3030, "WebHistoryCatalog", "Web History Catalog"),

  Begin(21, 3172),
  Item(21, 3166, "CFGListViewCopy", "&Copy"),
  Item(21, 3167, "CFGListViewCut", "Cu&t"),
  Item(21, 3168, "CFGListViewPaste", "&Paste"),
  Item(21, 3170, "CFGListViewDelete", "&Delete"),
  Separator(21),
  Item(21, 3171, "CFGListViewAllSelect", "&All Select"),

  Begin(10, 3148),
  Item(10, 3143, "CharSizeMaximum", "Maximum(&1)"),
  Item(10, 3144, "CharSizeLarge", "Large(&2)"),
  Item(10, 3145, "CharSizeStandard", "Standard(&3)"),
  Item(10, 3146, "CharSizeSmall", "Small(&4)"),
  Item(10, 3147, "CharSizeMinimum", "Minimum(&5)"),

  Begin(11, 3078),
  Item(11, 3079, "Favorite", "Favorite"),
  Item(11, 3080, "History", "History"),
  Item(11, 3081, "Analysis", "Analysis"),
  Item(11, 3082, "Proxy", "Proxy"),
  Separator(11),
  Item(11, 3083, "FavoriteEdit", "Edit"),
  Separator(11),
  Item(11, 3084, "FavoriteOpen", "Open"),
  Item(11, 3085, "FavoriteWrite", "Write"),
  Item(11, 3086, "FavoriteWriteAs", "Write as"),
  Item(11, 3087, "FavoriteRestore", "Restore"),
  Separator(11),
  Item(11, 3088, "FavoriteNew", "New"),

  Begin(14, 3233),
  Item(14, 3234, "KeyWordDelete", "Delete"),
  Item(14, 3235, "KeyWordEdit", "Edit"),
  Item(14, 3236, "KeyWordRestore", "Restore"),
  Separator(14),
  Item(14, 3237, "KeyWordNew", "New"),

  Begin(12, 3223, "SelectAction", "Select Action"),
  Item(12, 3224, "SelectNone", "None"),
  Item(12, 3225, "SelectClip", "Copy"),
  Item(12, 3226, "SelectURL", "Url Open"),
  Item(12, 3227, "SelectClipEdit", "Edit && Copy"),
  Item(12, 3228, "SelectUrlEdit", "Edit && Url Open"),

  Begin(13, 3229, "SelectBeforeAction", "Select Before Action"),
  Item(13, 3230, "SelectBeforeActionNone", "None"),
  Item(13, 3231, "SelectBeforeActionDialog", "Open Select Dialog"),
  Item(13, 3232, "SelectBeforeActionMenu", "Select Menu"),
}};
// clang-format on

namespace {

constexpr std::size_t RowsOfMenu(std::uint8_t menu) {
  std::size_t count = 0;
  for (const CommandRow& row : kCommandRows) {
    count += row.menu == menu ? 1 : 0;
  }
  return count;
}

// A block is well formed when its popups open before their rows, rows belong to the open popup,
// a popup that ends is the open one, and each begin row starts a run of rows of its menu.
constexpr bool BlockIsWellFormed(CommandBlock block, bool endsPopups) {
  if (block.first + block.count > kCommandRows.size()) {
    return false;
  }
  int open = -1;
  for (std::size_t i = block.first; i < block.first + block.count; ++i) {
    const CommandRow& row = kCommandRows[i];
    switch (row.kind) {
      case RowKind::kBeginPopup:
        if (open != -1 && endsPopups) {
          return false;
        }
        open = row.menu;
        break;
      case RowKind::kItem:
        if (open != row.menu || row.name.empty() || row.caption.empty()) {
          return false;
        }
        break;
      case RowKind::kSeparator:
        if (open != row.menu || row.id != kSeparatorId || !row.name.empty()) {
          return false;
        }
        break;
      case RowKind::kEndPopup:
        if (!endsPopups || open != row.menu || row.name.empty()) {
          return false;
        }
        open = -1;
        break;
      case RowKind::kMenuBarItem:
        return false;
    }
  }
  return endsPopups ? open == -1 : open != -1;
}

// The popups a block holds, each complete: the block's size is the size of those menus.
constexpr bool BlockHoldsMenus(CommandBlock block, std::span<const std::uint8_t> menus) {
  std::size_t total = 0;
  for (std::uint8_t menu : menus) {
    total += RowsOfMenu(menu);
  }
  if (total != block.count) {
    return false;
  }
  std::size_t next = 0;
  for (std::size_t i = block.first; i < block.first + block.count; ++i) {
    if (kCommandRows[i].kind == RowKind::kBeginPopup) {
      if (next >= menus.size() || kCommandRows[i].menu != menus[next]) {
        return false;
      }
      ++next;
    }
  }
  return next == menus.size();
}

constexpr std::array<std::uint8_t, 7> kMenuBarMenus = {0, 5, 6, 7, 1, 8, 9};

struct ContextBlock {
  CommandBlock block;
  std::uint8_t menu;
};

constexpr std::array<ContextBlock, 9> kContextBlocks = {{
    {kTreeContextBlock, 2},
    {kProxyContextBlock, 3},
    {kTabContextBlock, 4},
    {kListViewContextBlock, 21},
    {kCharSizeBlock, 10},
    {kToolPanelBlock, 11},
    {kKeywordBoxBlock, 14},
    {kSelectActionBlock, 12},
    {kSelectBeforeActionBlock, 13},
}};

constexpr bool ContextBlocksAreWellFormed() {
  std::size_t expectedFirst = kMenuBarBlock.first + kMenuBarBlock.count;
  for (const ContextBlock& context : kContextBlocks) {
    const std::array<std::uint8_t, 1> menus = {context.menu};
    if (context.block.first != expectedFirst || !BlockIsWellFormed(context.block, false) ||
        !BlockHoldsMenus(context.block, menus)) {
      return false;
    }
    expectedFirst += context.block.count;
  }
  return expectedFirst == kCommandRows.size();
}

}  // namespace

static_assert(kMenuBarBlock.first == 0 && kMenuBarBlock.count == 83);
static_assert(BlockIsWellFormed(kMenuBarBlock, true));
static_assert(BlockHoldsMenus(kMenuBarBlock, kMenuBarMenus));
static_assert(kTreeContextBlock.count == 35 && kProxyContextBlock.count == 20 &&
              kTabContextBlock.count == 30 && kCharSizeBlock.count == 6 &&
              kToolPanelBlock.count == 14 && kKeywordBoxBlock.count == 6 &&
              kSelectActionBlock.count == 6 && kSelectBeforeActionBlock.count == 4 &&
              kListViewContextBlock.count == 7);
static_assert(ContextBlocksAreWellFormed());

std::span<const CommandRow> BlockRows(CommandBlock block) {
  if (block.first > kCommandRows.size() || block.count > kCommandRows.size() - block.first) {
    return {};
  }
  return std::span<const CommandRow>(kCommandRows).subspan(block.first, block.count);
}

}  // namespace zelvora
