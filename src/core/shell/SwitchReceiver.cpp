#include "core/shell/SwitchReceiver.h"

#include "core/shell/CommandLine.h"
#include "core/shell/SwitchValues.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

template <typename Apply>
void IfOnOff(std::string_view value, Apply apply) {
  if (const auto on = OnOff(value))
    apply(*on);
}

}  // namespace

bool DeliverSwitch(int code, std::string_view rawValue, TSwitchTarget& target) {
  const int slot = code - kSwitchMessageBase;
  if (slot < 0 || slot >= kSwitchCount)
    return false;
  const std::string_view value = TrimBlanksAndControls(rawValue);
  switch (static_cast<SwitchSlot>(slot)) {
    case kSwitchShow:
      target.ShowWindowState(ShowSwitchState(value));
      break;
    case kSwitchSize:
      target.ResizeBySwitch(value);
      break;
    case kSwitchPos:
      target.MoveBySwitch(value);
      break;
    case kSwitchMenu:
      IfOnOff(value, [&](bool on) { target.SetMenuBarVisible(on); });
      break;
    case kSwitchCaption:
      IfOnOff(value, [&](bool on) { target.SetCaptionVisible(on); });
      break;
    case kSwitchStatusBar:
      IfOnOff(value, [&](bool on) { target.SetStatusBarVisible(on); });
      break;
    case kSwitchToolBar:
      target.SetToolBarLayout(value);
      break;
    case kSwitchSplit:
      if (const auto position = SplitSwitch(value))
        target.SetSplitPosition(*position);
      break;
    case kSwitchTool:
      IfOnOff(value, [&](bool on) { target.SetToolPanelVisible(on); });
      break;
    case kSwitchReber:
      IfOnOff(value, [&](bool on) { target.SetRebarVisible(on); });
      break;
    case kSwitchLayered:
      target.ApplyLayeredSwitch(value);
      break;
    case kSwitchDat:
      target.OpenTabList(value);
      break;
    case kSwitchUrl:
      target.OpenUrls(value);
      break;
    case kSwitchUser:
    case kSwitchDebug:
    case kSwitchCount:
      break;
  }
  return true;
}

}  // namespace zelvora
