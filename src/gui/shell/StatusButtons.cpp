#include "gui/shell/StatusButtons.h"

#include <QAction>

#include "gui/shell/ButtonIcons.h"

namespace zelvora {

TStatusButtons::TStatusButtons(std::function<void(int command)> commandSink, QWidget* parent)
    : QToolBar(parent), commandSink_(std::move(commandSink)) {
  setObjectName(QStringLiteral("StatusButtons"));
  setIconSize(QSize(16, 16));
  setMovable(false);
  setFloatable(false);
  for (int index = 0; index < kPermissionCount; ++index) {
    QAction* action = addAction(ButtonIcon(IconKind::kPermission, index), QString());
    action->setCheckable(true);
    // The button's state is what counts: the command reads all seven after the click.
    connect(action, &QAction::triggered, this, [this, index] {
      UpdateTips();
      commandSink_(kPermissionCommandFirst + index);
    });
    permissions_[static_cast<std::size_t>(index)] = action;
  }
  addSeparator();
  offline_ = addAction(ButtonIcon(IconKind::kStatus, kIconOnline), QString());
  connect(offline_, &QAction::triggered, this, [this] { commandSink_(kOfflineCommand); });
  lock_ = addAction(ButtonIcon(IconKind::kStatus, kIconLock), QString());
  connect(lock_, &QAction::triggered, this, [this] { commandSink_(kLockCommand); });
  lock_->setVisible(false);
}

void TStatusButtons::SetTexts(std::span<const std::string> permissionNames,
                              std::span<const std::string> stateWords) {
  for (std::size_t index = 0; index < names_.size() && index < permissionNames.size(); ++index) {
    names_[index] = QString::fromStdString(permissionNames[index]);
  }
  for (std::size_t index = 0; index < stateWords_.size() && index < stateWords.size(); ++index) {
    stateWords_[index] = QString::fromStdString(stateWords[index]);
  }
  UpdateTips();
}

void TStatusButtons::UpdateTips() {
  for (std::size_t index = 0; index < permissions_.size(); ++index) {
    const QString& state = stateWords_[permissions_[index]->isChecked() ? 1 : 0];
    permissions_[index]->setToolTip(state + u' ' + names_[index]);
  }
}

void TStatusButtons::SetPermissions(const std::array<bool, kPermissionCount>& on) {
  for (std::size_t index = 0; index < permissions_.size(); ++index) {
    permissions_[index]->setChecked(on[index]);
  }
  UpdateTips();
}

std::array<bool, kPermissionCount> TStatusButtons::Permissions() const {
  std::array<bool, kPermissionCount> on{};
  for (std::size_t index = 0; index < permissions_.size(); ++index) {
    on[index] = permissions_[index]->isChecked();
  }
  return on;
}

void TStatusButtons::SetOffline(bool offline, const QString& tip) {
  offline_->setIcon(ButtonIcon(IconKind::kStatus, offline ? kIconOffline : kIconOnline));
  offline_->setToolTip(tip);
}

void TStatusButtons::SetSecurity(const QString& name) {
  lock_->setToolTip(name);
  lock_->setVisible(!name.isEmpty());
}

}  // namespace zelvora
