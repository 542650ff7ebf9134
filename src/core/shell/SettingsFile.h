#pragma once

// Loading and saving the settings record: section "ConfigDialog" of the settings file plus the
// two selection-action keys of section "SelectDialog".

#include <string>
#include <string_view>
#include <vector>

#include "core/shell/Settings.h"

namespace zelvora {

// The per-user file whose whole text becomes the denied-URL list (string kStringDenyUrlList).
inline constexpr std::string_view kDenyUrlListFileName = "DenyUrlList.txt";

// What load settings needs from the running program.
struct SettingsLoadContext {
  PlatformColours platform;
  // The main window's actual geometry at creation: what the fixed start size and position fall
  // back to when the file lacks them.
  int windowWidth = 0;
  int windowHeight = 0;
  int windowLeft = 0;
  int windowTop = 0;
  // Where "DenyUrlList.txt" lives; empty: no denied-URL list is read.
  std::string userFolder;
};

struct SettingsLoadResult {
  // The selection actions in the record count only when the file existed: the caller applies
  // them at start-up only then.
  bool fileExisted = false;
};

// Fills the whole record: the base defaults when the file does not exist, otherwise every key
// read over the base defaults with the fallbacks of the key tables. Never fails: bad values give
// their fallbacks.
SettingsLoadResult LoadSettings(const std::string& settingsFile, TSettings& record,
                                const SettingsLoadContext& context);

// Writes every key of the record in one rewrite of the file; false when the file could not be
// written (the file on disk is then unchanged).
bool SaveSettings(const std::string& settingsFile, const TSettings& record);

// Every "ConfigDialog" key that SaveSettings writes, in the order it writes them.
std::vector<std::string_view> SavedConfigKeyNames();

}  // namespace zelvora
