#include <gtest/gtest.h>

#include "core/shell/CommandLine.h"

namespace zelvora {
namespace {

CommandLine Parse(const std::vector<std::string>& arguments) {
  return ParseCommandLine(JoinArguments(arguments));
}

TEST(CommandLineTest, SwitchesAreFoundWithoutRegardToCaseAndTrimmed) {
  const auto line = Parse({"/SHOW=max", "/Size=800,600", "/theme=", "dark.txt", "/USER=  bob  ",
                           "/toolbar=reset", "/tool=ON", "/split=100", "/split=200"});
  EXPECT_EQ(line.Slot(kSwitchShow), "max");
  EXPECT_EQ(line.Slot(kSwitchSize), "800,600");
  EXPECT_EQ(line.theme, "dark.txt");
  EXPECT_EQ(line.Slot(kSwitchUser), "bob");
  EXPECT_EQ(line.Slot(kSwitchUrl), "");
  // Switches that share a prefix stay apart, and the first occurrence wins.
  EXPECT_EQ(line.Slot(kSwitchToolBar), "reset");
  EXPECT_EQ(line.Slot(kSwitchTool), "ON");
  EXPECT_EQ(line.Slot(kSwitchSplit), "100");
}

TEST(CommandLineTest, AValueRunsToTheNextSwitchBlanksIncluded) {
  const auto line = Parse({"/url=http://a.example/", "http://b.example/", "/tool=OFF"});
  EXPECT_EQ(line.Slot(kSwitchUrl), "http://a.example/ http://b.example/");
  EXPECT_EQ(line.Slot(kSwitchTool), "OFF");
  EXPECT_EQ(Parse({"/dat=/home/a b/tabs.dat"}).Slot(kSwitchDat), "/home/a b/tabs.dat");
  EXPECT_EQ(Parse({"/layered=main(ON)", "main(120)", "color(FF00FF)"}).Slot(kSwitchLayered),
            "main(ON) main(120) color(FF00FF)");
  // "/debug=" does not start a line of its own.
  const auto debug = Parse({"/url=http://a.example/", "/debug=1"});
  EXPECT_EQ(debug.Slot(kSwitchUrl), "http://a.example/ /debug=1");
  EXPECT_EQ(debug.Slot(kSwitchDebug), "1");
}

TEST(CommandLineTest, TextBeforeTheFirstSwitchHasNoEffect) {
  const auto line = Parse({"http://bare.example/", "/menu=ON"});
  EXPECT_EQ(line.Slot(kSwitchUrl), "");
  EXPECT_EQ(line.Slot(kSwitchMenu), "ON");
  for (const auto& slot : Parse({"http://bare.example/"}).switches)
    EXPECT_EQ(slot, "");
}

TEST(CommandLineTest, ALinkTheDesktopStartsUsWithIsTakenWhole) {
  const std::string link = "https://shop.example/size=xl/dat=x?q=/Theme=t&u=/url=y";
  const auto line = ParseArguments({"/URL=" + link});
  EXPECT_EQ(line.Slot(kSwitchUrl), link);
  EXPECT_EQ(line.Slot(kSwitchSize), "");
  EXPECT_EQ(line.Slot(kSwitchDat), "");
  EXPECT_EQ(line.theme, "");
  // Anything but one argument that is one link reads as ever.
  EXPECT_EQ(ParseArguments({"/url=a.html /size=5,5"}).Slot(kSwitchSize), "5,5");
  EXPECT_EQ(ParseArguments({"/url=https://a.example/", "/size=5,5"}).Slot(kSwitchSize), "5,5");
  EXPECT_EQ(ParseArguments({"/url=/home/size=5"}).Slot(kSwitchSize), "5");
  EXPECT_EQ(ParseArguments({"/url=https://a.example/\t/size=5"}).Slot(kSwitchSize), "5");
}

}  // namespace
}  // namespace zelvora
