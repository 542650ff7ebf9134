#include "gui/input/ThemeCommands.h"

#include "core/input/ThemeMerge.h"
#include "core/shell/CommandDispatch.h"
#include "core/shell/Paths.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

TThemeCommands::TThemeCommands(TSDIMainWindow& window) : QObject(&window), window_(window) {
  window_.SetCommandOwner(CommandOwner::kTheme, [this](const CommandRoute& route, int, int) {
    if (route.action == CommandAction::kThemeMerge)
      Merge();
  });
}

void TThemeCommands::Merge() {
  const TPaths& paths = window_.Paths();
  const ThemeMergeResult result = MergeTheme(paths.themeFile, DefaultThemeFile(paths));
  if (result.done) {
    window_.ReloadTheme();
    return;
  }
  window_.ShowStatusText(
      QString::fromStdString(window_.CaptionOfCommand(3150) + ": " + result.errorText));
}

}  // namespace zelvora
