#include "core/shell/Settings.h"

#include <cstdio>

#include "core/shell/SettingsTable.h"

namespace zelvora {

// A missing row would silently leave a default of 0: pin the last row of each table.
static_assert(kFlagKeys[kFlagCount - 1].key == "LayeredColorKey");
static_assert(kFlagKeys[kFlagWebPermitDownLoadFirst + 6].baseDefault == 1);
static_assert(kIntegerKeys[kIntegerCount - 1].baseDefault == 30);
static_assert(kIntegerKeys[kIntLayeredMainValue].key == "LayeredMainValue");

TSettings BaseDefaultSettings(const PlatformColours& platform) {
  TSettings settings;
  for (std::size_t i = 0; i < kFlagKeys.size(); ++i)
    settings.flags[i] = kFlagKeys[i].baseDefault;
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
    settings.integers[i] = kIntegerKeys[i].baseDefault;
  }
  for (std::size_t i = 0; i < kTabActionKeys.size(); ++i) {
    settings.tabActions[i] = kTabActionKeys[i].baseDefault;
  }
  for (std::size_t i = 0; i < kStringKeys.size(); ++i) {
    settings.strings[i] = std::string(kStringKeys[i].baseDefault);
  }
  for (std::size_t i = 0; i < kTabSessionKeys.size(); ++i)
    settings.tabSession[i] = kTabSessionKeys[i].baseDefault;
  settings.startSize = 1;
  settings.startPos = 1;
  settings.colours = {platform.activeCaption, platform.activeCaption, platform.buttonFace,
                      platform.buttonFace};
  return settings;
}

std::string ColourToText(Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

Colour ColourFromText(std::string_view text, Colour fallback) {
  if (text.size() != 6)
    return fallback;
  int bytes[3];
  for (int i = 0; i < 3; ++i) {
    int value = 0;
    for (int j = 0; j < 2; ++j) {
      const char c = text[static_cast<std::size_t>(2 * i + j)];
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return fallback;
      }
      value = value * 16 + digit;
    }
    bytes[i] = value;
  }
  return MakeColour(bytes[0], bytes[1], bytes[2]);
}

}  // namespace zelvora
