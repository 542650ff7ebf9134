#include <gtest/gtest.h>

#include <string>

#include "SettingsFileFixture.h"
#include "core/shell/UtilFunc.h"
#include "core/shell/WindowState.h"

namespace zelvora {
namespace {

class WindowStateTest : public SettingsFileFixture {};

TEST_F(WindowStateTest, WindowSectionLoadsWithDefaultsAndSavesGeometryOnlyWhenNotMaximised) {
  WindowState state;
  state.Load(path_, 111, 222);
  EXPECT_EQ(state.x, 111);

  WriteRaw(
      "[Zelvora]\r\nx=5\r\nw=800\r\nh=600\r\nState=7\r\nShowMenu=0\r\nShowReber=2\r\n"
      "SelectTool=4\r\nHistoryRegExp=1\r\nAnalysisLock=1\r\nUseIEProxy=0\r\n");
  state.Load(path_, 111, 222);
  EXPECT_EQ(state.x, 5);
  EXPECT_EQ(state.y, 222);
  EXPECT_FALSE(state.positionStored);  // "y" is missing
  EXPECT_TRUE(state.sizeStored);
  EXPECT_EQ(state.state, kWindowNormal);
  EXPECT_FALSE(state.showRebar);
  EXPECT_EQ(state.selectTool, kToolFavorite);
  EXPECT_TRUE(state.toolOptions[2] && state.toolOptions[9]);
  EXPECT_FALSE(state.useIEProxy);

  WindowState saved;
  saved.x = -40;
  saved.y = 60;
  saved.w = 1280;
  saved.h = 900;
  saved.state = kWindowMaximised;
  saved.showCaption = false;
  saved.selectTool = kToolProxy;
  saved.toolOptions[4] = true;
  saved.proxyBypassLocal = true;
  ASSERT_TRUE(saved.Save(path_, true));
  state.Load(path_, 0, 0);
  EXPECT_EQ(state.x, 5);  // a maximised window leaves the last normal geometry alone
  EXPECT_EQ(state.w, 800);
  EXPECT_EQ(state.state, kWindowMaximised);
  ASSERT_TRUE(saved.Save(path_, false));
  state.Load(path_, 0, 0);
  EXPECT_TRUE(state.positionStored);
  EXPECT_EQ(state.x, -40);
  EXPECT_EQ(state.h, 900);
  EXPECT_FALSE(state.showCaption);
  EXPECT_EQ(state.selectTool, kToolProxy);
  EXPECT_EQ(state.toolOptions, saved.toolOptions);
  EXPECT_TRUE(state.useIEProxy);
  EXPECT_TRUE(state.proxyBypassLocal);
}

TEST_F(WindowStateTest, RebarBandsParseAndFormat) {
  EXPECT_EQ(ParseRebarBand("0,250n"), (RebarBand{0, 250, true}));
  EXPECT_EQ(ParseRebarBand("1,1234"), (RebarBand{1, 123, false}));
  for (const std::string_view bad : {"", "0,n", "x,20", "0;20", "12,20", "0,-5"})
    EXPECT_FALSE(ParseRebarBand(bad)) << bad;
  EXPECT_EQ(FormatRebarBand({0, 250, true}), "0,250n");
  EXPECT_EQ(FormatRebarBand({1, 4000, false}), "1,999");
  const std::array<RebarBand, kRebarBandCount> defaults = {
      DefaultRebarBand(0, 24), DefaultRebarBand(1, 24), DefaultRebarBand(2, 24)};

  RebarState rebar;
  rebar.Load(path_, 24);
  EXPECT_EQ(rebar.bands, defaults);
  EXPECT_EQ(rebar.barSearchKeyWidth, 150);
  WriteRaw("[Rebar]\r\n0=2,40n\r\n1=garbage\r\n2=0,300\r\n");
  rebar.Load(path_, 24);
  EXPECT_EQ(rebar.bands, (std::array<RebarBand, kRebarBandCount>{
                             RebarBand{2, 40, true}, defaults[1], RebarBand{0, 300, false}}));
  // Two bands claiming the toolbar cannot both be shown: back to the default layout.
  WriteRaw("[Rebar]\r\n0=0,40\r\n1=0,50\r\n2=7,30\r\n");
  rebar.Load(path_, 24);
  EXPECT_EQ(rebar.bands, defaults);
}

TEST_F(WindowStateTest, ToolbarLayoutAndSearchSettingsRoundTrip) {
  const std::vector<int> all = DefaultToolbarLayout();
  ASSERT_EQ(all.size(), 19u);
  EXPECT_EQ(ParseToolbarLayout("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,"), all);
  EXPECT_EQ(ParseToolbarLayout("3,,-1, 5 ,x,19,-2,7,4x,99999999999"),
            (std::vector<int>{3, -1, 5, 7}));
  EXPECT_EQ(ParseToolbarLayout(" ReSeT "), all);

  RebarState rebar;
  rebar.Load(path_, 20);
  EXPECT_EQ(rebar.toolbar, all);
  rebar.bands = {RebarBand{1, 120, false}, RebarBand{0, 330, true}, RebarBand{2, 20, true}};
  rebar.toolbar = {4, -1, 0, 18};
  rebar.barSearchKeyWidth = 210;
  ASSERT_TRUE(rebar.Save(path_));
  EXPECT_EQ(ReadProfileString(path_, "Rebar", "ToolBar", ""), "4,-1,0,18");
  RebarState loaded;
  loaded.Load(path_, 20);
  EXPECT_EQ(loaded.bands, rebar.bands);
  EXPECT_EQ(loaded.toolbar, rebar.toolbar);
  EXPECT_EQ(loaded.barSearchKeyWidth, 210);

  EXPECT_EQ(LoadHighlightColour(path_), MakeColour(0xFF, 0xFF, 0x00));
  ASSERT_TRUE(SaveHighlightColour(path_, MakeColour(0x12, 0xAB, 0x0F)));
  EXPECT_EQ(ReadProfileString(path_, "SearchDialog", "HighlightColor", ""), "12AB0F");
  EXPECT_EQ(LoadHighlightColour(path_), MakeColour(0x12, 0xAB, 0x0F));
  WriteProfileString(path_, "SearchDialog", "HighlightColor", "yellow");
  EXPECT_EQ(LoadHighlightColour(path_), kHighlightColourDefault);

  // The download folder: the desktop's until one is kept; a path the file cannot hold whole
  // leaves the last one in place.
  EXPECT_EQ(LoadDownloadFolder(path_, "/home/u/Downloads"), "/home/u/Downloads");
  ASSERT_TRUE(SaveDownloadFolder(path_, "/media/disk/Fotos \xC3\xA4"));
  EXPECT_EQ(LoadDownloadFolder(path_, "/home/u/Downloads"), "/media/disk/Fotos \xC3\xA4");
  EXPECT_FALSE(SaveDownloadFolder(path_, "/" + std::string(300, 'd')));
  EXPECT_EQ(ReadProfileString(path_, "Zelvora", "DownloadFolder", ""),
            "/media/disk/Fotos \xC3\xA4");
}

}  // namespace
}  // namespace zelvora
