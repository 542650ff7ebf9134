#include <gtest/gtest.h>

#include <climits>

#include "core/shell/SwitchValues.h"

namespace zelvora {
namespace {

constexpr int kFlagLayeredSearch = kFlagLayeredMain + 1;
constexpr int kFlagLayeredOther = kFlagLayeredMain + 7;
constexpr int kIntLayeredHistoryDateValue = kIntLayeredMainValue + 6;
constexpr int kIntLayeredOtherValue = kIntLayeredMainValue + 7;

TSettings Layered(std::string_view value) {
  TSettings settings;
  settings.integers[kIntLayeredMainValue] = 200;
  settings.colours[kColourLayeredKey] = MakeColour(1, 2, 3);
  ApplyLayeredSwitch(value, settings);
  return settings;
}

TEST(SwitchValuesTest, SimpleSwitches) {
  EXPECT_EQ(OnOff(" OFF\r\n"), false);
  EXPECT_EQ(OnOff("oN"), true);
  EXPECT_EQ(OnOff("ONE"), std::nullopt);
  EXPECT_EQ(OnOff(""), std::nullopt);

  EXPECT_EQ(ShowSwitchState("max"), 0);
  EXPECT_EQ(ShowSwitchState("MIN"), 1);
  EXPECT_EQ(ShowSwitchState("restore"), 2);
  EXPECT_EQ(ShowSwitchState("maximum"), 2);

  EXPECT_EQ(SplitSwitch(" 150px"), 150);
  EXPECT_EQ(SplitSwitch("-20"), 0);
  EXPECT_EQ(SplitSwitch("99999999999"), INT_MAX);
  EXPECT_EQ(SplitSwitch("px150"), std::nullopt);
  EXPECT_EQ(SplitSwitch("-"), std::nullopt);
}

TEST(SwitchValuesTest, LayeredSwitchesFlagsOpacitiesAndTheColourKey) {
  TSettings settings = Layered("main(ON) main(120) color(FF00FF)");
  EXPECT_TRUE(settings.Flag(kFlagLayeredMain));
  EXPECT_EQ(settings.Int(kIntLayeredMainValue), 120);
  EXPECT_EQ(settings.colours[kColourLayeredKey], MakeColour(0xFF, 0x00, 0xFF));
  EXPECT_FALSE(settings.Flag(kFlagLayeredColorKey));

  settings = Layered("search(OFF) other(on) date(300) other(-4) color( On ) main(60) main(70)");
  EXPECT_FALSE(settings.Flag(kFlagLayeredSearch));
  EXPECT_TRUE(settings.Flag(kFlagLayeredOther));
  EXPECT_TRUE(settings.Flag(kFlagLayeredColorKey));
  EXPECT_EQ(settings.Int(kIntLayeredHistoryDateValue), 255);
  EXPECT_EQ(settings.Int(kIntLayeredOtherValue), 0);
  EXPECT_EQ(settings.Int(kIntLayeredMainValue), 70);
  EXPECT_EQ(settings.colours[kColourLayeredKey], MakeColour(1, 2, 3));

  settings = Layered("color(00ff80) search(ON)");
  EXPECT_EQ(settings.colours[kColourLayeredKey], MakeColour(0x00, 0xFF, 0x80));
  EXPECT_TRUE(settings.Flag(kFlagLayeredSearch));

  // Names are matched as written, anywhere in the value.
  EXPECT_TRUE(Layered("domain(ON)").Flag(kFlagLayeredMain));
  EXPECT_FALSE(Layered("MAIN(ON)").Flag(kFlagLayeredMain));
}

TEST(SwitchValuesTest, LayeredTextThatIsNoValueChangesNothing) {
  const TSettings before = Layered("");
  for (const std::string_view value :
       {"main(abc)", "main()", "color(12345)", "color(GG0000)", "main(ON", "main ON", "x(ON)"}) {
    const TSettings after = Layered(value);
    EXPECT_EQ(after.flags, before.flags) << value;
    EXPECT_EQ(after.integers, before.integers) << value;
    EXPECT_EQ(after.colours, before.colours) << value;
  }
}

}  // namespace
}  // namespace zelvora
