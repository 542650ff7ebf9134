#include "core/shell/Placement.h"

#include <algorithm>
#include <climits>

#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// A state number saved in section "Zelvora" when the window was neither maximised nor
// minimised; also what an absent "State" means.
constexpr int kStateNormal = 2;

int ToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// "first,second": the text before the first comma and the text after it, each taken when it is
// not blank. Without a comma neither is taken: a lone number could mean either.
void ParsePair(std::string_view value, int& first, int& second) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos)
    return;
  const std::string_view before = TrimBlanksAndControls(value.substr(0, comma));
  const std::string_view after = TrimBlanksAndControls(value.substr(comma + 1));
  if (!before.empty())
    first = ParseProfileInt(before, first);
  if (!after.empty())
    second = ParseProfileInt(after, second);
}

// The window cannot be made smaller than its minimum tracking size anyway; raising the value
// here lets fitting see the size the window will really have.
void RaiseToMinimum(WindowRect& rect) {
  rect.width = std::max(rect.width, kMainWindowMinWidth);
  rect.height = std::max(rect.height, kMainWindowMinHeight);
}

// One axis of the fitting: the extent at most `limit` (never below 1), then the start moved so
// the window ends inside [areaStart, areaStart + areaExtent) and starts at or after areaStart.
void FitAxis(int& start, int& extent, int areaStart, int areaExtent, long long limit) {
  extent = ToInt(std::clamp<long long>(extent, 1, std::max<long long>(limit, 1)));
  const long long areaEnd = static_cast<long long>(areaStart) + areaExtent;
  long long position = start;
  if (position + extent > areaEnd)
    position = areaEnd - extent;
  start = ToInt(std::max<long long>(position, areaStart));
}

}  // namespace

ShowCommand ShowCommandFromState(int state) {
  switch (state) {
    case 0:
      return kShowMaximized;
    case 1:
      return kShowMinimized;
    default:
      return kShowNormal;
  }
}

WindowRect FitToScreen(WindowRect rect, const ScreenGeometry& screen, bool maximised) {
  const WindowRect& area = screen.available;
  const long long frameX = maximised ? 0 : std::max(screen.frameX, 0);
  const long long frameY = maximised ? 0 : std::max(screen.frameY, 0);
  FitAxis(rect.x, rect.width, area.x, area.width, area.width - 2 * frameX);
  FitAxis(rect.y, rect.height, area.y, area.height, area.height - 2 * frameY);
  return rect;
}

WindowRect FirstWindowRect(const ScreenGeometry& screen) {
  const WindowRect& area = screen.available;
  const long long width = std::max(area.width, 0) * 3LL / 4;
  const long long height = std::max(area.height, 0) * 3LL / 4;
  return {ToInt(area.x + (area.width - width) / 2), ToInt(area.y + (area.height - height) / 2),
          ToInt(width), ToInt(height)};
}

WindowPlacement PlaceMainWindow(const PlacementInput& input) {
  WindowPlacement placement;
  WindowRect& rect = placement.rect;
  rect = FirstWindowRect(input.screen);
  const WindowRect first = rect;

  const int startSize = std::clamp(input.startSize, 0, 2);
  if (!input.sizeSwitch.empty()) {
    ParsePair(input.sizeSwitch, rect.width, rect.height);
  } else if (startSize == kStartLast) {
    rect.width = input.saved.width.value_or(first.width);
    rect.height = input.saved.height.value_or(first.height);
    placement.restoreState = true;
  } else if (startSize == kStartFixed) {
    // The recorded size is one more than the size to create, as it always has been.
    rect.width = ToInt(static_cast<long long>(input.startWidth) - 1);
    rect.height = ToInt(static_cast<long long>(input.startHeight) - 1);
  }

  const int startPos = std::clamp(input.startPos, 0, 2);
  if (!input.posSwitch.empty()) {
    ParsePair(input.posSwitch, rect.x, rect.y);
  } else if (startPos == kStartLast) {
    rect.x = input.saved.x.value_or(first.x);
    rect.y = input.saved.y.value_or(first.y);
  } else if (startPos == kStartFixed) {
    rect.x = input.startX;
    rect.y = input.startY;
  }

  if (placement.restoreState) {
    placement.show = input.startMinimised
                         ? kShowMinimized
                         : ShowCommandFromState(input.saved.state.value_or(kStateNormal));
  }

  RaiseToMinimum(rect);
  rect = FitToScreen(rect, input.screen, placement.show == kShowMaximized);
  return placement;
}

WindowRect ApplySizeSwitch(std::string_view value, const WindowRect& current,
                           const ScreenGeometry& screen) {
  WindowRect rect = current;
  ParsePair(TrimBlanksAndControls(value), rect.width, rect.height);
  RaiseToMinimum(rect);
  return FitToScreen(rect, screen, false);
}

WindowRect ApplyPosSwitch(std::string_view value, const WindowRect& current,
                          const ScreenGeometry& screen) {
  WindowRect rect = current;
  ParsePair(TrimBlanksAndControls(value), rect.x, rect.y);
  return FitToScreen(rect, screen, false);
}

}  // namespace zelvora
