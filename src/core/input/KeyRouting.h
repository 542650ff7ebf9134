#pragma once

// Which keys a web page gets before the program's own shortcuts when the keyboard focus is in
// the tab strip: the editing and navigation keys a page form needs (Backspace in a text field,
// Tab between fields, Enter to submit, arrows, Delete, F5) and, with Ctrl, the clipboard, select
// all, find and undo keys. Everything else takes the shortcut table's road first.

#include <cstdint>

namespace zelvora {

// `virtualKey` is the Windows-style key code of the key (see KeyMapping).
bool OfferedToPageFirst(std::uint16_t virtualKey, bool controlHeld);

}  // namespace zelvora
