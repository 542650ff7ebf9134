#pragma once

// The menu bar and every popup of the program, made from the menu model. Each item carries its
// command id; choosing it hands the id to the main window's command entry point.

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "core/shell/MenuModel.h"

class QAction;
class QMenu;
class QMenuBar;

namespace zelvora {

class TMainMenus : public QObject {
  Q_OBJECT

 public:
  using CommandSink = std::function<void(int id)>;
  // The current items of a file-history popup, asked for each time it opens.
  using HistorySource = std::function<std::vector<MenuEntry>(int popup)>;

  TMainMenus(QMenuBar* menuBar, CommandSink commandSink, HistorySource historySource,
             QObject* parent = nullptr);

  // Replaces the menu bar's menus and every popup by those of `model`.
  void Build(const MenuModel& model);
  // The registered popup of that number, or null.
  QMenu* Popup(int number) const;
  // Runs before any menu of the menu bar or the Standard Menu opens.
  void SetRefreshHook(std::function<void()> hook) { refreshHook_ = std::move(hook); }

  // Every item of that id, in whichever popups it sits. A checked item becomes checkable.
  void SetEnabled(int id, bool enabled);
  void SetChecked(int id, bool checked);
  // The first item of that id, or null.
  QAction* Action(int id) const;

 signals:
  // The menus were made anew: popups got from Popup() before are gone.
  void Built();

 private:
  void Clear();
  void Fill(QMenu* menu, const std::vector<MenuEntry>& entries);
  template <typename Visit>
  void ForEachAction(int id, Visit visit) const;

  QMenuBar* menuBar_;
  CommandSink commandSink_;
  HistorySource historySource_;
  std::function<void()> refreshHook_;
  // The popups are children of the menu bar and go with it.
  std::array<QMenu*, kPopupCount> popups_{};
};

}  // namespace zelvora
