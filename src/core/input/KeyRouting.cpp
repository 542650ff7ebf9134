#include "core/input/KeyRouting.h"

#include <algorithm>
#include <array>

namespace zelvora {

namespace {

// Backspace, Tab, Enter, Shift, Escape, Left, Right, Insert, Delete, F5.
constexpr std::array<std::uint16_t, 10> kPageKeys = {0x08, 0x09, 0x0D, 0x10, 0x1B,
                                                     0x25, 0x27, 0x2D, 0x2E, 0x74};
constexpr std::array<std::uint16_t, 6> kPageControlKeys = {'A', 'C', 'F', 'V', 'X', 'Z'};

}  // namespace

bool OfferedToPageFirst(std::uint16_t virtualKey, bool controlHeld) {
  if (std::find(kPageKeys.begin(), kPageKeys.end(), virtualKey) != kPageKeys.end())
    return true;
  return controlHeld && std::find(kPageControlKeys.begin(), kPageControlKeys.end(), virtualKey) !=
                            kPageControlKeys.end();
}

}  // namespace zelvora
