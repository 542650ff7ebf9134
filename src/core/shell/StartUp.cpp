#include "core/shell/StartUp.h"

#include <optional>

#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"
#include "core/shell/WindowState.h"

namespace zelvora {

namespace {

std::optional<int> OptionalInt(const std::string& file, std::string_view section,
                               std::string_view key) {
  const std::string text = ReadProfileString(file, section, key, "");
  if (text.empty())
    return std::nullopt;
  return ParseProfileInt(text, 0);
}

}  // namespace

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
  input.saved = {OptionalInt(settingsFile, kWindowSection, "w"),
                 OptionalInt(settingsFile, kWindowSection, "h"),
                 OptionalInt(settingsFile, kWindowSection, "x"),
                 OptionalInt(settingsFile, kWindowSection, "y"),
                 OptionalInt(settingsFile, kWindowSection, "State")};
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
