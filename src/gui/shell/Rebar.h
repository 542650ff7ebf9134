#pragma once

// The rebar: three movable bands along the top of the main window. Band 0 is the toolbar, band
// 1 the address bar (an editable box and its go button), band 2 the search bar (the keyword box,
// the search-list box and the search, find next, find previous and highlight buttons). The user
// may drag the bands into another order or onto rows of their own; that arrangement, the
// toolbar's buttons and the keyword box's width are what the "Rebar" settings keep.

#include <QObject>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/shell/MainWindowRules.h"
#include "core/shell/WindowState.h"

class QAction;
class QComboBox;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace zelvora {

class TRebar : public QObject {
  Q_OBJECT

 public:
  struct Sinks {
    std::function<void(int command)> command;
    std::function<void(int tag)> speedButton;
  };

  TRebar(QMainWindow& window, Sinks sinks);

  // Puts the bands in the saved order with their row breaks and preferred widths, and lays out
  // the toolbar.
  void Apply(const RebarState& state);
  // The arrangement as the user left it, for saving.
  void Read(RebarState& state) const;

  void SetToolbarLayout(const std::vector<int>& layout);
  const std::vector<int>& ToolbarLayout() const { return layout_; }
  // The theme's toolbar tips, by button index.
  void SetTips(std::span<const std::string> tips);
  // The menu that drops from the character-size button (rebuilt with the menus).
  void SetDropDownMenu(int index, QMenu* menu);

  void SetVisible(bool visible);
  bool IsVisible() const;

  // The toolbar button that runs `command` (whether shown or not), or null.
  QAction* ButtonOfCommand(int command) const;
  QAction* Button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
  QToolBar* Band(int id) const { return bands_[static_cast<std::size_t>(id)]; }
  QComboBox* AddressBox() const { return addressBox_; }
  QComboBox* SearchKeyBox() const { return searchKeyBox_; }
  QComboBox* SearchListBox() const { return searchListBox_; }
  // The small button beside the search list: its file commands.
  QToolButton* SearchListButton() const { return searchListButton_; }
  QToolButton* HighlightButton() const { return highlightButton_; }

 protected:
  // The address bar follows the window's width.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* SpeedButton(int tag, const QString& tip);
  // Gives each band of the applied arrangement its width for the window's present width.
  void FitBands();

  QMainWindow& window_;
  Sinks sinks_;
  std::array<QToolBar*, kRebarBandCount> bands_{};
  std::array<QAction*, kToolbarButtonCount> buttons_{};
  std::vector<QAction*> separators_;
  std::vector<int> layout_;
  RebarState applied_;
  QComboBox* addressBox_ = nullptr;
  QComboBox* searchKeyBox_ = nullptr;
  QComboBox* searchListBox_ = nullptr;
  QToolButton* highlightButton_ = nullptr;
  QToolButton* searchListButton_ = nullptr;
};

}  // namespace zelvora
