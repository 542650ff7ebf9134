#include "core/input/ThemeCellKeys.h"

namespace zelvora {

namespace {

std::uint16_t ModifierOf(std::uint16_t virtualKey) {
  switch (virtualKey) {
    case kVirtualKeyShift:
      return kAccelShift;
    case kVirtualKeyControl:
      return kAccelControl;
    case kVirtualKeyAlt:
      return kAccelAlt;
    default:
      return 0;
  }
}

}  // namespace

void ThemeCellKeys::Open(ThemeColumn column) {
  column_ = column;
  capture_.Reset();
}

CellKeyResult ThemeCellKeys::KeyDown(std::uint16_t virtualKey, bool editEmpty) {
  // Tab, Escape and Enter can be bound too; with a modifier held the shortcut column takes them
  // as the key of the binding ("Ctrl+Tab"), so that every key a theme may bind can be captured.
  const bool capturing = column_ == ThemeColumn::kShortcut && capture_.Modifiers() != 0;
  if (!capturing) {
    if (virtualKey == kVirtualKeyTab || virtualKey == kVirtualKeyEscape)
      return {CellKeyAction::kDiscard, {}};
    if (virtualKey == kVirtualKeyReturn)
      return {CellKeyAction::kCommit, {}};
  }
  switch (column_) {
    case ThemeColumn::kShortcut:
      return ShortcutKeyDown(virtualKey, editEmpty);
    case ThemeColumn::kGesture:
      return GestureKeyDown(virtualKey);
    case ThemeColumn::kText:
    case ThemeColumn::kKeyName:
      break;
  }
  return {};
}

CellKeyResult ThemeCellKeys::KeyUp(std::uint16_t virtualKey) {
  if (column_ != ThemeColumn::kShortcut)
    return {};
  if (const std::uint16_t modifier = ModifierOf(virtualKey)) {
    capture_.ModifierUp(modifier);
    return {CellKeyAction::kSwallow, {}};
  }
  return {};
}

CellKeyResult ThemeCellKeys::ShortcutKeyDown(std::uint16_t virtualKey, bool editEmpty) {
  if (const std::uint16_t modifier = ModifierOf(virtualKey))
    return {CellKeyAction::kSetText, capture_.ModifierDown(modifier)};
  if (auto text = capture_.KeyDown(virtualKey, editEmpty))
    return {CellKeyAction::kSetText, std::move(*text)};
  return {CellKeyAction::kSwallow, {}};
}

CellKeyResult ThemeCellKeys::GestureKeyDown(std::uint16_t virtualKey) const {
  switch (virtualKey) {
    case kVirtualKeyLeft:
    case kVirtualKeyUp:
    case kVirtualKeyRight:
    case kVirtualKeyDown:
      return {CellKeyAction::kInsert, labels_.ForDirection(virtualKey + kGestureDirectionOffset)};
    case kVirtualKeyBack:
    case kVirtualKeyDelete:
    case kVirtualKeyHome:
    case kVirtualKeyEnd:
      return {};
    default:
      return {CellKeyAction::kSwallow, {}};
  }
}

}  // namespace zelvora
