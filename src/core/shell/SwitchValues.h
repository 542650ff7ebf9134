#pragma once

// The values of the switch messages as the main window reads them. Each function trims the value
// (blanks and control characters at both ends) as the receiver does, so it may be given the
// copied message data as it is.

#include <optional>
#include <string>
#include <string_view>

#include "core/shell/Settings.h"

namespace zelvora {

// "ON" or "OFF" in any case; anything else leaves the switch alone.
std::optional<bool> OnOff(std::string_view value);

// The state numbers of "State": 0 for "max", 1 for "min" (in any case), 2 (restore) for any
// other value.
int ShowSwitchState(std::string_view value);

// The leading integer of the value (a splitter position is never negative, so a negative one
// counts as 0); nullopt when the value does not start with a number.
std::optional<int> SplitSwitch(std::string_view value);

// The "/layered=" value: each "main(...)" to "other(...)" and "color(...)" holding ON or OFF
// switches that window's translucency (or the colour key); any other text is an opacity 0..255
// or, for "color", the key colour RRGGBB. Text that is neither leaves the setting as it was.
// The caller applies the translucency again afterwards.
void ApplyLayeredSwitch(std::string_view value, TSettings& settings);

}  // namespace zelvora
