#pragma once

// Which key of the key-name table a printable key stands for. A binding names the key as it is
// printed, unshifted: Ctrl+Shift+1 is written with "1" although the key then types "!". Keys are
// therefore read from their place on the keyboard where the window system tells it (the digit
// row and the extra key beside the left Shift), and otherwise from the character typed, taken
// back to the character the same key types without Shift.

#include <cstdint>
#include <optional>

namespace zelvora {

// `typed` is the character the key produced (a letter in either case); `xkbKeycode` is the
// window system's code of the physical key (the kernel's key code + 8 on X11 and Wayland), 0
// when it is not known. Nothing for a key the table has no name for.
std::optional<std::uint16_t> VirtualKeyOfPrintable(char32_t typed, bool shiftHeld,
                                                   std::uint32_t xkbKeycode);

}  // namespace zelvora
