#include "core/input/DialogSettings.h"

#include <algorithm>

#include "core/shell/UtilFunc.h"

namespace zelvora {

namespace {

constexpr std::string_view kSearchSection = "SearchDialog";
constexpr std::string_view kSelectSection = "SelectDialog";

// Widths from a hand-edited or damaged file are brought back into a range the dialog can be
// shown and used in: below the minimum its controls are squeezed to nothing, above the maximum
// it would reach far past any screen.
constexpr int kSelectDialogMinWidth = 200;
constexpr int kSelectDialogMaxWidth = 8000;
constexpr int kEditMinWidth = 20;
constexpr int kEditMaxWidth = 4000;

// A number, or nothing when the value is absent or does not start with one (after blanks and
// a sign): such a value was not written by the dialog and gives the default.
std::optional<int> Number(const std::string& file, std::string_view section, std::string_view key) {
  const std::string text = ReadProfileString(file, section, key, "");
  const std::size_t digit = text.find_first_not_of("+-");
  if (digit == std::string::npos || digit > 1 || text[digit] < '0' || text[digit] > '9')
    return std::nullopt;
  return ParseProfileInt(text, 0);
}

// "1" is on and "0" off; anything else gives the default.
bool Flag(const std::string& file, std::string_view section, std::string_view key,
          bool defaultValue) {
  const std::string text = ReadProfileString(file, section, key, "");
  if (text == "1")
    return true;
  if (text == "0")
    return false;
  return defaultValue;
}

bool WritePosition(const std::string& file, std::string_view section, std::optional<int> x,
                   std::optional<int> y) {
  bool accepted = true;
  if (x)
    accepted = WriteProfileInt(file, section, "x", *x) && accepted;
  if (y)
    accepted = WriteProfileInt(file, section, "y", *y) && accepted;
  return accepted;
}

}  // namespace

SearchDialogSettings LoadSearchDialogSettings(const std::string& settingsFile) {
  SearchDialogSettings values;
  values.x = Number(settingsFile, kSearchSection, "x");
  values.y = Number(settingsFile, kSearchSection, "y");
  // A dialog that never closed before searches forward: "&Forward" is the first button and
  // the one checked, and only a saved 0 turns to "&Backward".
  values.searchForard = Flag(settingsFile, kSearchSection, "SearchForard", true);
  values.wholeWordsOnly = Flag(settingsFile, kSearchSection, "WholeWordsOnly", false);
  values.matchCase = Flag(settingsFile, kSearchSection, "MatchCase", false);
  return values;
}

bool SaveSearchDialogSettings(const std::string& settingsFile, const SearchDialogSettings& values) {
  ProfileUpdate update(settingsFile);
  bool accepted = WritePosition(settingsFile, kSearchSection, values.x, values.y);
  accepted =
      WriteProfileInt(settingsFile, kSearchSection, "SearchForard", values.searchForard ? 1 : 0) &&
      accepted;
  accepted = WriteProfileInt(settingsFile, kSearchSection, "WholeWordsOnly",
                             values.wholeWordsOnly ? 1 : 0) &&
             accepted;
  accepted = WriteProfileInt(settingsFile, kSearchSection, "MatchCase", values.matchCase ? 1 : 0) &&
             accepted;
  return update.Commit() && accepted;
}

SelectDialogSettings LoadSelectDialogSettings(const std::string& settingsFile) {
  SelectDialogSettings values;
  values.x = Number(settingsFile, kSelectSection, "x");
  values.y = Number(settingsFile, kSelectSection, "y");
  values.w = std::clamp(Number(settingsFile, kSelectSection, "w").value_or(values.w),
                        kSelectDialogMinWidth, kSelectDialogMaxWidth);
  values.single = Flag(settingsFile, kSelectSection, "Single", false);
  values.editWidth =
      std::clamp(Number(settingsFile, kSelectSection, "EditWidth").value_or(values.editWidth),
                 kEditMinWidth, kEditMaxWidth);
  return values;
}

bool SaveSelectDialogSettings(const std::string& settingsFile, const SelectDialogSettings& values) {
  ProfileUpdate update(settingsFile);
  bool accepted = WritePosition(settingsFile, kSelectSection, values.x, values.y);
  accepted = WriteProfileInt(settingsFile, kSelectSection, "w", values.w) && accepted;
  accepted =
      WriteProfileInt(settingsFile, kSelectSection, "Single", values.single ? 1 : 0) && accepted;
  accepted =
      WriteProfileInt(settingsFile, kSelectSection, "EditWidth", values.editWidth) && accepted;
  return update.Commit() && accepted;
}

}  // namespace zelvora
