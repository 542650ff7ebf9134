#include "gui/shell/ConfigCommands.h"

#include "core/input/ConfigPages.h"
#include "gui/shell/ConfigDialog.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

TConfigCommands::TConfigCommands(TSDIMainWindow& window) : QObject(&window), window_(window) {
  window_.SetCommandOwner(CommandOwner::kConfigDialog,
                          [this](const CommandRoute&, int, int) { Open(); });
}

void TConfigCommands::Open() {
  if (dialog_)
    return;
  const int page =
      OpeningConfigPage(lastPage_, LoadConfigDialogState(window_.Paths().settingsFile).select);
  dialog_ = new TConfigDialog(window_, page);
  lastPage_ = dialog_->CurrentPage();
  connect(dialog_, &TConfigDialog::PageShown, this, [this](int shown) { lastPage_ = shown; });
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

}  // namespace zelvora
