#pragma once

// The settings of the find dialog (section "SearchDialog") and of the select dialog (section
// "SelectDialog"), read when a dialog opens and written when it closes. A missing or malformed
// value gives its default and a width out of range the nearest usable one; a position that was
// never saved is empty, and the dialog then opens at the main window's position plus 50.

#include <optional>
#include <string>

namespace zelvora {

struct SearchDialogSettings {
  std::optional<int> x;
  std::optional<int> y;
  // "SearchForard": the state of the first direction button, "&Forward"; a dialog that never
  // saved it searches forward.
  bool searchForard = true;
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
