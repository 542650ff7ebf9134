#include "core/input/ThemePages.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/input/DefaultTheme.h"
#include "core/shell/CommandTable.h"
#include "core/shell/Paths.h"
#include "core/shell/UtilFunc.h"
#include "core/shell/WindowState.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr ThemeColumn kMenuColumns[] = {ThemeColumn::kText, ThemeColumn::kShortcut,
                                        ThemeColumn::kGesture, ThemeColumn::kKeyName};
constexpr ThemeColumn kTextColumns[] = {ThemeColumn::kText, ThemeColumn::kKeyName};

std::size_t ValueIndex(ThemeColumn column) {
  return static_cast<std::size_t>(column);
}

// A row for every key of the page, each key once: ini keys ignore case, and two rows under one
// key would each write over the other's edit.
class RowList {
 public:
  explicit RowList(std::vector<ThemeGridRow>& rows) : rows_(rows) {}

  void Add(std::string_view section, std::string key, std::string_view builtIn, bool bindings) {
    const auto same = std::find_if(rows_.begin(), rows_.end(), [&](const ThemeGridRow& row) {
      return row.section == section && EqualsIgnoreCase(row.key, key);
    });
    if (same != rows_.end()) {
      same->bindings = same->bindings || bindings;
      return;
    }
    ThemeGridRow row;
    row.section = section;
    row.key = std::move(key);
    row.builtIn = builtIn;
    row.bindings = bindings;
    rows_.push_back(std::move(row));
  }

 private:
  std::vector<ThemeGridRow>& rows_;
};

// The rows of a page with their built-in texts, values still empty.
std::vector<ThemeGridRow> PageRows(ThemePage page) {
  std::vector<ThemeGridRow> rows;
  RowList list(rows);
  switch (page) {
    case ThemePage::kAuthor:
      list.Add(kThemeSection, std::string(kThemeTitleKey), kDefaultThemeTitle, false);
      list.Add(kThemeSection, std::string(kThemeAuthorKey), kDefaultThemeAuthor, false);
      break;
    case ThemePage::kMenu:
      // Begin rows take their caption from the item they hang on, separators have none.
      for (const CommandRow& row : kCommandRows) {
        if (row.kind == RowKind::kItem || row.kind == RowKind::kEndPopup)
          list.Add(kThemeMenuSection, std::string(row.name), row.caption,
                   row.kind == RowKind::kItem);
      }
      list.Add(kThemeLabelSection, std::string(kFileHistoryKey), kDefaultFileHistoryCaption, false);
      break;
    case ThemePage::kButtonTips:
      for (std::size_t group = 0; group < kButtonGroupCount; ++group) {
        for (const std::string_view tip : BuiltInButtonTips(static_cast<ButtonGroup>(group)))
          list.Add(kThemeButtonSection, ThemeKey(tip), tip, false);
      }
      break;
    case ThemePage::kControlLabels:
      for (const std::string_view label : kBuiltInControlLabels) {
        // "&File History" is the recently-opened-files caption, edited on the menu page.
        if (const std::string key = ThemeKey(label); !EqualsIgnoreCase(key, kFileHistoryKey))
          list.Add(kThemeLabelSection, key, label, false);
      }
      for (const std::string_view label : kTabSessionLabels)
        list.Add(kThemeLabelSection, ThemeKey(label), label, false);
      for (const std::string_view name : kConfigTreePageNames) {
        std::string key(kConfigTreeKeyPrefix);
        key.append(name);
        list.Add(kThemeLabelSection, std::move(key), name, false);
      }
      break;
    case ThemePage::kMessage:
      for (int message = 0; message < kThemeMessageCount; ++message)
        list.Add(kThemeMessageSection, std::to_string(message), kBuiltInMessages[message], false);
      break;
    case ThemePage::kMouse:
      break;
  }
  return rows;
}

int ClampSensitivity(int sensitivity) {
  return std::clamp(sensitivity, kThemeSensitivityMin, kThemeSensitivityMax);
}

// The file drops blanks around a value and one pair of quotes: a value that would lose either
// is written quoted (the built-in " Important Reboot" keeps its leading blank).
bool NeedsQuotes(std::string_view value) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; };
  return blank(value.front()) || blank(value.back()) ||
         (value.size() >= 2 && value.front() == '"' && value.back() == '"');
}

bool WriteOrRemove(std::string_view themeFile, std::string_view section, std::string_view key,
                   std::string_view value) {
  if (value.empty())
    return DeleteProfileKey(themeFile, section, key);
  if (NeedsQuotes(value)) {
    std::string quoted(1, '"');
    quoted.append(value);
    quoted.push_back('"');
    return WriteProfileString(themeFile, section, key, quoted);
  }
  return WriteProfileString(themeFile, section, key, value);
}

std::string BaseBinding(std::span<const ThemeBinding> bindings, std::string_view command) {
  const auto found = std::find_if(bindings.begin(), bindings.end(), [&](const ThemeBinding& each) {
    return EqualsIgnoreCase(each.command, command);
  });
  return found == bindings.end() ? std::string() : std::string(found->text);
}

}  // namespace

std::span<const ThemeColumn> ThemePageColumns(ThemePage page) {
  switch (page) {
    case ThemePage::kMenu:
      return kMenuColumns;
    case ThemePage::kMouse:
      return {};
    default:
      return kTextColumns;
  }
}

std::optional<ControlLabel> ThemeColumnHeader(ThemeColumn column) {
  switch (column) {
    case ThemeColumn::kText:
      return kLabelThemeLanguage;
    case ThemeColumn::kShortcut:
      return kLabelThemeKey;
    case ThemeColumn::kGesture:
      return kLabelThemeGesture;
    case ThemeColumn::kKeyName:
      break;
  }
  return std::nullopt;
}

bool ThemeGridRow::Editable(ThemeColumn column) const {
  return column == ThemeColumn::kText ||
         (bindings && (column == ThemeColumn::kShortcut || column == ThemeColumn::kGesture));
}

const std::string& ThemeGridRow::Cell(ThemeColumn column) const {
  return column == ThemeColumn::kKeyName ? key : values[ValueIndex(column)];
}

bool ThemePageData::SetCell(std::size_t row, ThemeColumn column, std::string value) {
  if (row >= rows.size() || !rows[row].Editable(column))
    return false;
  rows[row].values[ValueIndex(column)] = std::move(value);
  return true;
}

ThemePageData ReadThemePage(std::string_view themeFile, ThemePage page) {
  ThemePageData data;
  data.page = page;
  data.rows = PageRows(page);
  for (ThemeGridRow& row : data.rows) {
    row.values[0] = ReadProfileString(themeFile, row.section, row.key, row.builtIn);
    if (row.bindings) {
      row.values[1] = ReadProfileString(themeFile, kThemeShortcutSection, row.key, "");
      row.values[2] = ReadProfileString(themeFile, kThemeGestureSection, row.key, "");
    }
    row.stored = row.values;
  }
  data.mouse = ReadGestureSettings(themeFile);
  data.mouse.sensitivity = ClampSensitivity(data.mouse.sensitivity);
  return data;
}

ThemePageData BaseThemePage(ThemePage page) {
  ThemePageData data;
  data.page = page;
  data.rows = PageRows(page);
  for (ThemeGridRow& row : data.rows) {
    row.values[0] = row.builtIn;
    if (row.bindings) {
      row.values[1] = BaseBinding(kDefaultShortcutKeys, row.key);
      row.values[2] = BaseBinding(kDefaultMouseGestures, row.key);
    }
  }
  data.mouse = kDefaultThemeGestureSettings;
  return data;
}

ThemeWriteResult WriteThemePage(std::string_view themeFile, ThemePageData& data, ThemeWrite mode) {
  static constexpr std::string_view kValueSections[] = {"", kThemeShortcutSection,
                                                        kThemeGestureSection};
  ThemeWriteResult result;
  ProfileUpdate update(themeFile);
  bool accepted = true;
  for (ThemeGridRow& row : data.rows) {
    for (std::size_t value = 0; value < kThemeValueCount; ++value) {
      if (!row.Editable(static_cast<ThemeColumn>(value)))
        continue;
      if (mode == ThemeWrite::kChanged && row.values[value] == row.stored[value])
        continue;
      const std::string_view section = value == 0 ? row.section : kValueSections[value];
      accepted = WriteOrRemove(themeFile, section, row.key, row.values[value]) && accepted;
    }
  }
  if (data.page == ThemePage::kMouse) {
    accepted = WriteProfileInt(themeFile, kThemeMouseSection, kGestureEnableKey,
                               data.mouse.enabled ? 1 : 0) &&
               accepted;
    accepted = WriteProfileInt(themeFile, kThemeMouseSection, kGestureDirectionKey,
                               data.mouse.allowSameDirection ? 1 : 0) &&
               accepted;
    accepted = WriteProfileInt(themeFile, kThemeMouseSection, kGestureSensitivityKey,
                               ClampSensitivity(data.mouse.sensitivity)) &&
               accepted;
  }
  if (!update.Commit()) {
    result.errorText = update.ErrorText();
    return result;
  }
  if (!accepted) {
    result.errorText = "A key of the page cannot be written to a theme file.";
    return result;
  }
  for (ThemeGridRow& row : data.rows)
    row.stored = row.values;
  result.written = true;
  return result;
}

ThemeWriteResult WriteWholeTheme(std::string_view themeFile, std::span<ThemePageData> pages) {
  ProfileUpdate update(themeFile);
  ThemeWriteResult result{true, {}};
  for (ThemePageData& page : pages) {
    const ThemeWriteResult written = WriteThemePage(themeFile, page, ThemeWrite::kAll);
    if (!written.written && result.written)
      result = written;
  }
  if (!update.Commit()) {
    result.written = false;
    result.errorText = update.ErrorText();
  }
  return result;
}

bool ThemeFileExists(std::string_view themeFile) {
  std::error_code error;
  return !themeFile.empty() &&
         std::filesystem::is_regular_file(std::filesystem::path(themeFile), error);
}

bool StoreThemeFile(std::string_view settingsFile, std::string_view themeFile) {
  return WriteProfileString(settingsFile, kWindowSection, kThemeFileSettingsKey, themeFile);
}

}  // namespace zelvora
