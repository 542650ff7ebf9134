#pragma once

// The menus as plain data: the menu bar and the 22 numbered popups, built from the command table
// and the current theme. The window layer turns the model into real menus; everything that
// decides a caption, an order or an id lives here so it can be checked without a display.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/CommandTable.h"
#include "core/shell/FileHistory.h"

namespace zelvora {

// Ids the menu build adds beside the table's rows.
inline constexpr std::uint16_t kTreeFileHistoryDeleteId = 5875;
inline constexpr std::uint16_t kScriptNewId = 4771;
inline constexpr std::uint16_t kScriptEditId = 4772;
inline constexpr std::uint16_t kScriptOpenId = 4773;
inline constexpr std::uint16_t kScriptFileHistoryDeleteId = 5877;

// Item ids handed out at run time: entry n (from 1) of a list gets baseId + n, up to lastId.
// Where the ids are open-ended ("from" the first) they stop below the next popup's base id, so
// no two ranges can meet.
struct DynamicIdRange {
  int popup;  // the popup the items are put into
  std::uint16_t baseId;
  std::uint16_t firstId;
  std::uint16_t lastId;
};

inline constexpr DynamicIdRange kTreeFileHistoryIds{kPopupTreeFileHistory, 3268, 3269, 3567};
inline constexpr DynamicIdRange kTravelLogIds{kPopupTravelLog, 3568, 3569, 3867};
inline constexpr DynamicIdRange kTabFileHistoryIds{kPopupTabFileHistory, 3868, 3869, 4067};
inline constexpr DynamicIdRange kKeywordFileHistoryIds{kPopupKeywordFileHistory, 4171, 4172, 4467};
inline constexpr DynamicIdRange kScriptFileHistoryIds{kPopupScriptFileHistory, 4468, 4469, 4667};
inline constexpr DynamicIdRange kScriptEntryIds{kMenuScript, 4774, 4775, 5773};
inline constexpr std::uint16_t kStandardMenuBaseId = 5878;

// File-history captions are cut to this many characters.
inline constexpr std::size_t kFileHistoryCaptionMax = 40;

enum class MenuEntryKind : std::uint8_t { kItem, kSeparator, kSubmenu };

struct MenuEntry {
  MenuEntryKind kind = MenuEntryKind::kItem;
  // The command id; kSeparatorId for a separator. A submenu keeps the id of the item it
  // replaced (0 when it was inserted), so its caption can still be found by that id.
  std::uint16_t id = 0;
  int popup = -1;  // submenus only: the popup number it opens
  std::string caption;
  std::string keyText;  // items only: the theme's shortcut text, shown after a tab

  // The text the menu shows: the caption, then a tab and the key text when there is one.
  std::string Text() const;
};

MenuEntry MenuItem(std::uint16_t id, std::string caption, std::string keyText = {});
MenuEntry MenuSeparator();
MenuEntry MenuSubmenu(int popup, std::string caption, std::uint16_t id = 0);

struct MenuPopup {
  bool exists = false;
  std::uint16_t baseId = 0;
  std::vector<MenuEntry> entries;
};

struct MenuBarEntry {
  std::string caption;
  std::string themeKey;  // the row name, the key of the menu-bar text in the theme
  int popup = -1;
};

struct MenuModel {
  std::vector<MenuBarEntry> menuBar;
  std::array<MenuPopup, kPopupCount> popups;
  // The selection tools' names for the six selection actions ("SelectAction" first, then the
  // rows of menu 12), cleaned like CaptionOfCommand.
  std::array<std::string, kSelectActionBlock.count> selectActionCaptions;
};

// Where the menu build reads the theme. The model has no file access of its own.
class MenuThemeSource {
 public:
  virtual ~MenuThemeSource() = default;
  // Section "Menu", "\s" and "\t" decoded; `builtIn` when the theme has no entry. The build
  // removes trailing blanks itself.
  virtual std::string MenuCaption(std::string_view name, std::string_view builtIn) = 0;
  // Section "Menu" as it stands, for the menu-bar texts; `builtIn` when there is no entry.
  virtual std::string MenuBarCaption(std::string_view name, std::string_view builtIn) = 0;
  // Section "ShortCutKey"; empty when there is no entry.
  virtual std::string ShortcutText(std::string_view name) = 0;
  // Section "MouseGesture"; empty when there is no entry.
  virtual std::string GestureText(std::string_view name) = 0;
  // The control label "&File History".
  virtual std::string FileHistoryLabel() = 0;
};

struct MenuBuildOptions {
  MenuThemeSource* theme = nullptr;  // none: every text is the table's own
  bool gesturesEnabled = false;      // "GestureEnable": only then are gestures read
  // Offered every non-empty shortcut text (trimmed) with its command id; returns whether the key
  // was bound. The caption shows the text either way. May be empty.
  std::function<bool(std::uint16_t id, std::string_view keyText)> addShortcut;
  // Offered every non-empty gesture while gestures are enabled. May be empty.
  std::function<void(std::uint16_t id, std::string_view gesture)> addGesture;
};

// Walks `rows` into `model`: begin rows create and register popups, items and separators are
// appended to the registered popup, end rows put the popup on the menu bar. With
// `readThemeKeys`, each item's shortcut and gesture are read and offered to the callbacks.
// Rows whose popup is not registered are skipped.
void BuildMenuBlock(MenuModel& model, std::span<const CommandRow> rows, bool readThemeKeys,
                    const MenuBuildOptions& options);

// The whole menu set of the main window: the table's blocks, the submenus attached, the
// file-history popups and their items inserted, the code-built popups created (empty until
// filled at run time) and the "Standard Menu" (popup 20) mirroring the menu bar.
MenuModel BuildMenus(const MenuBuildOptions& options);

// The entry with that id (items and replaced-item submenus), searched in the menu bar's popups
// and their submenus first, then in each registered popup by number; nullptr when absent.
const MenuEntry* FindMenuEntry(const MenuModel& model, std::uint16_t id);

// A caption as feedback text: the part before a tab, then before an opening parenthesis, with
// each ampersand before a word character removed.
std::string CleanCommandCaption(std::string_view caption);

// The cleaned caption of the entry with that id; empty when no menu has it.
std::string CaptionOfCommand(const MenuModel& model, std::uint16_t id);

// A file-history entry shortened to at most 40 characters. Both "\" and "/" separate folders. A
// drive colon gets a "\" after it when it lacks one; then the first folder after the drive, or
// after the leading separators of a rooted path, is dropped again and again while the text is
// too long, and "..." stands where the folders were ("C:\...\b\file", "/.../b/file"). When the
// name alone is left, it is shown without the drive or root, cut to 37 characters and "..." if
// it is still too long. Ampersands are doubled so a path shows no mnemonic.
std::string FileHistoryCaption(std::string_view path);

// The items of a file-history popup: entry n (from 1) as id range.baseId + n, captioned by
// FileHistoryCaption. Entries past range.lastId are left out; a blank entry gets no item, and
// the ids of the others stay at their list positions.
std::vector<MenuEntry> FileHistoryItems(std::span<const std::string> entries,
                                        const DynamicIdRange& range);

// The items of a file-history popup as it opens: popup 15 lists the current tool page's kind
// (0 to 3), 17 the tab lists, 19 the scripts; other popups have none.
std::vector<MenuEntry> FileHistoryPopupItems(
    int popup, const std::array<TFileHistoryList, kFileHistoryKindCount>& histories, int toolPage);

}  // namespace zelvora
