#pragma once

// The settings of the find dialog (section "SearchDialog") and of the select dialog (section
// "SelectDialog"), read when a dialog opens and written when it closes. A missing or malformed
// value gives its default; a position that was never saved is empty, and the dialog then opens
// at the main window's position plus 50.

#include <optional>
#include <string>

namespace zelvora {

struct SearchDialogSettings {
  std::optional<int> x;
  std::optional<int> y;
  bool searchForard = false;  // "SearchForard": the state of the first direction button
  bool wholeWordsOnly = false;
  bool matchCase = false;
};

struct SelectDialogSettings {
  std::optional<int> x;
  std::optional<int> y;
  int w = 400;
  bool single = false;  // the single-line layout
  int editWidth = 100;  // the width of the text field
};

SearchDialogSettings LoadSearchDialogSettings(const std::string& settingsFile);
bool SaveSearchDialogSettings(const std::string& settingsFile, const SearchDialogSettings& values);
SelectDialogSettings LoadSelectDialogSettings(const std::string& settingsFile);
bool SaveSelectDialogSettings(const std::string& settingsFile, const SelectDialogSettings& values);

}  // namespace zelvora
