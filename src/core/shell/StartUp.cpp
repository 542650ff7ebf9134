#include "core/shell/StartUp.h"

#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"
#include "core/shell/WindowState.h"

namespace zelvora {

InstancePolicy ReadInstancePolicy(const std::string& settingsFile) {
  InstancePolicy policy;
  policy.singleInstance = ReadProfileInt(settingsFile, kConfigSection, "AllowMultiple", 1) == 0;
  policy.bringToFront = ReadProfileInt(settingsFile, kConfigSection, "OptionSetForeground", 0) == 1;
  return policy;
}

WindowPlacement ChooseMainWindowPlacement(const std::string& settingsFile,
                                          const ScreenGeometry& screen, CommandLine& commandLine) {
  PlacementInput input;
  input.screen = screen;
  input.sizeSwitch = commandLine.Slot(kSwitchSize);
  input.posSwitch = commandLine.Slot(kSwitchPos);
  input.startSize = ReadProfileInt(settingsFile, kConfigSection, kStartSizeKey, kStartNone);
  input.startPos = ReadProfileInt(settingsFile, kConfigSection, kStartPosKey, kStartNone);
  input.saved = {ReadProfileOptionalInt(settingsFile, kWindowSection, "w"),
                 ReadProfileOptionalInt(settingsFile, kWindowSection, "h"),
                 ReadProfileOptionalInt(settingsFile, kWindowSection, "x"),
                 ReadProfileOptionalInt(settingsFile, kWindowSection, "y"),
                 ReadProfileOptionalInt(settingsFile, kWindowSection, "State")};
  input.startWidth = ReadProfileInt(settingsFile, kConfigSection, "StartWidth", 0);
  input.startHeight = ReadProfileInt(settingsFile, kConfigSection, "StartHeight", 0);
  input.startX = ReadProfileInt(settingsFile, kConfigSection, "StartX", 0);
  input.startY = ReadProfileInt(settingsFile, kConfigSection, "StartY", 0);
  const WindowPlacement placement = PlaceMainWindow(input);
  for (const SwitchSlot slot : {kSwitchShow, kSwitchSize, kSwitchPos})
    commandLine.Slot(slot).clear();
  return placement;
}

}  // namespace zelvora
