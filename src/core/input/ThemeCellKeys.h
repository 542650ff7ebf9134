#pragma once

// The keys of the theme editor's in-place edit box, decided without a widget: what each key-down
// and key-up does to the box. Every column closes the box on Tab and Escape (nothing saved) and
// on Enter (the trimmed text saved). The shortcut column never lets a typed character through:
// the keys pressed become the binding's text. The gesture column turns the arrow keys into
// direction labels and edits with Back, Delete, Home and End only.

#include <cstdint>
#include <string>

#include "core/input/GestureRecogniser.h"
#include "core/input/ShortcutKeys.h"
#include "core/input/ThemePages.h"

namespace zelvora {

// Virtual-key codes of the keys the edit box treats specially, besides those of the key-name
// table.
inline constexpr std::uint16_t kVirtualKeyTab = 9;
inline constexpr std::uint16_t kVirtualKeyReturn = 13;
inline constexpr std::uint16_t kVirtualKeyShift = 16;
inline constexpr std::uint16_t kVirtualKeyControl = 17;
inline constexpr std::uint16_t kVirtualKeyAlt = 18;
inline constexpr std::uint16_t kVirtualKeyEscape = 27;
inline constexpr std::uint16_t kVirtualKeyEnd = 35;
inline constexpr std::uint16_t kVirtualKeyHome = 36;
inline constexpr std::uint16_t kVirtualKeyLeft = 37;
inline constexpr std::uint16_t kVirtualKeyUp = 38;
inline constexpr std::uint16_t kVirtualKeyRight = 39;
inline constexpr std::uint16_t kVirtualKeyDown = 40;

enum class CellKeyAction {
  kPass,     // the edit box handles the key as usual
  kSwallow,  // nobody sees the key
  kSetText,  // the box's text becomes `text`
  kInsert,   // `text` replaces the selection at the caret, undoable
  kDiscard,  // the box closes, nothing saved
  kCommit,   // the box closes and its trimmed text is saved
};

struct CellKeyResult {
  CellKeyAction action = CellKeyAction::kPass;
  std::string text;

  bool operator==(const CellKeyResult&) const = default;
};

class ThemeCellKeys {
 public:
  // The gesture column inserts these labels.
  void SetLabels(GestureLabels labels) { labels_ = std::move(labels); }
  // The box opened on a cell of `column`: no modifier held, no key remembered.
  void Open(ThemeColumn column);
  // `editEmpty`: the box holds no text.
  CellKeyResult KeyDown(std::uint16_t virtualKey, bool editEmpty);
  CellKeyResult KeyUp(std::uint16_t virtualKey);

 private:
  CellKeyResult ShortcutKeyDown(std::uint16_t virtualKey, bool editEmpty);
  CellKeyResult GestureKeyDown(std::uint16_t virtualKey) const;

  ThemeColumn column_ = ThemeColumn::kText;
  ShortcutKeyCapture capture_;
  GestureLabels labels_;
};

}  // namespace zelvora
