#include "core/shell/Paths.h"

#include <unistd.h>

#include <filesystem>

#include "core/browser/UrlUtil.h"
#include "core/shell/SafeFile.h"
#include "core/shell/UtilFunc.h"
#include "core/shell/WindowState.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRefusedCharacters = "\\/:*?\"<>|";

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool MakeFolder(const std::string& path) {
  std::error_code error;
  fs::create_directories(path, error);
  return fs::is_directory(path, error) && ::access(path.c_str(), W_OK) == 0;
}

// Copies `from` to `to` unless `to` exists; false only when a copy was needed and failed.
bool CopyIfMissing(const std::string& from, const std::string& to) {
  if (Exists(to) || !Exists(from))
    return true;
  const auto content = ReadWholeFile(from);
  return content && WriteFileAtomic(to, *content).ok;
}

std::string Join(std::string_view folder, std::string_view name) {
  return std::string(folder) + "/" + std::string(name);
}

}  // namespace

std::string AcceptUserName(std::string_view name) {
  const bool refused = (!name.empty() && name.back() == '.') ||
                       name.find_first_of(kRefusedCharacters) != std::string_view::npos;
  const std::string_view trimmed = TrimTrailingBlanks(name);
  if (refused || trimmed.empty())
    return std::string(kUnknownUser);
  return std::string(trimmed);
}

std::string DefaultThemeFile(const TPaths& paths) {
  return Join(paths.programFolder, kDefaultThemeFileName);
}

TPaths ResolvePaths(const PathInputs& inputs, CommandLine& commandLine) {
  TPaths paths;
  paths.programFolder = inputs.programFolder;
  const std::string& userSwitch = commandLine.Slot(kSwitchUser);
  paths.userName = AcceptUserName(userSwitch.empty() ? inputs.loginName : userSwitch);

  const std::string usersPart = "users/" + paths.userName;
  paths.perUserFolder = Join(inputs.programFolder, usersPart);
  bool perUserExists = MakeFolder(paths.perUserFolder);
  if (!perUserExists && !inputs.userDataFolder.empty()) {
    const std::string fallback = Join(Join(inputs.userDataFolder, kProgramName), usersPart);
    if (MakeFolder(fallback)) {
      paths.perUserFolder = fallback;
      perUserExists = true;
    }
  }
  if (perUserExists)
    MakeFolder(Join(paths.perUserFolder, "themes"));
  paths.baseFolder = perUserExists ? paths.perUserFolder : paths.programFolder;
  paths.settingsFile = Join(paths.baseFolder, kSettingsFileName);

  // When the settings file could not be copied into the per-user folder, themes are looked for
  // where the settings came from.
  bool perUserThemes = perUserExists;
  if (perUserExists) {
    perUserThemes = CopyIfMissing(Join(paths.programFolder, kSettingsFileName), paths.settingsFile);
    CopyIfMissing(DefaultThemeFile(paths), Join(paths.perUserFolder, kDefaultThemeFileName));
  }

  std::string& dat = commandLine.Slot(kSwitchDat);
  if (!dat.empty() && !Exists(dat) && !IsLocalPath(dat))
    dat = Join(paths.perUserFolder, dat);
  if (!dat.empty() && !Exists(dat))
    dat.clear();

  const std::string themeFolder = perUserThemes ? paths.perUserFolder : paths.programFolder;
  std::string theme = commandLine.theme;
  if (theme.empty())
    theme = ReadProfileString(paths.settingsFile, kWindowSection, kThemeFileSettingsKey, "");
  if (theme.empty()) {
    paths.themeFile = Join(themeFolder, kDefaultThemeFileName);
  } else if (IsLocalPath(theme)) {
    paths.themeFile = theme;
  } else {
    paths.themeFile = Join(Join(themeFolder, "themes"), theme);
  }

  commandLine.Slot(kSwitchUser).clear();
  return paths;
}

}  // namespace zelvora
