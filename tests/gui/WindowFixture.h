#pragma once

// A main window over its own settings and theme files in a temporary folder.

#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

#include "core/shell/UtilFunc.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

// A settings file for page tests: scripts allowed (a file without the permission keys turns
// them off), then the given "ConfigDialog" lines.
inline std::string PageSettings(const std::string& configLines) {
  return "[ConfigDialog]\r\nWebPermitSecurity=1111\r\n" + configLines;
}

struct WindowFixture {
  QTemporaryDir folder;
  TPaths paths;
  CommandLine commandLine;
  std::unique_ptr<TSDIMainWindow> window;

  explicit WindowFixture(const std::string& settings, const std::string& theme = {}) {
    const std::string root = folder.path().toStdString();
    paths.programFolder = paths.perUserFolder = paths.baseFolder = root;
    paths.settingsFile = root + "/Zelvora.ini";
    paths.themeFile = root + "/Zelvora.txt";
    std::ofstream(paths.settingsFile, std::ios::binary) << settings;
    std::ofstream(paths.themeFile, std::ios::binary) << theme;
    FlushProfile(paths.settingsFile);
    FlushProfile(paths.themeFile);
  }

  // Makes and shows the window; switches put into `commandLine` before take effect as at a
  // start.
  TSDIMainWindow& Open(const WindowPlacement& placement = {
                           {10, 10, 800, 600}, kShowNormal, false}) {
    window = std::make_unique<TSDIMainWindow>(paths, commandLine, placement);
    window->ShowFirstTime();
    window->FinishStartUp();
    window->activateWindow();
    return *window;
  }

  std::string Key(std::string_view section, std::string_view key) const {
    FlushProfile(paths.settingsFile);
    return ReadProfileString(paths.settingsFile, section, key, "<absent>");
  }
};

}  // namespace zelvora
