#pragma once

// The command table: one row per menu command, grouped by menu. Building the menus walks it row
// by row, so the table alone decides which commands exist, in which menu and in which order. A
// row's name is the key of the theme sections "Menu", "ShortCutKey" and "MouseGesture"; the id is
// what the dispatcher acts on. The same name may sit on rows with different ids and the same id
// under different names ("TitleCopy" is 3092 in the tree menu and 3137 in the tab menu, 3092 is
// "ProxyNameCopy" in the proxy menu).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zelvora {

enum class RowKind : std::uint8_t {
  kMenuBarItem = 0,  // a plain item on the menu bar; no row uses it
  kBeginPopup = 1,   // creates the popup, registered under the menu number, base id = row id
  kItem = 2,         // a command item of the registered popup
  kSeparator = 3,    // a separator of the registered popup; always kSeparatorId
  kEndPopup = 4,     // puts the popup on the menu bar: caption = menu-bar text, name = theme key
};

// One row of the table (`TMenutype`).
struct CommandRow {
  RowKind kind;
  std::uint8_t menu;
  std::uint16_t id;
  std::string_view name;
  std::string_view caption;
};

// Popup menus by number. 0, 5, 6, 7, 1, 8, 9 sit on the menu bar in that order; 15 to 20 are
// built in code; 21 is built by the configuration dialog for its list views.
enum MenuNumber : int {
  kMenuFile = 0,
  kMenuTab = 1,
  kMenuTreeContext = 2,
  kMenuProxyContext = 3,
  kMenuTabContext = 4,
  kMenuDisplay = 5,
  kMenuTool = 6,
  kMenuScript = 7,
  kMenuSystem = 8,
  kMenuHelp = 9,
  kMenuCharSize = 10,
  kMenuToolPanel = 11,
  kMenuSelectAction = 12,
  kMenuSelectBeforeAction = 13,
  kMenuKeywordBox = 14,
  kPopupTreeFileHistory = 15,
  kPopupTravelLog = 16,
  kPopupTabFileHistory = 17,
  kPopupKeywordFileHistory = 18,
  kPopupScriptFileHistory = 19,
  kPopupStandardMenu = 20,
  kMenuListViewContext = 21,
  kPopupCount = 22,
};

// Ids of table rows that the menu build refers to by number.
inline constexpr std::uint16_t kSeparatorId = 3152;
inline constexpr std::uint16_t kExitId = 200;
inline constexpr std::uint16_t kAboutId = 3151;
inline constexpr std::uint16_t kPrintConfigId = 3019;
inline constexpr std::uint16_t kFavoriteEditId = 3083;
inline constexpr std::uint16_t kFavoriteOpenId = 3084;
inline constexpr std::uint16_t kFavoriteNewId = 3088;
// Bookmark files of other browsers, after the ids of the original table.
inline constexpr std::uint16_t kFavoriteImportId = 5879;
inline constexpr std::uint16_t kFavoriteExportId = 5880;
// Puts the tab of the tab menu to sleep at once.
inline constexpr std::uint16_t kTabSleepId = 5881;
inline constexpr std::uint16_t kCharSizeId = 3155;
inline constexpr std::uint16_t kSelectActionId = 3156;
inline constexpr std::uint16_t kSelectBeforeActionId = 3157;
// The select actions 0..4 ("SelectNone" … "SelectUrlEdit") and the select-before actions 0..2
// ("SelectBeforeActionNone" … "SelectBeforeActionMenu") have consecutive ids.
inline constexpr std::uint16_t kSelectNoneId = 3224;
inline constexpr std::uint16_t kSelectClipId = 3225;
inline constexpr std::uint16_t kSelectBeforeActionNoneId = 3230;
inline constexpr std::uint16_t kSelectBeforeActionDialogId = 3231;
inline constexpr std::uint16_t kFileHistoryDeleteId = 5874;

// A run of consecutive table rows walked in one go.
struct CommandBlock {
  std::size_t first;
  std::size_t count;
};

inline constexpr std::size_t kCommandRowCount = 211;

// The blocks in table order; together they cover the table exactly.
inline constexpr CommandBlock kMenuBarBlock{0, 83};  // menus 0, 5, 6, 7, 1, 8, 9
inline constexpr CommandBlock kTreeContextBlock{83, 35};
inline constexpr CommandBlock kProxyContextBlock{118, 20};
inline constexpr CommandBlock kTabContextBlock{138, 30};
inline constexpr CommandBlock kListViewContextBlock{168, 7};
inline constexpr CommandBlock kCharSizeBlock{175, 6};
inline constexpr CommandBlock kToolPanelBlock{181, 14};
inline constexpr CommandBlock kKeywordBoxBlock{195, 6};
inline constexpr CommandBlock kSelectActionBlock{201, 6};
inline constexpr CommandBlock kSelectBeforeActionBlock{207, 4};

// The blocks the main window's menu build walks, in walking order. The list-view menu (21) is
// left to the configuration dialog.
inline constexpr std::array<CommandBlock, 9> kMenuBuildBlocks = {
    kMenuBarBlock,   kTreeContextBlock, kProxyContextBlock, kTabContextBlock,        kCharSizeBlock,
    kToolPanelBlock, kKeywordBoxBlock,  kSelectActionBlock, kSelectBeforeActionBlock};

extern const std::array<CommandRow, kCommandRowCount> kCommandRows;

// The rows of `block`; empty for a block outside the table.
std::span<const CommandRow> BlockRows(CommandBlock block);

}  // namespace zelvora
