#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "core/input/MenuBuild.h"
#include "core/input/ThemePages.h"
#include "core/input/ThemeTexts.h"
#include "core/shell/CommandDispatch.h"
#include "core/shell/CommandLine.h"
#include "core/shell/FileHistory.h"
#include "core/shell/MainWindowRules.h"
#include "core/shell/Paths.h"
#include "core/shell/Placement.h"
#include "core/shell/Settings.h"
#include "core/shell/SwitchReceiver.h"
#include "core/shell/WindowState.h"
#include "core/tools/TabList.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/browser/OpenDialog.h"
#include "gui/input/KeyHandlers.h"

class QSplitter;

namespace zelvora {

class TMainMenus;
class TRebar;
class TStatusButtons;
class TTabStripArea;
class TToolPanel;
class TToolTrees;
class TAnalysisCommands;
class TDownloads;
class TFindCommands;
class TSelectionCommands;
class TSessionAutoSave;
class TFavoriteCommands;
class THistoryCommands;
class TTreeJobRunner;
class TWebSession;
class TKeywordBox;
class TDragAcceptClass;

// The one main window of the program. It owns the settings record, the window state and the
// file-history lists for the whole run, lays out the bars, the tool panel and the tab-strip area,
// applies the switch messages and dispatches every command.
class TSDIMainWindow : public QMainWindow, public TSwitchTarget, public TPageHost {
  Q_OBJECT

 public:
  TSDIMainWindow(const TPaths& paths, CommandLine& commandLine, const WindowPlacement& placement);
  ~TSDIMainWindow() override;

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

  // The command entry point: every menu item, key, gesture and button ends here. `param` is the
  // value a posted internal command carries (a tab index, for instance).
  void ExecuteCommand(int id, int param = 0);
  // Runs the command once the current event is done (never from inside a widget's own event).
  void PostCommand(int id, int param = 0) override;
  // The part of the program that carries out the commands of `owner`; commands of an owner
  // without a handler do nothing.
  using CommandHandler = std::function<void(const CommandRoute& route, int id, int param)>;
  void SetCommandOwner(CommandOwner owner, CommandHandler handler);

  // Re-reads the theme's captions, keys and gestures and builds the menus anew.
  void RebuildMenus();
  // Re-reads every text of the theme (tips, labels, messages, tree names) and then the menus.
  void ReloadTheme();
  // The theme file the program reads its texts, keys and gestures from from now on.
  void SetThemeFile(const std::string& path) { paths_.themeFile = path; }
  // Re-reads from the theme file what one page of the theme editor writes, and shows it.
  void ApplyThemePage(ThemePage page);
  TMainMenus& Menus() const { return *menus_; }
  // Brings the enabled and checked states of the menus in line with the window; runs whenever a
  // menu of the menu bar or the Standard Menu opens.
  void RefreshMenus();

  const TAccelTable& Accelerators() const { return menuBuild_.shortcuts.Table(); }
  GestureRecogniser& Gestures() { return menuBuild_.gestures; }
  // The menus of the current theme as data (the selection actions' names among them).
  const TMenuBuild& MenuBuild() const { return menuBuild_; }
  TKeyHandlerTable& KeyHandlers() { return keyHandlers_; }
  // The cleaned caption of the command's menu item.
  std::string CaptionOfCommand(int id) const;
  // Gestures are read over the main window itself and the tab-strip area.
  bool InGestureArea(const QWidget* widget) const;
  bool InTabStrip(const QWidget* widget) const;
  // Whether the widget shows a web page (the engine's own widgets inside a page view).
  bool IsPageWidget(const QWidget* widget) const;
  void ShowGestureStatus(const std::string& text);

  // Page commands are enabled while the tab strip is visible (it holds a page).
  bool TabStripVisible() const;
  // Asked on every left or middle press on a page: whether the page wants command 3158 first.
  void SetPagePressNotice(std::function<bool()> notice) { pagePressNotice_ = std::move(notice); }
  void PagePressed();

  // A dialog that follows its translucency setting while it is open.
  void RegisterDialog(QWidget* dialog, LayeredWindow layered);
  // The dialog whose command is disabled while it is open; null when it closed. A dialog that is
  // deleted counts as closed.
  void SetDialogOpen(TrackedDialog dialog, QWidget* widget);
  // A press near the edge of a captionless window resizes it; returns whether it did.
  bool ResizeFromEdge(const QPoint& globalPos);
  // Whether a page may take the keyboard focus on its own (a new load stage, a tab switch).
  bool PageMayTakeFocus() const;
  // Closes every open tool dialog (the first step of closing the window).
  void CloseToolDialogs();

  const TPaths& Paths() const { return paths_; }
  TRebar& Rebar() const { return *rebar_; }
  TToolPanel& ToolPanel() const { return *toolPanel_; }
  TStatusButtons& StatusButtons() const { return *statusButtons_; }
  TTabStripArea& TabStripArea() const { return *tabStripArea_; }
  TAPIBrowsePage& BrowsePage() const { return *browsePage_; }
  TWebSession& Session() const { return *session_; }
  TKeywordBox& KeywordBox(int list) const { return *keywordBoxes_[static_cast<std::size_t>(list)]; }
  TOpenDialog* OpenDialog() const { return openDialog_.data(); }
  TToolTrees& ToolTrees() const { return *toolTrees_; }
  TFavoriteCommands& FavoriteCommands() const { return *favoriteCommands_; }
  THistoryCommands& HistoryCommands() const { return *historyCommands_; }
  TAnalysisCommands& AnalysisCommands() const { return *analysisCommands_; }
  TDownloads& Downloads() const { return *downloads_; }
  TFindCommands& FindCommands() const { return *findCommands_; }
  TSelectionCommands& SelectionCommands() const { return *selectionCommands_; }
  TDragAcceptClass& DragAccept() const { return *dragAccept_; }
  // The colour of in-page highlighting, kept for the next run.
  Colour HighlightColour() const { return highlightColour_; }
  void SetHighlightColour(Colour colour) { highlightColour_ = colour; }
  TFileHistoryList& FileHistory(int kind) { return fileHistories_[static_cast<std::size_t>(kind)]; }
  // A note of start-up (a file set aside, changes kept at the last exit) in the status bar,
  // where it shows whenever no page's text does, for a minute.
  void ShowNote(const QString& text);
  // The trees may be left: the closing sequence goes on without asking about them again.
  void ConfirmExitAndClose();
  const TThemeTexts& ThemeTexts() const { return themeTexts_; }
  // The background job of the tool panel: a tree job, the history search or the page analysis.
  TTreeJobRunner& JobRunner() const { return *jobRunner_; }
  bool ToolTaskRunning() const;
  bool StopRequested() const;

  // Pushes the settings record into the window: tab strip, tool panel, trees, translucency.
  void ApplySettings();

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

  // TPageHost
  const TSettings& Settings() const override { return settings_; }
  // The settings that the program's own commands change (the select actions, for instance).
  TSettings& MutableSettings() { return settings_; }
  void ShowStatusText(const QString& text) override;
  void ShowAddress(const QString& url) override;
  void ShowTitle(const QString& title) override;
  void ShowBackForward(bool back, bool forward) override;
  void ShowSecurity(int lockIcon) override;
  void EnablePageButtons(bool page, bool document) override;
  void ShowPermissions(const std::array<bool, kPermissionCount>& on) override;
  std::array<bool, kPermissionCount> DefaultPermissions() const override;
  QString SecurityName(int lockIcon) const override;
  void StripLaidOut(bool visible) override;

 signals:
  void CommandRequested(int id);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  void CreateChildren();
  void LoadState();
  void ApplyLoadedState();
  bool RunMainWindowCommand(const CommandRoute& route);
  void SetCommandEnabled(int id, bool enabled);
  void SpeedButtonClicked(int tag);
  void SelectToolPage(int page);
  void SetOnTop(bool onTop);
  void ToggleMaximized();
  void ApplyPermissionButtons();
  void UpdateWindowButtons();
  void UpdateClipboardCommands();
  bool CaptionShown() const;
  void ShowStandardMenu(const QPoint& globalPos);
  void ShowTreeMenu(int page, const QPoint& pos);
  void ShowTabMenu(const QPoint& pos);
  bool RunTabListCommand(const CommandRoute& route);
  // The tab menu's copy commands: the tab's (or every tab's) title, address or both.
  void CopyTabs(const TabCopy& copy);
  void RunSessionCommand(const CommandRoute& route);
  void RefreshOffline(bool toggle);
  void CreateKeywordBoxes();
  void LoadKeywordLists();
  void SaveKeywordLists();
  void RunKeywordCommand(int id);
  void ShowKeywordMenu(int list, const QPoint& globalPos);
  void GoToAddress();
  void SearchKeyword();
  // Opens an address in a new tab, or in the current one (a new one when there is none).
  void OpenAddress(const QString& url, bool newTab);
  void LoadSearchList(const std::string& path);
  void ShowSearchListMenu();
  void ToggleOpenDialog();
  void ShowHistoryCatalog();
  void ShowTextInNewTab(const QString& title, const QString& html);
  void RestoreTabsFromFile(const std::string& path);
  bool WriteTabList(const std::string& path);
  void ShowAbout();
  void CustomizeToolbar();
  void OpenInternetOptions();
  void ApplyTranslucency();
  void ApplySplit();
  bool HandleAreaMouse(QEvent* event);
  void SaveState();
  WindowRect CurrentRect() const;

  TPaths paths_;
  CommandLine& commandLine_;
  WindowPlacement placement_;
  TThemeTexts themeTexts_;
  TMenuBuild menuBuild_;
  TMainMenus* menus_ = nullptr;
  TRebar* rebar_ = nullptr;
  TStatusButtons* statusButtons_ = nullptr;
  TToolPanel* toolPanel_ = nullptr;
  TToolTrees* toolTrees_ = nullptr;
  TFavoriteCommands* favoriteCommands_ = nullptr;
  THistoryCommands* historyCommands_ = nullptr;
  TAnalysisCommands* analysisCommands_ = nullptr;
  TDownloads* downloads_ = nullptr;
  TFindCommands* findCommands_ = nullptr;
  TSelectionCommands* selectionCommands_ = nullptr;
  TDragAcceptClass* dragAccept_ = nullptr;
  TTabStripArea* tabStripArea_ = nullptr;
  TAPIBrowsePage* browsePage_ = nullptr;
  TWebSession* session_ = nullptr;
  TSessionAutoSave* sessionAutoSave_ = nullptr;
  // The address bar, the history and analysis keyword boxes and the search bar, by list index.
  std::array<TKeywordBox*, 4> keywordBoxes_{};
  std::string searchListFile_;
  // The page whose address the address bar last followed.
  std::int64_t addressPage_ = -1;
  QPointer<TOpenDialog> openDialog_;
  QMenu* backMenu_ = nullptr;
  QMenu* forwardMenu_ = nullptr;
  QSplitter* splitter_ = nullptr;
  TKeyHandlerTable keyHandlers_;
  std::array<CommandHandler, kCommandOwnerCount> owners_;
  std::function<bool()> pagePressNotice_;
  std::vector<std::pair<QPointer<QWidget>, LayeredWindow>> openDialogs_;
  std::array<QPointer<QWidget>, kTrackedDialogCount> trackedDialogs_;
  TSettings settings_;
  WindowState windowState_;
  RebarState rebarState_;
  Colour highlightColour_ = kHighlightColourDefault;
  std::array<TFileHistoryList, kFileHistoryKindCount> fileHistories_;
  TTreeJobRunner* jobRunner_ = nullptr;
  // A press on the empty client area moves the window by hand when the window system does not.
  std::optional<QPoint> dragOffset_;
  bool askQuestions_ = true;
  // The trees were checked (or need no check): the next close goes on to the exit question.
  bool exitConfirmed_ = false;
  bool saved_ = false;
};

// The primary screen as the placement sees it.
ScreenGeometry PrimaryScreenGeometry();

}  // namespace zelvora
