#include <gtest/gtest.h>

#include <climits>

#include "SettingsFileFixture.h"
#include "core/input/GestureRecogniser.h"

namespace zelvora {
namespace {

std::string Caption(std::uint16_t command) {
  return command == 7 ? "&Back\tAlt+Left" : "Re&load (&R)";
}

GestureRecogniser Enabled(bool allowSameDirection = false, int sensitivity = 30) {
  GestureRecogniser recogniser;
  recogniser.Configure({true, allowSameDirection, sensitivity}, {});
  return recogniser;
}

// Right, right, down in strokes of 40 pixels; the gesture text afterwards.
std::string RightRightDown(GestureRecogniser& recogniser) {
  recogniser.Press(0, 0);
  recogniser.Move(40, 0, true, Caption);
  recogniser.Move(80, 0, true, Caption);
  recogniser.Move(80, 40, true, Caption);
  return recogniser.State().gestureText;
}

TEST(GestureRecogniserTest, StrokesNeedTheSensitivity) {
  GestureRecogniser recogniser = Enabled();
  recogniser.Press(100, 100);
  EXPECT_EQ(recogniser.Move(129, 100, true, Caption), std::nullopt);
  EXPECT_EQ(recogniser.Move(130, 100, true, Caption), "R");
  // The anchor moved to (130, 100): a diagonal of 40 on both axes counts as vertical.
  EXPECT_EQ(recogniser.Move(170, 140, true, Caption), "RD");
  // Moves without the right button, or small drifts, change nothing.
  EXPECT_EQ(recogniser.Move(0, 140, false, Caption), std::nullopt);
  EXPECT_EQ(recogniser.Move(155, 140, true, Caption), std::nullopt);
  EXPECT_EQ(recogniser.Move(140, 140, true, Caption), "RDL");  // drifts add up

  // Far-apart points at the ends of the coordinate range do not overflow.
  recogniser.Press(INT_MIN, 0);
  EXPECT_EQ(recogniser.Move(INT_MAX, 0, true, Caption), "R");

  EXPECT_EQ(RightRightDown(recogniser), "RD");
  recogniser = Enabled(true);
  EXPECT_EQ(RightRightDown(recogniser), "RRD");
  // A dropped repeat still moves the anchor, so the next stroke is measured from there.
  recogniser = Enabled();
  recogniser.Press(0, 0);
  recogniser.Move(40, 0, true, Caption);
  recogniser.Move(200, 0, true, Caption);
  EXPECT_EQ(recogniser.Move(200, 40, true, Caption), "RD");
}

TEST(GestureRecogniserTest, BindingsAndRelease) {
  GestureRecogniser recogniser = Enabled();
  recogniser.AddBinding(7, "DR");
  recogniser.AddBinding(8, "DR");
  recogniser.AddBinding(9, "");
  recogniser.AddBinding(10, "L");
  ASSERT_EQ(recogniser.State().bindings->size(), 3u);

  recogniser.Press(0, 0);
  EXPECT_EQ(recogniser.Move(0, 30, true, Caption), "D");
  EXPECT_EQ(recogniser.Move(30, 30, true, Caption), "DR Back");
  GestureEnd end = recogniser.Release();
  EXPECT_TRUE(end.ended && end.swallow);
  EXPECT_EQ(end.command, 7);
  EXPECT_EQ(recogniser.State().gestureText, "");

  // Matching is on the whole text, case-sensitive: "DRL" is no binding although "L" is.
  recogniser.Press(0, 0);
  recogniser.Move(0, 30, true, Caption);
  recogniser.Move(30, 30, true, Caption);
  EXPECT_EQ(recogniser.Move(0, 30, true, Caption), "DRL");
  end = recogniser.Release();
  EXPECT_TRUE(end.swallow);
  EXPECT_EQ(end.command, std::nullopt);

  // A plain right click is not swallowed, and a second release is no gesture at all.
  recogniser.Press(0, 0);
  recogniser.Move(5, 5, true, Caption);
  end = recogniser.Release();
  EXPECT_TRUE(end.ended);
  EXPECT_FALSE(end.swallow);
  EXPECT_FALSE(recogniser.Release().ended);
}

class GestureThemeTest : public SettingsFileFixture {};

TEST_F(GestureThemeTest, SettingsAreReadAndOutOfRangeValuesFallBack) {
  WriteRaw(
      "[Mouse]\nGestureEnable=1\nGestureDirection=1\nGestureSensitivity=12\n"
      "[MouseGesture]\nWebBack=DL\n");
  GestureSettings settings = ReadGestureSettings(path_);
  EXPECT_TRUE(settings.enabled);
  EXPECT_TRUE(settings.allowSameDirection);
  EXPECT_EQ(settings.sensitivity, 12);
  EXPECT_EQ(ReadGestureText(path_, "WebBack"), "DL");

  WriteRaw("[Mouse]\nGestureEnable=2\nGestureDirection=yes\nGestureSensitivity=-5\n");
  settings = ReadGestureSettings(path_);
  EXPECT_FALSE(settings.enabled || settings.allowSameDirection);
  EXPECT_EQ(settings.sensitivity, 30);

  // Sensitivity 0 from the file would make a move that goes nowhere an upward stroke.
  WriteRaw("[Mouse]\nGestureEnable=1\nGestureSensitivity=0\n");
  GestureRecogniser recogniser;
  recogniser.Configure(ReadGestureSettings(path_), {});
  recogniser.Press(10, 10);
  EXPECT_EQ(recogniser.Move(10, 10, true, Caption), std::nullopt);
}

}  // namespace
}  // namespace zelvora
