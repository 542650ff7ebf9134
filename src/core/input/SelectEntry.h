#pragma once

// The select list: an ini file like the search list, whose section "." names the current entry
// in "Select" and whose other sections are the entries, each with "Front" and "Back" (the text
// put before and after a selection) and the flags "RegExp" and "Source" (1 = on). The current
// entry decides how a selection is read (as HTML with "Source") and how it is edited before it
// is copied or opened.

#include <string>
#include <string_view>

#include "core/shell/SafeFile.h"

namespace zelvora {

struct SelectEntry {
  std::string name;
  std::string front;
  std::string back;
  bool regExp = false;  // "Front" and "Back" are templates (escapes and "%1")
  bool source = false;  // the selection is read as HTML
};

// The entry of that name; empty fields when the file or the section is missing.
SelectEntry ReadSelectEntry(const std::string& path, std::string_view name);
// The current entry: the one named by "Select", else the first entry; an entry without a name
// when the list has none.
SelectEntry ReadCurrentSelectEntry(const std::string& path);
// Writes the entry's section (its four keys), creating the file ("[.]" and "Select=") when it
// does not exist; the file is replaced atomically and everything else in it is kept.
FileWriteResult WriteSelectEntry(const std::string& path, const SelectEntry& entry);

// The edit step of the selection actions: "Front" + text + "Back". With "RegExp", in both
// "Front" and "Back" the escapes "\s" (a blank), "\t" (a tab) and "\n" (CR LF) are replaced
// first, then every "%1" by the text. An empty text stays empty.
std::string EditSelection(std::string_view text, const SelectEntry& entry);

}  // namespace zelvora
