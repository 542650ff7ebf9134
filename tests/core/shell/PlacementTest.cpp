#include <gtest/gtest.h>

#include <ostream>

#include "core/shell/Placement.h"

namespace zelvora {

// Readable failures.
void PrintTo(const WindowRect& rect, std::ostream* out) {
  *out << "{" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << "}";
}

namespace {

// A 1920 x 1080 screen with a 40-pixel panel at the bottom.
ScreenGeometry Screen(int frame = 0) {
  ScreenGeometry screen;
  screen.width = 1920;
  screen.height = 1080;
  screen.available = {0, 0, 1920, 1040};
  screen.frameX = frame;
  screen.frameY = frame;
  return screen;
}

PlacementInput Input() {
  PlacementInput input;
  input.screen = Screen();
  return input;
}

WindowRect Place(const PlacementInput& input) {
  return PlaceMainWindow(input).rect;
}

TEST(PlacementTest, SwitchesTakeEachNonEmptyPartAroundTheFirstComma) {
  PlacementInput input = Input();
  input.startSize = kStartLast;  // the switch wins over the start-up option
  input.saved.width = 1000;
  const std::pair<std::string_view, WindowRect> sizes[] = {{"800", {240, 130, 1440, 780}},
                                                           {",600", {240, 130, 1440, 600}},
                                                           {" 900 , 700 ", {240, 130, 900, 700}},
                                                           {"-800,-600", {240, 130, 500, 300}}};
  for (const auto& [value, rect] : sizes) {
    input.sizeSwitch = value;
    EXPECT_EQ(Place(input), rect) << value;
    EXPECT_FALSE(PlaceMainWindow(input).restoreState) << value;
  }

  input = Input();
  input.startPos = kStartFixed;
  input.posSwitch = "10,20";
  EXPECT_EQ(Place(input), (WindowRect{10, 20, 1440, 780}));

  // At run time the switches start from the current geometry; growing past the edge moves it.
  const WindowRect current{100, 100, 800, 600};
  EXPECT_EQ(ApplySizeSwitch("1900,1000", current, Screen()), (WindowRect{20, 40, 1900, 1000}));
  EXPECT_EQ(ApplyPosSwitch("5000,5000", current, Screen()), (WindowRect{1120, 440, 800, 600}));
}

TEST(PlacementTest, StartOptionsChooseTheRectangleAndTheRestoredState) {
  // A first start covers three quarters of the available area, centred on it.
  const WindowPlacement first = PlaceMainWindow(Input());
  EXPECT_EQ(first.rect, (WindowRect{240, 130, 1440, 780}));
  EXPECT_EQ(first.show, kShowNormal);
  EXPECT_FALSE(first.restoreState);
  PlacementInput small = Input();
  small.screen.available = {0, 0, 600, 380};
  EXPECT_EQ(Place(small), (WindowRect{75, 47, 500, 300}));  // never below the minimum

  PlacementInput input = Input();
  input.startPos = kStartFixed;
  input.startX = 300;
  input.startY = 200;
  EXPECT_EQ(Place(input), (WindowRect{300, 200, 1440, 780}));
  input.startPos = kStartLast;
  input.saved.x = 40;
  EXPECT_EQ(Place(input), (WindowRect{40, 130, 1440, 780}));

  input = Input();
  input.startSize = kStartFixed;
  input.startWidth = 1001;
  input.startHeight = 701;
  EXPECT_EQ(Place(input), (WindowRect{240, 130, 1000, 700}));

  input.startSize = kStartLast;
  const WindowPlacement last = PlaceMainWindow(input);
  EXPECT_EQ(last.rect, (WindowRect{240, 130, 1440, 780}));  // nothing saved yet
  EXPECT_EQ(last.show, kShowNormal);                        // absent "State"
  EXPECT_TRUE(last.restoreState);
  input.saved.width = 1200;
  input.saved.height = 800;
  EXPECT_EQ(Place(input), (WindowRect{240, 130, 1200, 800}));
  const std::pair<int, ShowCommand> states[] = {
      {0, kShowMaximized}, {1, kShowMinimized}, {7, kShowNormal}};
  for (const auto& [state, show] : states) {
    input.saved.state = state;
    EXPECT_EQ(PlaceMainWindow(input).show, show) << state;
  }
  input.saved.state = 0;
  input.startMinimised = true;
  EXPECT_EQ(PlaceMainWindow(input).show, kShowMinimized);
  // Only a restored state honours the minimised start.
  input.startSize = kStartNone;
  EXPECT_EQ(PlaceMainWindow(input).show, kShowNormal);
}

TEST(PlacementTest, FittingPullsTheWindowBackInsideTheAvailableArea) {
  PlacementInput input = Input();
  input.sizeSwitch = "500,300";
  input.posSwitch = "1800,1000";
  EXPECT_EQ(Place(input), (WindowRect{1420, 740, 500, 300}));

  // A panel on the left and one at the top.
  input.screen.available = {64, 30, 1856, 1050};
  input.posSwitch = "0,0";
  EXPECT_EQ(Place(input), (WindowRect{64, 30, 500, 300}));

  input = Input();
  input.sizeSwitch = "99999999,99999999";
  EXPECT_EQ(Place(input), (WindowRect{0, 0, 1920, 1040}));
  input.screen = Screen(8);
  EXPECT_EQ(Place(input), (WindowRect{16, 16, 1904, 1024}));
  // A maximised window does not count its frames.
  input.sizeSwitch = "";
  input.startSize = kStartLast;
  input.saved = {99999999, 99999999, 5, 5, 0};
  EXPECT_EQ(Place(input), (WindowRect{0, 0, 1920, 1040}));
}

}  // namespace
}  // namespace zelvora
