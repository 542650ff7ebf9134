#pragma once

#include <QMainWindow>
#include <array>

#include "core/shell/CommandLine.h"
#include "core/shell/FileHistory.h"
#include "core/shell/Paths.h"
#include "core/shell/Placement.h"
#include "core/shell/Settings.h"
#include "core/shell/SwitchReceiver.h"
#include "core/shell/WindowState.h"

namespace zelvora {

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void LoadState();
  void ApplySettings();
  void ApplyTranslucency();
  void SaveState();
  WindowRect CurrentRect() const;

  TPaths paths_;
  CommandLine& commandLine_;
  WindowPlacement placement_;
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
