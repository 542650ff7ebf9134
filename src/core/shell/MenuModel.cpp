#include "core/shell/MenuModel.h"

#include <algorithm>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// Stands in when the caller gives no theme: every text is the table's own.
class BuiltInThemeSource final : public MenuThemeSource {
 public:
  std::string MenuCaption(std::string_view, std::string_view builtIn) override {
    return std::string(builtIn);
  }
  std::string MenuBarCaption(std::string_view, std::string_view builtIn) override {
    return std::string(builtIn);
  }
  std::string ShortcutText(std::string_view) override { return {}; }
  std::string GestureText(std::string_view) override { return {}; }
  std::string FileHistoryLabel() override { return "&File History"; }
};

MenuThemeSource& ThemeOf(const MenuBuildOptions& options) {
  static BuiltInThemeSource builtIn;
  return options.theme != nullptr ? *options.theme : builtIn;
}

bool IsPopupNumber(int popup) {
  return popup >= 0 && popup < kPopupCount;
}

using VisitedPopups = std::array<bool, kPopupCount>;

// The finders serve both the build, which edits what it finds, and read-only callers: `Model` is
// MenuModel or const MenuModel, EntryOf<Model> the matching MenuEntry.
template <typename Model>
using EntryOf = std::conditional_t<std::is_const_v<Model>, const MenuEntry, MenuEntry>;

// Depth first through submenus; a popup already searched is not searched again, which also keeps
// a submenu that leads back to its own parent from looping.
template <typename Model>
EntryOf<Model>* FindInPopup(Model& model, int popup, std::uint16_t id, VisitedPopups& visited) {
  if (!IsPopupNumber(popup) || visited[static_cast<std::size_t>(popup)]) {
    return nullptr;
  }
  visited[static_cast<std::size_t>(popup)] = true;
  for (auto& entry : model.popups[static_cast<std::size_t>(popup)].entries) {
    if (entry.kind != MenuEntryKind::kSeparator && entry.id == id) {
      return &entry;
    }
    if (entry.kind == MenuEntryKind::kSubmenu) {
      if (EntryOf<Model>* found = FindInPopup(model, entry.popup, id, visited)) {
        return found;
      }
    }
  }
  return nullptr;
}

template <typename Model>
EntryOf<Model>* FindInMenuBar(Model& model, std::uint16_t id, VisitedPopups& visited) {
  for (const MenuBarEntry& bar : model.menuBar) {
    if (EntryOf<Model>* found = FindInPopup(model, bar.popup, id, visited)) {
      return found;
    }
  }
  return nullptr;
}

template <typename Model>
EntryOf<Model>* FindAnywhere(Model& model, std::uint16_t id) {
  if (id == 0) {
    return nullptr;
  }
  VisitedPopups visited{};
  if (EntryOf<Model>* found = FindInMenuBar(model, id, visited)) {
    return found;
  }
  for (int popup = 0; popup < kPopupCount; ++popup) {
    if (EntryOf<Model>* found = FindInPopup(model, popup, id, visited)) {
      return found;
    }
  }
  return nullptr;
}

std::string CaptionOf(const MenuModel& model, std::uint16_t id) {
  const MenuEntry* entry = FindAnywhere(model, id);
  return entry != nullptr ? entry->caption : std::string();
}

void CreatePopup(MenuModel& model, int popup, std::uint16_t baseId) {
  model.popups[static_cast<std::size_t>(popup)] = MenuPopup{true, baseId, {}};
}

// Puts `entry` just before the entry with `beforeId` in that popup; nothing happens when the
// popup has no such entry.
void InsertBefore(MenuModel& model, int popup, std::uint16_t beforeId, MenuEntry entry) {
  std::vector<MenuEntry>& entries = model.popups[static_cast<std::size_t>(popup)].entries;
  const auto at = std::find_if(entries.begin(), entries.end(), [beforeId](const MenuEntry& e) {
    return e.kind != MenuEntryKind::kSeparator && e.id == beforeId;
  });
  if (at != entries.end()) {
    entries.insert(at, std::move(entry));
  }
}

// The item with that id in the menu bar's popups becomes a submenu leading to `popup`, under
// the same caption.
void AttachSubmenu(MenuModel& model, std::uint16_t id, int popup) {
  VisitedPopups visited{};
  if (MenuEntry* entry = FindInMenuBar(model, id, visited)) {
    *entry = MenuSubmenu(popup, std::move(entry->caption), id);
  }
}

void ReadSelectActionCaptions(MenuModel& model, MenuThemeSource& theme) {
  const std::span<const CommandRow> rows = BlockRows(kSelectActionBlock);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    model.selectActionCaptions[i] =
        CleanCommandCaption(TrimTrailingBlanks(theme.MenuCaption(rows[i].name, rows[i].caption)));
  }
}

void AttachTableSubmenus(MenuModel& model) {
  AttachSubmenu(model, kSelectActionId, kMenuSelectAction);
  AttachSubmenu(model, kSelectBeforeActionId, kMenuSelectBeforeAction);
  AttachSubmenu(model, kCharSizeId, kMenuCharSize);
  InsertBefore(model, kMenuSelectAction, kSelectClipId, MenuSeparator());
  InsertBefore(model, kMenuSelectBeforeAction, kSelectBeforeActionDialogId, MenuSeparator());
}

void AddFileMenuHistory(MenuModel& model, const std::string& label) {
  CreatePopup(model, kPopupTabFileHistory, kTabFileHistoryIds.baseId);
  InsertBefore(model, kMenuFile, kFileHistoryDeleteId, MenuSubmenu(kPopupTabFileHistory, label));
  InsertBefore(model, kMenuFile, kPrintConfigId, MenuSeparator());
}

void AddToolPanelHistory(MenuModel& model, const std::string& label) {
  CreatePopup(model, kPopupTreeFileHistory, kTreeFileHistoryIds.baseId);
  InsertBefore(model, kMenuToolPanel, kFavoriteNewId, MenuSubmenu(kPopupTreeFileHistory, label));
  InsertBefore(model, kMenuToolPanel, kFavoriteNewId,
               MenuItem(kTreeFileHistoryDeleteId, CaptionOf(model, kFileHistoryDeleteId)));
  InsertBefore(model, kMenuToolPanel, kFavoriteNewId, MenuSeparator());
}

// The script menu borrows the tool panel's file commands; its scripts follow when it first opens.
void AddScriptMenuCommands(MenuModel& model, const std::string& label) {
  std::vector<MenuEntry>& entries = model.popups[kMenuScript].entries;
  entries.push_back(MenuItem(kScriptNewId, CaptionOf(model, kFavoriteNewId)));
  entries.push_back(MenuSeparator());
  entries.push_back(MenuItem(kScriptEditId, CaptionOf(model, kFavoriteEditId)));
  entries.push_back(MenuItem(kScriptOpenId, CaptionOf(model, kFavoriteOpenId)));
  entries.push_back(MenuSeparator());
  entries.push_back(MenuItem(kScriptFileHistoryDeleteId, CaptionOf(model, kFileHistoryDeleteId)));
  CreatePopup(model, kPopupScriptFileHistory, kScriptFileHistoryIds.baseId);
  InsertBefore(model, kMenuScript, kScriptFileHistoryDeleteId,
               MenuSubmenu(kPopupScriptFileHistory, label));
  model.popups[kMenuScript].entries.push_back(MenuSeparator());
}

// The whole menu bar as one context menu, for a right-click on the bar or the window itself.
void BuildStandardMenu(MenuModel& model) {
  MenuPopup& standard = model.popups[kPopupStandardMenu];
  for (const MenuBarEntry& bar : model.menuBar) {
    standard.entries.push_back(MenuSubmenu(bar.popup, bar.caption));
  }
  standard.entries.push_back(MenuSeparator());
  VisitedPopups visited{};
  const MenuEntry* exitItem = FindInMenuBar(std::as_const(model), kExitId, visited);
  standard.entries.push_back(exitItem != nullptr
                                 ? MenuItem(kExitId, exitItem->caption, exitItem->keyText)
                                 : MenuItem(kExitId, {}));
}

// The first `count` characters of `text`.
std::string_view FirstChars(std::string_view text, std::size_t count) {
  std::size_t bytes = 0;
  for (std::size_t n = 0; n < count && bytes < text.size(); ++n) {
    bytes += CharLengthAt(text, bytes);
  }
  return text.substr(0, bytes);
}

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string ShortenPath(std::string_view path) {
  // The head stays in front of every shortened form: a drive with its separator, or the leading
  // separators of a rooted path.
  const bool hasDrive = path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
  const bool driveLacksSeparator = hasDrive && (path.size() == 2 || !IsPathSeparator(path[2]));
  const std::size_t headLength = hasDrive ? (driveLacksSeparator ? 2 : 3)
                                          : std::min(path.find_first_not_of("\\/"), path.size());
  std::string head(path.substr(0, headLength));
  if (driveLacksSeparator) {
    head += '\\';
  }
  std::string_view rest = path.substr(headLength);
  std::string text = head + std::string(rest);
  if (CharCount(text) <= kFileHistoryCaptionMax) {
    return text;
  }
  for (std::size_t cut = rest.find_first_of("\\/"); cut != std::string_view::npos;
       cut = rest.find_first_of("\\/")) {
    const char separator = rest[cut];
    rest.remove_prefix(cut + 1);
    text = head + "..." + separator + std::string(rest);
    if (CharCount(text) <= kFileHistoryCaptionMax) {
      return text;
    }
  }
  if (CharCount(rest) <= kFileHistoryCaptionMax) {
    return std::string(rest);
  }
  return std::string(FirstChars(rest, kFileHistoryCaptionMax - 3)) + "...";
}

}  // namespace

std::string MenuEntry::Text() const {
  return keyText.empty() ? caption : caption + '\t' + keyText;
}

MenuEntry MenuItem(std::uint16_t id, std::string caption, std::string keyText) {
  return MenuEntry{MenuEntryKind::kItem, id, -1, std::move(caption), std::move(keyText)};
}

MenuEntry MenuSeparator() {
  return MenuEntry{MenuEntryKind::kSeparator, kSeparatorId, -1, {}, {}};
}

MenuEntry MenuSubmenu(int popup, std::string caption, std::uint16_t id) {
  return MenuEntry{MenuEntryKind::kSubmenu, id, popup, std::move(caption), {}};
}

void BuildMenuBlock(MenuModel& model, std::span<const CommandRow> rows, bool readThemeKeys,
                    const MenuBuildOptions& options) {
  MenuThemeSource& theme = ThemeOf(options);
  for (const CommandRow& row : rows) {
    // Only command rows are looked up: a begin row shares its name with the item it is attached
    // to ("SelectAction"), and binding a key to a popup's base id would run nothing.
    std::string keyText;
    if (readThemeKeys && row.kind == RowKind::kItem) {
      if (options.gesturesEnabled) {
        const std::string gesture = theme.GestureText(row.name);
        if (!gesture.empty() && options.addGesture) {
          options.addGesture(row.id, gesture);
        }
      }
      const std::string shortcut = theme.ShortcutText(row.name);
      keyText = TrimBlanksAndControls(shortcut);
      if (!keyText.empty() && options.addShortcut) {
        options.addShortcut(row.id, keyText);
      }
    }
    if (!IsPopupNumber(row.menu)) {
      continue;
    }
    MenuPopup& popup = model.popups[row.menu];
    if (row.kind == RowKind::kBeginPopup) {
      CreatePopup(model, row.menu, row.id);
      continue;
    }
    if (!popup.exists) {
      continue;
    }
    switch (row.kind) {
      case RowKind::kItem:
        popup.entries.push_back(MenuItem(
            row.id, std::string(TrimTrailingBlanks(theme.MenuCaption(row.name, row.caption))),
            std::move(keyText)));
        break;
      case RowKind::kSeparator:
        popup.entries.push_back(MenuSeparator());
        break;
      case RowKind::kEndPopup:
        model.menuBar.push_back(MenuBarEntry{theme.MenuBarCaption(row.name, row.caption),
                                             std::string(row.name), static_cast<int>(row.menu)});
        break;
      case RowKind::kBeginPopup:
      case RowKind::kMenuBarItem:  // the bar holds popups only; the table has no such row
        break;
    }
  }
}

MenuModel BuildMenus(const MenuBuildOptions& options) {
  MenuThemeSource& theme = ThemeOf(options);
  MenuModel model;
  for (const CommandBlock& block : kMenuBuildBlocks) {
    BuildMenuBlock(model, BlockRows(block), true, options);
  }
  ReadSelectActionCaptions(model, theme);
  AttachTableSubmenus(model);
  const std::string label = theme.FileHistoryLabel();
  AddFileMenuHistory(model, label);
  AddToolPanelHistory(model, label);
  AddScriptMenuCommands(model, label);
  CreatePopup(model, kPopupTravelLog, kTravelLogIds.baseId);
  CreatePopup(model, kPopupKeywordFileHistory, kKeywordFileHistoryIds.baseId);
  CreatePopup(model, kPopupStandardMenu, kStandardMenuBaseId);
  BuildStandardMenu(model);
  return model;
}

const MenuEntry* FindMenuEntry(const MenuModel& model, std::uint16_t id) {
  return FindAnywhere(model, id);
}

std::string CleanCommandCaption(std::string_view caption) {
  std::string text = RegexGroupText("([^\\t]*)", caption, 1).value_or(std::string());
  if (std::optional<std::string> beforeParen = RegexGroupText("([^\\(]*)\\(", text, 1)) {
    text = std::move(*beforeParen);
  }
  return RegexReplaceAll("&(\\w)", text, "$1");
}

std::string CaptionOfCommand(const MenuModel& model, std::uint16_t id) {
  const MenuEntry* entry = FindMenuEntry(model, id);
  return entry != nullptr ? CleanCommandCaption(entry->Text()) : std::string();
}

std::string FileHistoryCaption(std::string_view path) {
  const std::string shortened = ShortenPath(path);
  std::string caption;
  caption.reserve(shortened.size());
  for (char c : shortened) {
    caption += c;
    if (c == '&') {
      caption += '&';
    }
  }
  return caption;
}

std::vector<MenuEntry> FileHistoryItems(std::span<const std::string> entries,
                                        const DynamicIdRange& range) {
  std::vector<MenuEntry> items;
  for (std::size_t n = 1; n <= entries.size() && range.baseId + n <= range.lastId; ++n) {
    const std::string_view entry = TrimTrailingBlanks(entries[n - 1]);
    if (!entry.empty()) {
      items.push_back(
          MenuItem(static_cast<std::uint16_t>(range.baseId + n), FileHistoryCaption(entry)));
    }
  }
  return items;
}

std::vector<MenuEntry> FileHistoryPopupItems(
    int popup, const std::array<TFileHistoryList, kFileHistoryKindCount>& histories, int toolPage) {
  const auto items = [&histories](int kind, const DynamicIdRange& range) {
    return FileHistoryItems(histories[static_cast<std::size_t>(kind)].Entries(), range);
  };
  switch (popup) {
    case kPopupTreeFileHistory:
      return toolPage >= kFileFavorite && toolPage <= kFileProxy
                 ? items(toolPage, kTreeFileHistoryIds)
                 : std::vector<MenuEntry>();
    case kPopupTabFileHistory:
      return items(kFileTab, kTabFileHistoryIds);
    case kPopupScriptFileHistory:
      return items(kFileScript, kScriptFileHistoryIds);
    default:
      return {};
  }
}

}  // namespace zelvora
