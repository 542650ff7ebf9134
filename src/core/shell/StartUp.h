#pragma once

// What start-up reads from the settings file before the main window exists: whether to keep to
// one instance, and the inputs of the window placement.

#include <string>

#include "core/shell/CommandLine.h"
#include "core/shell/Placement.h"

namespace zelvora {

struct InstancePolicy {
  // "AllowMultiple" is 0. An absent key allows several instances at this point.
  bool singleInstance = false;
  // "OptionSetForeground" is 1: a second start raises the running window.
  bool bringToFront = false;
};

InstancePolicy ReadInstancePolicy(const std::string& settingsFile);

// The main window's first placement from the settings file and the "/size=" and "/pos="
// switches. The "/show=", "/size=" and "/pos=" slots are emptied, so a first start never
// applies them twice.
WindowPlacement ChooseMainWindowPlacement(const std::string& settingsFile,
                                          const ScreenGeometry& screen, CommandLine& commandLine);

}  // namespace zelvora
