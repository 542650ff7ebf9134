#pragma once

// The keyword lists: what the user typed into the address bar, the search bar and the keyword
// boxes, most recent first, each kept in a text file of the per-user folder. The list logic lives
// here; the combo boxes mirror it.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/SafeFile.h"

namespace zelvora {

enum KeywordListIndex : int {
  kListAddress = 0,
  kListHistoryKey = 1,
  kListAnalysisKey = 2,
  kListSearchBar = 3,
  kListSearchDialog = 5,
};

struct KeywordListFiles {
  int index;
  std::string_view file;
  std::string_view baseFile;  // empty: none
  std::string_view maxKey;    // the settings key of the list's maximum; empty for the dialog's
};
inline constexpr std::array<KeywordListFiles, 5> kKeywordLists = {{
    {kListAddress, "HistoryUrl.txt", "", "AddresBarListMax"},
    {kListHistoryKey, "HistoryKey.txt", "BaseHistoryKey.txt", "HistoryKeyWordListMax"},
    {kListAnalysisKey, "AnalysisKey.txt", "BaseAnalysisKey.txt", "AnalysisKeyWordListMax"},
    {kListSearchBar, "SearchBarKey.txt", "", "SearchBarKeyWordListMax"},
    {kListSearchDialog, "SearchKey.txt", "", ""},
}};
// The files of a list index; null for an index without a list.
const KeywordListFiles* KeywordListOf(int index);

// One keyword box: its items, the text in its edit field, the selected item and whether the
// user changed the text since the list last took it.
struct TKeywordList {
  std::vector<std::string> items;
  std::string text;
  int selected = -1;
  bool changed = false;

  // Every non-empty line of the file (CR LF or LF; a lone CR also ends a line), in order; the
  // changed flag is cleared. False, and the list untouched, when the file does not exist.
  bool Load(const std::string& path);
  // Every item followed by CR LF, written atomically.
  FileWriteResult Save(const std::string& path) const;
  // Takes the typed text into the list (only when changed and not empty): an item equal to it
  // ignoring case moves to the top in the newly typed form, unless the first item is the
  // selected one (then nothing changes); a new text goes to the top; the list is cut to
  // `maximum` items (a maximum of 0 or below keeps none); the changed flag is cleared.
  void Add(int maximum);
  // An emptied text no longer counts as typed: the box shows the program's text again. Done
  // at a "go", when the box loses the focus and when the shown page changes.
  void Settle();
  // Deletes the selected item; the same position (or the last item) becomes selected; an
  // emptied list clears the text.
  void DeleteSelected();
  // Selects an item and takes its text.
  void Select(int index);
};

// The keyword context menu's commands: 3239 + 5 × box + action.
enum class KeywordAction { kDelete = 0, kEdit = 1, kRestore = 2, kNew = 3 };
struct KeywordCommand {
  int list;  // the list index of the box
  KeywordAction action;
  bool operator==(const KeywordCommand&) const = default;
};
inline constexpr int kKeywordCommandBase = 3239;
// The box numbers of the menu: 0 history keyword box, 1 analysis, 2 address bar, 3 search bar,
// 5 search dialog box.
int KeywordMenuBox(int list);
int KeywordCommandId(int list, KeywordAction action);
std::optional<KeywordCommand> DecodeKeywordCommand(int id);
// The reload commands 3127, 3121, 3124, 3130, 3136 → lists 0, 1, 2, 3, 5.
std::optional<int> ReloadCommandList(int id);

// The search list: an ini file whose section "." names the current entry in "Select" and whose
// other sections are the entries with their "Front" and "Back".
struct SearchEntry {
  std::string name;
  std::string front;
  std::string back;
};
struct SearchList {
  std::vector<std::string> entries;  // section names other than "." in file order
  int selected = -1;                 // "Select" by exact name; the first entry when none matches
};
SearchList ReadSearchList(const std::string& path);
SearchEntry ReadSearchEntry(const std::string& path, std::string_view name);
// Writes "Select" of section "."; false when writing failed.
bool WriteSearchSelect(const std::string& path, std::string_view name);
// "Write as" of the search list: the current list file copied to `path`, or, without a readable
// current file, a new empty list ("[.]" and "Select="). Written atomically; `path` may be the
// current file itself.
FileWriteResult WriteSearchListAs(const std::string& currentFile, const std::string& path);
// The address of a search: front + the keyword as typed + back.
std::string SearchUrl(const SearchEntry& entry, std::string_view keyword);

// The message of a failed bracket check of a regular expression, "%1" replaced by the position;
// empty when the check passed (code 0). `messages` are the three theme messages in order: not
// enough closing brackets, opening '[' without ']', closing ')' without '('.
std::string RegexCheckMessage(int code, int position, const std::array<std::string, 3>& messages);

}  // namespace zelvora
