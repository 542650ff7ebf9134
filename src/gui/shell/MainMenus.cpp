#include "gui/shell/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace zelvora {

namespace {

// The popups whose items are the file histories, refilled whenever they open.
constexpr int kHistoryPopups[] = {kPopupTreeFileHistory, kPopupTabFileHistory,
                                  kPopupScriptFileHistory};

}  // namespace

TMainMenus::TMainMenus(QMenuBar* menuBar, CommandSink commandSink, HistorySource historySource,
                       QObject* parent)
    : QObject(parent),
      menuBar_(menuBar),
      commandSink_(std::move(commandSink)),
      historySource_(std::move(historySource)) {}

void TMainMenus::Clear() {
  menuBar_->clear();
  for (QMenu*& popup : popups_) {
    delete popup;
    popup = nullptr;
  }
}

void TMainMenus::Build(const MenuModel& model) {
  Clear();
  for (int number = 0; number < kPopupCount; ++number) {
    if (model.popups[static_cast<std::size_t>(number)].exists) {
      popups_[static_cast<std::size_t>(number)] = new QMenu(menuBar_);
    }
  }
  for (int number = 0; number < kPopupCount; ++number) {
    if (QMenu* menu = Popup(number))
      Fill(menu, model.popups[static_cast<std::size_t>(number)].entries);
  }
  for (const MenuBarEntry& entry : model.menuBar) {
    if (QMenu* menu = Popup(entry.popup)) {
      menu->setTitle(QString::fromStdString(entry.caption));
      menuBar_->addMenu(menu);
    }
  }
  std::vector<QMenu*> topMenus;
  for (const MenuBarEntry& entry : model.menuBar) {
    topMenus.push_back(Popup(entry.popup));
  }
  topMenus.push_back(Popup(kPopupStandardMenu));
  for (QMenu* menu : topMenus) {
    if (menu != nullptr) {
      connect(menu, &QMenu::aboutToShow, this, [this] {
        if (refreshHook_)
          refreshHook_();
      });
    }
  }
  for (const int number : kHistoryPopups) {
    if (QMenu* menu = Popup(number)) {
      connect(menu, &QMenu::aboutToShow, this, [this, menu, number] {
        menu->clear();
        Fill(menu, historySource_(number));
      });
    }
  }
  emit Built();
}

QMenu* TMainMenus::Popup(int number) const {
  return number >= 0 && number < kPopupCount ? popups_[static_cast<std::size_t>(number)] : nullptr;
}

template <typename Visit>
void TMainMenus::ForEachAction(int id, Visit visit) const {
  for (QMenu* popup : popups_) {
    if (popup == nullptr)
      continue;
    for (QAction* action : popup->actions()) {
      if (!action->isSeparator() && action->menu() == nullptr && action->data().toInt() == id)
        visit(action);
    }
  }
}

void TMainMenus::SetEnabled(int id, bool enabled) {
  ForEachAction(id, [enabled](QAction* action) { action->setEnabled(enabled); });
}

void TMainMenus::SetChecked(int id, bool checked) {
  ForEachAction(id, [checked](QAction* action) {
    action->setCheckable(true);
    action->setChecked(checked);
  });
}

QAction* TMainMenus::Action(int id) const {
  QAction* found = nullptr;
  ForEachAction(id, [&found](QAction* action) {
    if (found == nullptr)
      found = action;
  });
  return found;
}

void TMainMenus::Fill(QMenu* menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntryKind::kItem: {
        QAction* action = menu->addAction(QString::fromStdString(entry.Text()));
        const int id = entry.id;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { commandSink_(id); });
        break;
      }
      case MenuEntryKind::kSeparator:
        menu->addSeparator();
        break;
      case MenuEntryKind::kSubmenu:
        if (QMenu* submenu = Popup(entry.popup)) {
          submenu->setTitle(QString::fromStdString(entry.caption));
          menu->addMenu(submenu);
        }
        break;
    }
  }
}

}  // namespace zelvora
