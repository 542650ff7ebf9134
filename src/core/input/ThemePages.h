#pragma once

// The theme editor's pages as data: the rows each page shows, read from a theme file, the
// built-in rows "Base Reset" fills in, and writing a page back. The editor keeps one page of rows
// per page it has shown; only the cells the user changed are written when a page is defined, so
// a value the grid cannot show whole (longer than the read buffer, or not UTF-8) stays in the
// file as it was unless the user replaces it.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/input/GestureRecogniser.h"
#include "core/input/ThemeTexts.h"

namespace zelvora {

enum class ThemePage : int {
  kAuthor,
  kMenu,
  kButtonTips,
  kControlLabels,
  kMessage,
  kMouse,
};
inline constexpr std::size_t kThemePageCount = 6;

// The labels the pages are named by, in page order.
inline constexpr std::array<ControlLabel, kThemePageCount> kThemePageLabels = {
    kLabelThemeAuthor,        kLabelThemeMenu,    kLabelThemeButtonTips,
    kLabelThemeControlLabels, kLabelThemeMessage, kLabelThemeMouse,
};

// The editable cells of a row, in this order, then the read-only key name.
enum class ThemeColumn : int { kText, kShortcut, kGesture, kKeyName };
inline constexpr std::size_t kThemeValueCount = 3;
// A column headed so is read-only.
inline constexpr std::string_view kReadOnlyColumnHeader = "-";

// The columns of a page's grid, left to right; none for "Mouse", which has no grid.
std::span<const ThemeColumn> ThemePageColumns(ThemePage page);
// The label a column is headed with; nothing for the key-name column, headed kReadOnlyColumnHeader.
std::optional<ControlLabel> ThemeColumnHeader(ThemeColumn column);

// One row of a grid: a theme key with its text and, for the command rows of "Menu", the
// shortcut key and gesture stored under the same name.
struct ThemeGridRow {
  std::string_view section;  // where the text lives
  std::string key;
  std::string builtIn;    // the text a missing or empty value gives
  bool bindings = false;  // the row has a shortcut key and a gesture
  std::array<std::string, kThemeValueCount> values;
  // As read from (or last written to) the file; a value that differs was changed by the user.
  std::array<std::string, kThemeValueCount> stored;

  bool Editable(ThemeColumn column) const;
  // The text of the cell (the key name for kKeyName).
  const std::string& Cell(ThemeColumn column) const;
};

struct ThemePageData {
  ThemePage page = ThemePage::kAuthor;
  std::vector<ThemeGridRow> rows;
  // "Mouse" only.
  GestureSettings mouse;

  // False for a column that cannot be edited in that row; otherwise the value is set.
  bool SetCell(std::size_t row, ThemeColumn column, std::string value);
};

// The editor's range for the minimum stroke length.
inline constexpr int kThemeSensitivityMin = 10;
inline constexpr int kThemeSensitivityMax = 255;

// The page as the theme file gives it (each value as the program reads it: cut to the read
// buffer, the built-in text when absent or empty). A missing file gives the built-in texts.
ThemePageData ReadThemePage(std::string_view themeFile, ThemePage page);
// The page as the program ships it: the built-in texts and the default theme's keys, gestures
// and mouse settings.
ThemePageData BaseThemePage(ThemePage page);

enum class ThemeWrite {
  kChanged,  // only the values the user changed
  kAll,      // every value, so the file holds the whole page
};

struct ThemeWriteResult {
  bool written = false;
  std::string errorText;
};

// Writes the page into the theme file in one atomic replacement and marks what was written as
// stored. An empty value removes the key: it reads as absent, and the file stays free of noise.
// "Mouse" always writes its three values.
ThemeWriteResult WriteThemePage(std::string_view themeFile, ThemePageData& data, ThemeWrite mode);

// Writes every value of every page into the theme file in one atomic replacement ("Write as").
ThemeWriteResult WriteWholeTheme(std::string_view themeFile, std::span<ThemePageData> pages);

// Whether the path names an existing theme file (the editor's buttons that act on the current
// file need one).
bool ThemeFileExists(std::string_view themeFile);

// Keeps the theme for the next start: "ThemeFile" in section "Zelvora" of the settings file.
bool StoreThemeFile(std::string_view settingsFile, std::string_view themeFile);

}  // namespace zelvora
