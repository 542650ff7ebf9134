#pragma once

#include <QMainWindow>
#include <array>

#include "core/input/MenuBuild.h"
#include "core/input/ThemeTexts.h"
#include "core/shell/CommandLine.h"
#include "core/shell/FileHistory.h"
#include "core/shell/Paths.h"
#include "core/shell/Placement.h"
#include "core/shell/Settings.h"
#include "core/shell/SwitchReceiver.h"
#include "core/shell/WindowState.h"

namespace zelvora {

class TMainMenus;

// The one main window of the program. It owns the settings record, the window state and the
// file-history lists for the whole run, and applies the switch messages.
class TSDIMainWindow : public QMainWindow, public TSwitchTarget {
  Q_OBJECT

 public:
  TSDIMainWindow(const TPaths& paths, CommandLine& commandLine, const WindowPlacement& placement);

  // Shows the window with the show command chosen by the placement.
  void ShowFirstTime();
  // The end of start-up: the switches left in the command line are applied, as a second start's
  // would be.
  void FinishStartUp();
  // Applies one switch message (or the activation request of a second start).
  void ReceiveMessage(std::uint32_t code, const std::string& value);

  // Closes the window through the normal closing sequence without asking the user anything:
  // used when the session ends (logout, shutdown, a termination signal).
  void CloseWithoutQuestions();

  const TSettings& Settings() const { return settings_; }

  // The command entry point: every menu item, key, gesture and button ends here.
  void ExecuteCommand(int id);
  // Runs the command once the current event is done (never from inside a widget's own event).
  void PostCommand(int id);
  // Re-reads the theme's captions, keys and gestures and builds the menus anew.
  void RebuildMenus();
  TMainMenus& Menus() const { return *menus_; }

  const TAccelTable& Accelerators() const { return menuBuild_.shortcuts.Table(); }
  GestureRecogniser& Gestures() { return menuBuild_.gestures; }
  // The cleaned caption of the command's menu item.
  std::string CaptionOfCommand(int id) const;
  // Gestures are read over the main window itself and the page area.
  bool InGestureArea(const QWidget* widget) const;
  void ShowGestureStatus(const std::string& text);

  // TSwitchTarget
  void ShowWindowState(int state) override;
  void ResizeBySwitch(std::string_view value) override;
  void MoveBySwitch(std::string_view value) override;
  void SetMenuBarVisible(bool visible) override;
  void SetCaptionVisible(bool visible) override;
  void SetStatusBarVisible(bool visible) override;
  void SetToolBarLayout(std::string_view layout) override;
  void SetSplitPosition(int position) override;
  void SetToolPanelVisible(bool visible) override;
  void SetRebarVisible(bool visible) override;
  void ApplyLayeredSwitch(std::string_view value) override;
  void OpenTabList(std::string_view path) override;
  void OpenUrls(std::string_view urls) override;

 signals:
  void CommandRequested(int id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LoadState();
  void ShowStandardMenu(const QPoint& globalPos);
  void ShowAbout();
  void ApplySettings();
  void ApplyTranslucency();
  void SaveState();
  WindowRect CurrentRect() const;

  TPaths paths_;
  CommandLine& commandLine_;
  WindowPlacement placement_;
  TThemeTexts themeTexts_;
  TMenuBuild menuBuild_;
  TMainMenus* menus_ = nullptr;
  QWidget* pageArea_ = nullptr;
  TSettings settings_;
  WindowState windowState_;
  RebarState rebarState_;
  Colour highlightColour_ = kHighlightColourDefault;
  std::array<TFileHistoryList, kFileHistoryKindCount> fileHistories_;
  bool askQuestions_ = true;
  bool saved_ = false;
};

// The primary screen as the placement sees it.
ScreenGeometry PrimaryScreenGeometry();

}  // namespace zelvora
