#pragma once

// Where the main window appears: its first rectangle and show command, computed before the
// window exists from the "/size=" and "/pos=" switches, the start-up options and the geometry
// saved at the last exit; and the run-time "/size=" and "/pos=" switch messages.
//
// The screen's available area stands in for the taskbar: fitting keeps the window inside it.

#include <optional>
#include <string_view>

namespace zelvora {

// The main window's minimum tracking size.
inline constexpr int kMainWindowMinWidth = 500;
inline constexpr int kMainWindowMinHeight = 300;

enum ShowCommand : int { kShowNormal = 0, kShowMaximized, kShowMinimized };

struct WindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const WindowRect&) const = default;
};

struct ScreenGeometry {
  // The whole primary screen.
  int width = 0;
  int height = 0;
  // The part not taken by panels and taskbars.
  WindowRect available;
  // The thickness of a sizing frame; 0 where the window system draws frames outside the window.
  int frameX = 0;
  int frameY = 0;
};

// The geometry section "Zelvora" of the settings file keeps from the last exit; an absent key
// takes the default of the start-up (the first rectangle, state 2 "normal").
struct SavedWindowGeometry {
  std::optional<int> width;
  std::optional<int> height;
  std::optional<int> x;
  std::optional<int> y;
  std::optional<int> state;
};

// "StartSize" and "StartPos" of section "ConfigDialog".
enum StartMode : int { kStartNone = 0, kStartLast = 1, kStartFixed = 2 };

struct PlacementInput {
  ScreenGeometry screen;
  // The "/size=" and "/pos=" slot values; empty when not given.
  std::string_view sizeSwitch;
  std::string_view posSwitch;
  // Clamped to 0..2.
  int startSize = kStartNone;
  int startPos = kStartNone;
  SavedWindowGeometry saved;
  // "StartWidth", "StartHeight", "StartX" and "StartY" of section "ConfigDialog".
  int startWidth = 0;
  int startHeight = 0;
  int startX = 0;
  int startY = 0;
  // The desktop asked for the program to start minimised.
  bool startMinimised = false;
};

struct WindowPlacement {
  WindowRect rect;
  ShowCommand show = kShowNormal;
  // "Last Size" brings back the saved window state along with the size.
  bool restoreState = false;
};

// The placement starts from the first rectangle, which is also what stands for a size or a
// position nothing gives: an empty part of a switch, "None", or "Last Size" and "Last Pos"
// without saved values.
WindowPlacement PlaceMainWindow(const PlacementInput& input);

// The first rectangle: three quarters of the available area each way, centred on it, so that a
// first start opens a window a page can be read in rather than one of the minimum size.
WindowRect FirstWindowRect(const ScreenGeometry& screen);

// The show command for a state number of "State" (and of the "/show=" switch): 0 maximised,
// 1 minimised, anything else normal.
ShowCommand ShowCommandFromState(int state);

// `rect` fitted inside the available area: at most as large as the area less the frames (the
// frames are not counted for a maximised window), then moved so that it ends inside the area
// and starts at or after its top left corner. A degenerate area still leaves at least 1 x 1.
WindowRect FitToScreen(WindowRect rect, const ScreenGeometry& screen, bool maximised);

// The run-time switch messages, applied to a window that is not maximised (a maximised one is
// restored first): "width,height" with the current size as default, fitted, keeping the
// position unless fitting moves it; and "x,y" with the current position as default, fitted
// with the current size.
WindowRect ApplySizeSwitch(std::string_view value, const WindowRect& current,
                           const ScreenGeometry& screen);
WindowRect ApplyPosSwitch(std::string_view value, const WindowRect& current,
                          const ScreenGeometry& screen);

}  // namespace zelvora
