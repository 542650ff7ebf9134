#include "gui/input/DefaultBrowserApply.h"

#include <QCoreApplication>
#include <QDir>

#include "core/input/DefaultBrowser.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

void ApplyDefaultBrowser(TSDIMainWindow& window, bool on) {
  const TDesktopFolders desktop = DesktopFoldersFrom(
      qEnvironmentVariable("XDG_DATA_HOME").toStdString(),
      qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(), QDir::homePath().toStdString());
  const TDefaultBrowserResult result =
      ApplyDefaultBrowser(on, window.Session().Registry(),
                          QCoreApplication::applicationFilePath().toStdString(), desktop);
  if (!result.ok)
    window.ShowNote(QString::fromStdString(result.error));
}

}  // namespace zelvora
