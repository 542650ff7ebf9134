#include "gui/input/KeyMapping.h"

#include <QKeyEvent>

#include "core/input/PhysicalKeys.h"
#include "core/input/ShortcutKeys.h"

namespace zelvora {

namespace {

constexpr std::uint16_t kVirtualKeyLeft = 37;
constexpr std::uint16_t kVirtualKeyF1 = 112;
constexpr std::uint16_t kVirtualKeyNumpad0 = 96;
constexpr int kFunctionKeyCount = 24;

std::optional<std::uint16_t> KeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return static_cast<std::uint16_t>(kVirtualKeyNumpad0 + (key - Qt::Key_0));
  }
  switch (key) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 110;
    case Qt::Key_Slash:
      return 111;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::uint16_t> VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (const auto keypad = KeypadKey(key))
      return keypad;
  }
  if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeyCount) {
    return static_cast<std::uint16_t>(kVirtualKeyF1 + (key - Qt::Key_F1));
  }
  switch (key) {
    case Qt::Key_Backspace:
      return kVirtualKeyBack;
    case Qt::Key_Delete:
      return kVirtualKeyDelete;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
      return static_cast<std::uint16_t>(kVirtualKeyLeft + (key - Qt::Key_Left));
    // Shift+Tab arrives as a key of its own.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Insert:
      return 45;
    default:
      break;
  }
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
