#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shell/SwitchReceiver.h"

namespace zelvora {
namespace {

// Writes down every operation the receiver asks for.
class RecordingTarget : public TSwitchTarget {
 public:
  std::vector<std::string> calls;

  void ShowWindowState(int state) override { Add("show", std::to_string(state)); }
  void ResizeBySwitch(std::string_view v) override { Add("size", v); }
  void MoveBySwitch(std::string_view v) override { Add("pos", v); }
  void SetMenuBarVisible(bool on) override { AddFlag("menu", on); }
  void SetCaptionVisible(bool on) override { AddFlag("caption", on); }
  void SetStatusBarVisible(bool on) override { AddFlag("statusbar", on); }
  void SetToolBarLayout(std::string_view v) override { Add("toolbar", v); }
  void SetSplitPosition(int position) override { Add("split", std::to_string(position)); }
  void SetToolPanelVisible(bool on) override { AddFlag("tool", on); }
  void SetRebarVisible(bool on) override { AddFlag("reber", on); }
  void ApplyLayeredSwitch(std::string_view v) override { Add("layered", v); }
  void OpenTabList(std::string_view v) override { Add("dat", v); }
  void OpenUrls(std::string_view v) override { Add("url", v); }

 private:
  void Add(std::string_view name, std::string_view value) {
    calls.push_back(std::string(name) + "(" + std::string(value) + ")");
  }
  void AddFlag(std::string_view name, bool on) { Add(name, on ? "ON" : "OFF"); }
};

std::vector<std::string> Deliver(int code, std::string_view value) {
  RecordingTarget target;
  DeliverSwitch(code, value, target);
  return target.calls;
}

using Calls = std::vector<std::string>;

TEST(SwitchReceiverTest, EachCodeReachesItsOperationTrimmed) {
  EXPECT_EQ(Deliver(3174, " max "), Calls{"show(0)"});
  EXPECT_EQ(Deliver(3174, "min"), Calls{"show(1)"});
  EXPECT_EQ(Deliver(3174, "whatever"), Calls{"show(2)"});
  EXPECT_EQ(Deliver(3175, "800,600\r\n"), Calls{"size(800,600)"});
  EXPECT_EQ(Deliver(3176, "10,20"), Calls{"pos(10,20)"});
  EXPECT_EQ(Deliver(3180, " RESET "), Calls{"toolbar(RESET)"});
  EXPECT_EQ(Deliver(3180, "0,-1,4"), Calls{"toolbar(0,-1,4)"});
  EXPECT_EQ(Deliver(3181, "240"), Calls{"split(240)"});
  EXPECT_EQ(Deliver(3184, "main(ON)"), Calls{"layered(main(ON))"});
  EXPECT_EQ(Deliver(3185, " /home/a/tabs.dat "), Calls{"dat(/home/a/tabs.dat)"});
  EXPECT_EQ(Deliver(3186, "http://a.example/ http://b.example/"),
            Calls{"url(http://a.example/ http://b.example/)"});
}

TEST(SwitchReceiverTest, OnOffSwitchesIgnoreOtherValues) {
  EXPECT_EQ(Deliver(3177, "on"), Calls{"menu(ON)"});
  EXPECT_EQ(Deliver(3178, "Off"), Calls{"caption(OFF)"});
  EXPECT_EQ(Deliver(3179, "ON"), Calls{"statusbar(ON)"});
  EXPECT_EQ(Deliver(3182, "OFF"), Calls{"tool(OFF)"});
  EXPECT_EQ(Deliver(3183, "on"), Calls{"reber(ON)"});
  EXPECT_TRUE(Deliver(3177, "yes").empty());
  EXPECT_TRUE(Deliver(3182, "").empty());
}

TEST(SwitchReceiverTest, UserAndDebugAreAcceptedWithoutEffectAndOtherCodesRefused) {
  RecordingTarget target;
  EXPECT_TRUE(DeliverSwitch(3173, "bob", target));
  EXPECT_TRUE(DeliverSwitch(3187, "1", target));
  EXPECT_TRUE(target.calls.empty());
  EXPECT_FALSE(DeliverSwitch(3172, "x", target));
  EXPECT_FALSE(DeliverSwitch(3188, "x", target));
  EXPECT_TRUE(target.calls.empty());
}

}  // namespace
}  // namespace zelvora
