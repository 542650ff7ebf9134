#pragma once

// The receiving side of a switch message: the value is trimmed, parsed and routed to the main
// window's operation for that switch. A switch given to the first start and one handed over by
// a later start both arrive here.

#include <string>
#include <string_view>

namespace zelvora {

// What the main window does for each switch. Values arrive trimmed; "ON"/"OFF" switches arrive
// as booleans and other texts for them are dropped before they get here.
class TSwitchTarget {
 public:
  virtual ~TSwitchTarget() = default;

  // 0 maximised, 1 minimised, 2 normal (the numbers of the saved window state).
  virtual void ShowWindowState(int state) = 0;
  virtual void ResizeBySwitch(std::string_view value) = 0;
  virtual void MoveBySwitch(std::string_view value) = 0;
  virtual void SetMenuBarVisible(bool visible) = 0;
  virtual void SetCaptionVisible(bool visible) = 0;
  virtual void SetStatusBarVisible(bool visible) = 0;
  // A toolbar layout, or "reset" (any case) for the default one.
  virtual void SetToolBarLayout(std::string_view layout) = 0;
  virtual void SetSplitPosition(int position) = 0;
  virtual void SetToolPanelVisible(bool visible) = 0;
  virtual void SetRebarVisible(bool visible) = 0;
  virtual void ApplyLayeredSwitch(std::string_view value) = 0;
  virtual void OpenTabList(std::string_view path) = 0;
  virtual void OpenUrls(std::string_view urls) = 0;
};

// Applies the switch message `code` (3173 + slot) with its raw value; false for a code outside
// the switch range.
bool DeliverSwitch(int code, std::string_view value, TSwitchTarget& target);

}  // namespace zelvora
