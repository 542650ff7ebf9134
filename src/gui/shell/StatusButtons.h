#pragma once

// The small toolbar at the right of the status bar: the seven permission buttons (pressed while
// the permission is on), the offline button and the lock button, which shows only on pages with
// a security state.

#include <QToolBar>
#include <array>
#include <functional>
#include <span>
#include <string>

#include "core/shell/MainWindowRules.h"

namespace zelvora {

class TStatusButtons : public QToolBar {
  Q_OBJECT

 public:
  TStatusButtons(std::function<void(int command)> commandSink, QWidget* parent = nullptr);

  // The tips: a state word ("Invalid" first, then "Effective"), a blank and the permission name.
  void SetTexts(std::span<const std::string> permissionNames,
                std::span<const std::string> stateWords);
  void SetPermissions(const std::array<bool, kPermissionCount>& on);
  std::array<bool, kPermissionCount> Permissions() const;
  void SetOffline(bool offline, const QString& tip);
  // An empty name hides the lock button.
  void SetSecurity(const QString& name);

  QAction* Permission(int index) const { return permissions_[static_cast<std::size_t>(index)]; }
  QAction* OfflineButton() const { return offline_; }
  QAction* LockButton() const { return lock_; }

 private:
  void UpdateTips();

  std::function<void(int command)> commandSink_;
  std::array<QAction*, kPermissionCount> permissions_{};
  std::array<QString, kPermissionCount> names_;
  std::array<QString, 2> stateWords_;
  QAction* offline_ = nullptr;
  QAction* lock_ = nullptr;
};

}  // namespace zelvora
