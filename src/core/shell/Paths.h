#pragma once

// Where the program keeps its files: the program folder (the executable's), the per-user folder
// under it (or under the user's data folder when the program folder is not writable), and from
// them the settings file and the theme file.

#include <string>
#include <string_view>

#include "core/shell/CommandLine.h"

namespace zelvora {

inline constexpr std::string_view kProgramName = "Zelvora";
inline constexpr std::string_view kSettingsFileName = "Zelvora.ini";
inline constexpr std::string_view kDefaultThemeFileName = "Zelvora.txt";
inline constexpr std::string_view kUnknownUser = "unknown";
// The settings key (section "Zelvora") naming the theme the program starts with.
inline constexpr std::string_view kThemeFileSettingsKey = "ThemeFile";

struct TPaths {
  std::string programFolder;
  std::string userName;
  // Always the per-user folder, even when it could not be created.
  std::string perUserFolder;
  // The per-user folder when it exists or could be created, else the program folder.
  std::string baseFolder;
  std::string settingsFile;
  std::string themeFile;
};

// A user name is refused when it ends in "." or holds one of \ / : * ? " < > |; an accepted
// name loses its trailing blanks. A refused or empty name becomes "unknown".
std::string AcceptUserName(std::string_view name);

struct PathInputs {
  std::string programFolder;
  std::string loginName;
  // The user's data folder ($XDG_DATA_HOME, else ~/.local/share); used when the program folder
  // is not writable, so that settings are never silently lost on a system-wide install.
  std::string userDataFolder;
};

// The default theme, "Zelvora.txt" in the program folder: what a new per-user folder gets and
// what "Theme Merge.." completes the current theme from.
std::string DefaultThemeFile(const TPaths& paths);

// Resolves the paths, creates the per-user folder with its "themes" folder, copies the program
// folder's settings and theme files into it when they are missing there, resolves "/dat="
// relative to the per-user folder (emptying the slot when no such file exists) and finally
// empties the "/user=" slot.
TPaths ResolvePaths(const PathInputs& inputs, CommandLine& commandLine);

}  // namespace zelvora
