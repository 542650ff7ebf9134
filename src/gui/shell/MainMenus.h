#pragma once

// The menu bar and every popup of the program, made from the menu model. Each item carries its
// command id; choosing it hands the id to the main window's command entry point.

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "core/shell/MenuModel.h"

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

 private:
  void Clear();
  void Fill(QMenu* menu, const std::vector<MenuEntry>& entries);

  QMenuBar* menuBar_;
  CommandSink commandSink_;
  HistorySource historySource_;
  // The popups are children of the menu bar and go with it.
  std::array<QMenu*, kPopupCount> popups_{};
};

}  // namespace zelvora
