#include "core/input/GestureRecogniser.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/input/ThemeTexts.h"
#include "core/shell/MenuModel.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {

GestureSettings ReadGestureSettings(std::string_view themePath) {
  GestureSettings settings;
  settings.enabled = ReadProfileInt(themePath, kThemeMouseSection, kGestureEnableKey, 0) == 1;
  settings.allowSameDirection =
      ReadProfileInt(themePath, kThemeMouseSection, kGestureDirectionKey, 0) == 1;
  const int sensitivity = ReadProfileInt(themePath, kThemeMouseSection, kGestureSensitivityKey,
                                         kDefaultGestureSensitivity);
  settings.sensitivity = sensitivity < 1 ? kDefaultGestureSensitivity : sensitivity;
  return settings;
}

const std::string& GestureLabels::ForDirection(int direction) const {
  static const std::string kNoLabel;
  switch (direction) {
    case kGestureLeft:
      return left;
    case kGestureUp:
      return up;
    case kGestureRight:
      return right;
    case kGestureDown:
      return down;
    default:
      return kNoLabel;
  }
}

std::string ReadGestureText(std::string_view themePath, std::string_view keyName) {
  return ReadProfileString(themePath, kThemeGestureSection, keyName, "");
}

void GestureRecogniser::Configure(const GestureSettings& settings, GestureLabels labels) {
  settings_ = settings;
  labels_ = std::move(labels);
  Reset();
  if (settings.enabled)
    state_.bindings.emplace();
  else
    state_.bindings.reset();
}

void GestureRecogniser::AddBinding(std::uint16_t command, std::string_view gesture) {
  if (state_.bindings && !gesture.empty())
    state_.bindings->push_back({command, std::string(gesture)});
}

void GestureRecogniser::Press(std::int32_t x, std::int32_t y) {
  if (!state_.bindings)
    return;
  Reset();
  state_.anchorX = x;
  state_.anchorY = y;
  state_.active = true;
}

std::optional<std::string> GestureRecogniser::Move(std::int32_t x, std::int32_t y,
                                                   bool rightButtonDown,
                                                   const CaptionLookup& caption) {
  if (!state_.active || !rightButtonDown)
    return std::nullopt;
  // Widened, so that points at the far ends of the coordinate range cannot overflow.
  const std::int64_t dx = std::int64_t{x} - state_.anchorX;
  const std::int64_t dy = std::int64_t{y} - state_.anchorY;
  int direction;
  if (std::llabs(dy) >= std::llabs(dx)) {  // a diagonal counts as vertical
    if (std::llabs(dy) < settings_.sensitivity)
      return std::nullopt;
    direction = dy > 0 ? kGestureDown : kGestureUp;
  } else {
    if (std::llabs(dx) < settings_.sensitivity)
      return std::nullopt;
    direction = dx > 0 ? kGestureRight : kGestureLeft;
  }
  // The anchor stays put until a stroke is long enough, so slow drifts add up. It moves on a
  // dropped repeat too: otherwise the stroke after it would still be measured from its start.
  state_.anchorX = x;
  state_.anchorY = y;
  return Emit(direction, caption);
}

std::optional<std::string> GestureRecogniser::Emit(int direction, const CaptionLookup& caption) {
  if (!settings_.allowSameDirection && direction == state_.lastDirection)
    return std::nullopt;
  state_.lastDirection = direction;
  state_.gestureText += labels_.ForDirection(direction);
  state_.matchedCommand = -1;
  const auto& bindings = *state_.bindings;
  const auto binding =
      std::find_if(bindings.begin(), bindings.end(),
                   [&](const TMouseGestureRec& b) { return b.gesture == state_.gestureText; });
  if (binding == bindings.end())
    return state_.gestureText;
  state_.matchedCommand = binding->command;
  const std::string commandCaption = caption ? caption(binding->command) : std::string();
  return state_.gestureText + " " + CleanCommandCaption(commandCaption);
}

GestureEnd GestureRecogniser::Release() {
  GestureEnd end;
  if (!state_.active)
    return end;
  end.ended = true;
  end.swallow = state_.lastDirection != kGestureNone;
  if (state_.matchedCommand != -1)
    end.command = static_cast<std::uint16_t>(state_.matchedCommand);
  Reset();
  return end;
}

void GestureRecogniser::Reset() {
  state_.active = false;
  state_.matchedCommand = -1;
  state_.lastDirection = kGestureNone;
  state_.gestureText.clear();
}

}  // namespace zelvora
