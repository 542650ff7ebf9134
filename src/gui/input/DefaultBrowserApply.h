#pragma once

// What the configuration dialog does with its "Default Browser" option on OK and Apply.

namespace zelvora {

class TSDIMainWindow;

// Registers the running executable as the default browser when `on`, else withdraws the
// registration: the keys of the window's registry store and the user's desktop files
// ($XDG_DATA_HOME/applications/zelvora.desktop, $XDG_CONFIG_HOME/mimeapps.list). What the desktop
// side could not do is shown in the status bar.
void ApplyDefaultBrowser(TSDIMainWindow& window, bool on);

}  // namespace zelvora
