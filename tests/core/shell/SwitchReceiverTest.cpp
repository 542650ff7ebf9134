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

using Calls = std::vector<std::string>;

TEST(SwitchReceiverTest, EachCodeReachesItsOperationTrimmed) {
  RecordingTarget target;
  const std::pair<int, std::string_view> switches[] = {
      {3174, " max "},       {3174, "min"},        {3174, "whatever"},
      {3175, "800,600\r\n"}, {3176, "10,20"},      {3177, "on"},
      {3178, "Off"},         {3179, "ON"},         {3180, " RESET "},
      {3181, "240"},         {3182, "OFF"},        {3183, "on"},
      {3184, "main(ON)"},    {3185, " /a/t.dat "}, {3186, "http://a/ http://b/"}};
  for (const auto& [code, value] : switches)
    EXPECT_TRUE(DeliverSwitch(code, value, target)) << code;
  EXPECT_EQ(target.calls,
            (Calls{"show(0)", "show(1)", "show(2)", "size(800,600)", "pos(10,20)", "menu(ON)",
                   "caption(OFF)", "statusbar(ON)", "toolbar(RESET)", "split(240)", "tool(OFF)",
                   "reber(ON)", "layered(main(ON))", "dat(/a/t.dat)", "url(http://a/ http://b/)"}));
}

TEST(SwitchReceiverTest, UserDebugAndOtherOnOffValuesDoNothingAndOtherCodesAreRefused) {
  RecordingTarget target;
  EXPECT_TRUE(DeliverSwitch(3173, "bob", target));
  EXPECT_TRUE(DeliverSwitch(3187, "1", target));
  EXPECT_TRUE(DeliverSwitch(3177, "yes", target));
  EXPECT_FALSE(DeliverSwitch(3172, "x", target));
  EXPECT_FALSE(DeliverSwitch(3188, "x", target));
  EXPECT_TRUE(target.calls.empty());
}

}  // namespace
}  // namespace zelvora
