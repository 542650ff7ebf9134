#include "core/input/PhysicalKeys.h"

#include <string_view>

#include "core/input/ShortcutKeys.h"

namespace zelvora {

namespace {

// The window system numbers keys as the kernel does, plus 8.
constexpr std::uint32_t kXkbKeycodeOffset = 8;
// Kernel key codes: the digit row runs from "1" (2) to "0" (11); the key between the left Shift
// and Z of European keyboards, and the "ro" key of Japanese ones, are the table's "VK_OEM_102".
constexpr std::uint32_t kKernelKey1 = 2;
constexpr std::uint32_t kKernelKey0 = 11;
constexpr std::uint32_t kKernelKey102nd = 86;
constexpr std::uint32_t kKernelKeyRo = 89;
constexpr std::uint16_t kVirtualKeyOem102 = 226;

// What the keys of a US keyboard type with and without Shift, for the keys whose place the
// window system did not tell.
constexpr std::string_view kShifted = R"(!@#$%^&*()_+{}|:"<>?~)";
constexpr std::string_view kUnshifted = R"(1234567890-=[]\;',./`)";
static_assert(kShifted.size() == kUnshifted.size());

std::optional<std::uint16_t> VirtualKeyOfPlace(std::uint32_t xkbKeycode) {
  if (xkbKeycode < kXkbKeycodeOffset)
    return std::nullopt;
  const std::uint32_t kernelKey = xkbKeycode - kXkbKeycodeOffset;
  if (kernelKey >= kKernelKey1 && kernelKey < kKernelKey0)
    return static_cast<std::uint16_t>('1' + (kernelKey - kKernelKey1));
  if (kernelKey == kKernelKey0)
    return static_cast<std::uint16_t>('0');
  if (kernelKey == kKernelKey102nd || kernelKey == kKernelKeyRo)
    return kVirtualKeyOem102;
  return std::nullopt;
}

}  // namespace

std::optional<std::uint16_t> VirtualKeyOfPrintable(char32_t typed, bool shiftHeld,
                                                   std::uint32_t xkbKeycode) {
  if (const auto placed = VirtualKeyOfPlace(xkbKeycode))
    return placed;
  if (typed <= U' ' || typed >= 0x7F)
    return std::nullopt;
  char c = static_cast<char>(typed);
  if (shiftHeld) {
    if (const auto at = kShifted.find(c); at != std::string_view::npos)
      c = kUnshifted[at];
  }
  return VirtualKeyFromCharacter(c);
}

}  // namespace zelvora
