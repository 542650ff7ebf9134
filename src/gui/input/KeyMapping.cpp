#include "gui/input/KeyMapping.h"

#include <QKeyEvent>
#include <algorithm>
#include <utility>

#include "core/input/PhysicalKeys.h"
#include "core/input/ShortcutKeys.h"

namespace zelvora {

namespace {

constexpr std::uint16_t kVirtualKeyF1 = 112;
constexpr std::uint16_t kVirtualKeyNumpad0 = 96;
constexpr int kFunctionKeyCount = 24;

using KeyPair = std::pair<int, std::uint16_t>;

// Keys of the number pad other than its digits.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

// Keys that type no character. Shift+Tab arrives as a key of its own.
constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, kVirtualKeyBack},
    {Qt::Key_Delete, kVirtualKeyDelete},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},
};

template <std::size_t N>
std::optional<std::uint16_t> Lookup(const KeyPair (&table)[N], int key) {
  const auto found = std::find_if(std::begin(table), std::end(table),
                                  [key](const KeyPair& pair) { return pair.first == key; });
  return found == std::end(table) ? std::nullopt : std::optional(found->second);
}

}  // namespace

std::optional<std::uint16_t> VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
      return static_cast<std::uint16_t>(kVirtualKeyNumpad0 + (key - Qt::Key_0));
    if (const auto keypad = Lookup(kKeypadKeys, key))
      return keypad;
  }
  if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeyCount)
    return static_cast<std::uint16_t>(kVirtualKeyF1 + (key - Qt::Key_F1));
  if (const auto named = Lookup(kNamedKeys, key))
    return named;
  // Letters, digits and punctuation: Qt names them by the character typed, Shift applied.
  if (key > ' ' && key < 0x7F) {
    return VirtualKeyOfPrintable(static_cast<char32_t>(key),
                                 event.modifiers().testFlag(Qt::ShiftModifier),
                                 event.nativeScanCode());
  }
  return std::nullopt;
}

std::uint16_t AcceleratorModifiersOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  std::uint16_t flags = 0;
  if (modifiers.testFlag(Qt::ShiftModifier))
    flags |= kAccelShift;
  if (modifiers.testFlag(Qt::ControlModifier))
    flags |= kAccelControl;
  if (modifiers.testFlag(Qt::AltModifier))
    flags |= kAccelAlt;
  return flags;
}

}  // namespace zelvora
