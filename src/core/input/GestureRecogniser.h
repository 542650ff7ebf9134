#pragma once

// Mouse gestures: with the right button held over a page the user draws straight strokes; the
// strokes, read as a string of direction labels, pick a command bound in the theme's
// "MouseGesture" section. This is the recogniser alone, fed with the mouse events the gui
// watches: which windows take part, the status bar and running the command are the gui's.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

// Directions are numbered as the arrow-key codes plus kGestureDirectionOffset.
inline constexpr int kGestureDirectionOffset = 125;
enum GestureDirection : int {
  kGestureLeft = 37 + kGestureDirectionOffset,
  kGestureUp = 38 + kGestureDirectionOffset,
  kGestureRight = 39 + kGestureDirectionOffset,
  kGestureDown = 40 + kGestureDirectionOffset,
};
inline constexpr int kGestureNone = -1;

inline constexpr int kDefaultGestureSensitivity = 30;

// The "Mouse" section of the theme file.
inline constexpr std::string_view kGestureEnableKey = "GestureEnable";
inline constexpr std::string_view kGestureDirectionKey = "GestureDirection";
inline constexpr std::string_view kGestureSensitivityKey = "GestureSensitivity";

struct GestureSettings {
  bool enabled = false;
  bool allowSameDirection = false;
  int sensitivity = kDefaultGestureSensitivity;  // minimum stroke length in pixels, at least 1
};

// "GestureEnable" and "GestureDirection" count as on only when they read 1. A sensitivity below
// 1 would turn a move that goes nowhere into an upward stroke, so it reads as the default.
GestureSettings ReadGestureSettings(std::string_view themePath);

// The labels the gesture text is built from (the theme's control labels); bindings in the
// theme are written with the same labels.
struct GestureLabels {
  std::string left = "L";
  std::string up = "U";
  std::string right = "R";
  std::string down = "D";

  // Empty for anything that is not a direction.
  const std::string& ForDirection(int direction) const;
};

// The gesture text bound to the command `keyName` in the theme file, as written (empty when
// unbound).
std::string ReadGestureText(std::string_view themePath, std::string_view keyName);

struct TMouseGestureRec {
  std::uint16_t command = 0;
  std::string gesture;
};

struct TMouseGestureThinkCommandRec {
  bool active = false;  // a right-button press started a gesture
  std::int32_t matchedCommand = -1;
  std::int32_t lastDirection = kGestureNone;
  std::int32_t anchorX = 0;  // the point the next stroke is measured from
  std::int32_t anchorY = 0;
  std::string gestureText;
  // Present only while gestures are enabled; without it nothing is tracked.
  std::optional<std::vector<TMouseGestureRec>> bindings;
};

// What the end of a gesture asks of the gui.
struct GestureEnd {
  bool ended = false;    // a gesture was active: clear the status bar's first part
  bool swallow = false;  // a direction was recognised: neither page nor window sees the release,
                         // so no context menu opens
  std::optional<std::uint16_t> command;  // run this as if its menu item had been chosen
};

class GestureRecogniser {
 public:
  // The menu caption of a command (raw, as the menu shows it; empty when it has none).
  using CaptionLookup = std::function<std::string(std::uint16_t command)>;

  // Starts the binding list of a menu build: empty when the settings enable gestures, absent
  // otherwise. A gesture in progress is dropped.
  void Configure(const GestureSettings& settings, GestureLabels labels);
  // Appends a binding; an empty text binds nothing. The same text may be bound twice, and the
  // binding added first wins.
  void AddBinding(std::uint16_t command, std::string_view gesture);

  bool Enabled() const { return state_.bindings.has_value(); }
  const TMouseGestureThinkCommandRec& State() const { return state_; }

  // Right button pressed at (x, y): a fresh gesture starts when gestures are enabled.
  void Press(std::int32_t x, std::int32_t y);
  // Mouse moved to (x, y). Returns the new status text when a stroke was recognised.
  std::optional<std::string> Move(std::int32_t x, std::int32_t y, bool rightButtonDown,
                                  const CaptionLookup& caption);
  // Right button released.
  GestureEnd Release();
  // Drops a gesture in progress without running anything (the window lost the focus).
  void Reset();

 private:
  std::optional<std::string> Emit(int direction, const CaptionLookup& caption);

  GestureSettings settings_;
  GestureLabels labels_;
  TMouseGestureThinkCommandRec state_;
};

}  // namespace zelvora
