#include "gui/shell/SDIMainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>
#include <QWindow>

#include "core/browser/TabPolicy.h"
#include "core/input/ThemeTexts.h"
#include "core/shell/CommandTable.h"
#include "core/shell/InstanceLink.h"
#include "core/shell/SettingsFile.h"
#include "core/shell/SettingsTable.h"
#include "core/shell/SwitchValues.h"
#include "core/shell/UtilFunc.h"
#include "core/tools/TabList.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/Downloads.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/OpenDialog.h"
#include "gui/browser/PagePrompts.h"
#include "gui/browser/SessionAutoSave.h"
#include "gui/browser/TabSleep.h"
#include "gui/browser/WebSession.h"
#include "gui/input/DragDropClass.h"
#include "gui/input/FindCommands.h"
#include "gui/input/InputFilter.h"
#include "gui/input/ScriptMenu.h"
#include "gui/input/SelectionCommands.h"
#include "gui/input/ThemeCommands.h"
#include "gui/shell/ButtonIcons.h"
#include "gui/shell/ConfigCommands.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/StatusButtons.h"
#include "gui/shell/TabStripArea.h"
#include "gui/shell/ToolBarEdit.h"
#include "gui/shell/ToolPanel.h"
#include "gui/toolkit/Clipboard.h"
#include "gui/toolkit/Colours.h"
#include "gui/tools/AnalysisCommands.h"
#include "gui/tools/FavoriteCommands.h"
#include "gui/tools/HistoryCommands.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The toolbar's buttons are 16 pixels wide plus their padding; the toolbar band's default width
// is measured in them.
constexpr int kToolbarButtonWidth = 23;
constexpr int kSplitterWidth = 4;
// How close to the edge of a captionless window a press starts resizing it.
constexpr int kResizeBorder = 5;
// How long a note of start-up stays in the status bar.
constexpr int kNoteMs = 60000;

WindowRect ToWindowRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The window edges a press at `pos` (window coordinates) is near.
Qt::Edges EdgesAt(const QPoint& pos, const QSize& size) {
  Qt::Edges edges;
  if (pos.x() < kResizeBorder)
    edges |= Qt::LeftEdge;
  if (pos.x() >= size.width() - kResizeBorder)
    edges |= Qt::RightEdge;
  if (pos.y() < kResizeBorder)
    edges |= Qt::TopEdge;
  if (pos.y() >= size.height() - kResizeBorder)
    edges |= Qt::BottomEdge;
  return edges;
}

}  // namespace

ScreenGeometry PrimaryScreenGeometry() {
  ScreenGeometry screen;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screen.width = primary->geometry().width();
    screen.height = primary->geometry().height();
    screen.available = ToWindowRect(primary->availableGeometry());
  }
  return screen;
}

TSDIMainWindow::TSDIMainWindow(const TPaths& paths, CommandLine& commandLine,
                               const WindowPlacement& placement)
    : paths_(paths), commandLine_(commandLine), placement_(placement) {
  setObjectName(QString::fromUtf8(kProgramName.data(), kProgramName.size()));
  setWindowTitle(objectName());
  setMinimumSize(kMainWindowMinWidth, kMainWindowMinHeight);
  setGeometry(placement.rect.x, placement.rect.y, placement.rect.width, placement.rect.height);
  PrepareIconTheme();
  themeTexts_.Load(paths_.themeFile);
  CreateChildren();
  menus_ = new TMainMenus(
      menuBar(), [this](int id) { ExecuteCommand(id); },
      [this](int popup) {
        return FileHistoryPopupItems(popup, fileHistories_, windowState_.selectTool);
      },
      this);
  menus_->SetRefreshHook([this] { RefreshMenus(); });
  new TScriptMenu(*this);
  menuBar()->installEventFilter(this);
  LoadState();
  RebuildMenus();
  ApplyLoadedState();
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { UpdateClipboardCommands(); });
  qApp->installEventFilter(new TInputFilter(*this));
}

TSDIMainWindow::~TSDIMainWindow() {
  // A job still running may reach the window through Synchronize: it ends before anything goes.
  delete jobRunner_;
  jobRunner_ = nullptr;
  // The session goes first: what it made on the pages' profile may not outlive the profile.
  delete session_;
  session_ = nullptr;
}

void TSDIMainWindow::CreateChildren() {
  jobRunner_ = new TTreeJobRunner(*this);
  rebar_ = new TRebar(*this, {[this](int id) { ExecuteCommand(id); },
                              [this](int tag) { SpeedButtonClicked(tag); }});
  rebar_->SetTips(themeTexts_.ButtonTips(ButtonGroup::kToolbar));

  statusButtons_ = new TStatusButtons([this](int id) { ExecuteCommand(id); }, statusBar());
  statusButtons_->SetTexts(themeTexts_.ButtonTips(ButtonGroup::kDownloadControl),
                           themeTexts_.ButtonTips(ButtonGroup::kTwoState));
  statusBar()->addPermanentWidget(statusButtons_);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("Splitter"));
  splitter_->setHandleWidth(kSplitterWidth);
  splitter_->setChildrenCollapsible(false);
  toolPanel_ = new TToolPanel([this](int tag) { SpeedButtonClicked(tag); }, splitter_);
  toolPanel_->SetTexts(themeTexts_);
  tabStripArea_ = new TTabStripArea([this](int tag) { SpeedButtonClicked(tag); }, splitter_);
  browsePage_ = new TAPIBrowsePage(*this, QString::fromStdString(paths_.perUserFolder + "/engine"),
                                   tabStripArea_);
  tabStripArea_->SetContent(browsePage_);
  session_ = new TWebSession(*this, *browsePage_, paths_.perUserFolder, this);
  auto* prompts = new TPagePrompts(*browsePage_);
  browsePage_->onPageCreated = [this, prompts](TMyContainerClass& page) {
    session_->PageCreated(page);
    historyCommands_->PageCreated(page);
    prompts->PageCreated(page);
  };
  SetCommandOwner(CommandOwner::kPages, [this](const CommandRoute& route, int, int param) {
    if (route.action == CommandAction::kFocusTabPage && !PageMayTakeFocus())
      return;
    if (!RunTabListCommand(route))
      browsePage_->RunCommand(route, param);
  });
  SetCommandOwner(CommandOwner::kSessionOptions,
                  [this](const CommandRoute& route, int, int) { RunSessionCommand(route); });
  sessionAutoSave_ = new TSessionAutoSave(
      *browsePage_, settings_, paths_.perUserFolder,
      [this](const std::string& path) { return WriteTabList(path); }, this);
  SetCommandOwner(CommandOwner::kTabSleep, [this](const CommandRoute&, int, int) {
    browsePage_->Sleep().SleepNow(browsePage_->TargetIndex());
  });
  new TThemeCommands(*this);
  new TConfigCommands(*this);
  TBrowseTabBar& tabs = browsePage_->TabBar();
  tabs.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&tabs, &QTabBar::customContextMenuRequested, this, &TSDIMainWindow::ShowTabMenu);
  connect(&tabs, &QTabBar::tabBarDoubleClicked, this, [this](int index) {
    browsePage_->TabMouseAction(settings_.tabActions[kLeftDBClick], index);
  });
  connect(&tabs, &TBrowseTabBar::TabMiddleClicked, this, [this](int index) {
    browsePage_->TabMouseAction(settings_.tabActions[kWheelClick], index);
  });
  // A press on a page that has not the focus gives it the focus first.
  SetPagePressNotice(
      [this] { return browsePage_->Count() > 0 && browsePage_->FocusedChild() == nullptr; });
  backMenu_ = new QMenu(this);
  forwardMenu_ = new QMenu(this);
  connect(backMenu_, &QMenu::aboutToShow, this,
          [this] { browsePage_->FillTravelMenu(*backMenu_, true); });
  connect(forwardMenu_, &QMenu::aboutToShow, this,
          [this] { browsePage_->FillTravelMenu(*forwardMenu_, false); });
  rebar_->SetDropDownMenu(ToolbarIndexOfCommand(3069), backMenu_);
  rebar_->SetDropDownMenu(ToolbarIndexOfCommand(3068), forwardMenu_);
  splitter_->addWidget(toolPanel_);
  splitter_->addWidget(tabStripArea_);
  splitter_->setStretchFactor(1, 1);
  setCentralWidget(splitter_);
  tabStripArea_->installEventFilter(this);
  toolTrees_ = new TToolTrees(*this);
  favoriteCommands_ = new TFavoriteCommands(*this, *toolTrees_);
  historyCommands_ = new THistoryCommands(*this, *toolTrees_);
  analysisCommands_ = new TAnalysisCommands(*this, *toolTrees_);
  browsePage_->Sleep().analysedPage = [this] { return analysisCommands_->AnalysedPage(); };
  downloads_ = new TDownloads(*this);
  findCommands_ = new TFindCommands(*this);
  selectionCommands_ = new TSelectionCommands(*this, *findCommands_);
  for (int page = 0; page < kToolPanelTreeCount; ++page) {
    TTreeView* tree = toolPanel_->Tree(page);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &TTreeView::customContextMenuRequested, this,
            [this, page](const QPoint& pos) { ShowTreeMenu(page, pos); });
  }
  connect(splitter_, &QSplitter::splitterMoved, this,
          [this](int position) { windowState_.split = position; });

  // Enter in the bars and the keyword boxes runs their go command.
  // The box has the focus and hands its keys to its edit field, which can also get them itself.
  const auto enterRuns = [this](QComboBox* box, int command) {
    const auto handler = [this, command](const QKeyEvent& key) {
      if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
      PostCommand(command);
      return true;
    };
    keyHandlers_.Add(box, handler);
    keyHandlers_.Add(box->lineEdit(), handler);
  };
  enterRuns(rebar_->AddressBox(), 3117);
  enterRuns(rebar_->SearchKeyBox(), 3118);
  enterRuns(toolPanel_->HistoryKeyBox(), 3115);
  enterRuns(toolPanel_->AnalysisKeyBox(), 3116);
  CreateKeywordBoxes();
  dragAccept_ = new TDragAcceptClass(*this);
}

void TSDIMainWindow::RebuildMenus() {
  BuildMenusFromTheme(paths_.themeFile, themeTexts_, menuBuild_);
  menus_->Build(menuBuild_.model);
  const ToolbarButton& size =
      kToolbarButtons[static_cast<std::size_t>(ToolbarIndexOfCommand(3029))];
  rebar_->SetDropDownMenu(ToolbarIndexOfCommand(3029), menus_->Popup(size.dropDownMenu));
  toolPanel_->SetPageMenu(menus_->Popup(kMenuToolPanel));
  RefreshMenus();
}

void TSDIMainWindow::ReloadTheme() {
  themeTexts_.Load(paths_.themeFile);
  rebar_->SetTips(themeTexts_.ButtonTips(ButtonGroup::kToolbar));
  statusButtons_->SetTexts(themeTexts_.ButtonTips(ButtonGroup::kDownloadControl),
                           themeTexts_.ButtonTips(ButtonGroup::kTwoState));
  toolPanel_->SetTexts(themeTexts_);
  RebuildMenus();
  SelectToolPage(windowState_.selectTool);
}

void TSDIMainWindow::ApplyThemePage(ThemePage page) {
  switch (page) {
    case ThemePage::kAuthor:
      themeTexts_.LoadAuthor(paths_.themeFile);
      break;
    case ThemePage::kMenu:
      // The menu build keeps every check mark: RefreshMenus sets them from the window's state.
      themeTexts_.LoadMenuTexts(paths_.themeFile);
      toolPanel_->SetTexts(themeTexts_);
      RebuildMenus();
      SelectToolPage(windowState_.selectTool);
      break;
    case ThemePage::kButtonTips:
      themeTexts_.LoadButtonTips(paths_.themeFile);
      rebar_->SetTips(themeTexts_.ButtonTips(ButtonGroup::kToolbar));
      statusButtons_->SetTexts(themeTexts_.ButtonTips(ButtonGroup::kDownloadControl),
                               themeTexts_.ButtonTips(ButtonGroup::kTwoState));
      break;
    case ThemePage::kControlLabels:
      // The gesture direction labels are labels too: the bindings are read with them.
      themeTexts_.LoadControlLabels(paths_.themeFile);
      toolPanel_->SetTexts(themeTexts_);
      RebuildMenus();
      break;
    case ThemePage::kMessage:
      themeTexts_.LoadMessages(paths_.themeFile);
      break;
    case ThemePage::kMouse:
      RebuildMenus();
      break;
  }
}

void TSDIMainWindow::RefreshMenus() {
  UpdateClipboardCommands();
  menus_->SetChecked(3062, isMaximized());
  menus_->SetChecked(3063, toolPanel_->isVisibleTo(this));
  menus_->SetChecked(3064, rebar_->IsVisible());
  menus_->SetChecked(3065, menuBar()->isVisibleTo(this));
  menus_->SetChecked(3066, CaptionShown());
  menus_->SetChecked(3067, statusBar()->isVisibleTo(this));
  menus_->SetChecked(3043, windowState_.onTop);
  for (int page = 0; page < kToolPanelTreeCount; ++page) {
    menus_->SetChecked(kToolPageCommandFirst + page, page == windowState_.selectTool);
  }
  const bool pages = TabStripVisible();
  for (const std::uint16_t id : kPageCommands) {
    menus_->SetEnabled(id, pages);
  }
  const int size = browsePage_->GetZoom(browsePage_->CurrentIndex());
  for (int each = 0; each < kCharSizeCount; ++each) {
    menus_->SetChecked(CharSizeCommand(each), each == size);
  }
  for (std::size_t dialog = 0; dialog < trackedDialogs_.size(); ++dialog) {
    menus_->SetEnabled(kTrackedDialogCommands[dialog], trackedDialogs_[dialog].isNull());
  }
  if (!pages)
    menus_->SetEnabled(kTrackedDialogCommands[static_cast<std::size_t>(TrackedDialog::kSearch)],
                       false);
  for (int action = 0; action <= kSelectActionMax; ++action) {
    menus_->SetChecked(kSelectNoneId + action, action == settings_.selectAction);
  }
  for (int before = 0; before <= kSelectBeforeActionMax; ++before) {
    menus_->SetChecked(kSelectBeforeActionNoneId + before, before == settings_.selectBeforeAction);
  }
}

void TSDIMainWindow::UpdateClipboardCommands() {
  const bool text = ClipboardHoldsText();
  for (const std::uint16_t id : kClipboardCommands) {
    menus_->SetEnabled(id, text);
  }
  if (QAction* button = rebar_->ButtonOfCommand(3003))
    button->setEnabled(text);
}

void TSDIMainWindow::ExecuteCommand(int id, int param) {
  emit CommandRequested(id);
  const auto route = RouteCommand(id);
  if (!route || RunMainWindowCommand(*route))
    return;
  if (const CommandHandler& owner = owners_[static_cast<std::size_t>(route->owner)])
    owner(*route, id, param);
}

void TSDIMainWindow::SetCommandOwner(CommandOwner owner, CommandHandler handler) {
  owners_[static_cast<std::size_t>(owner)] = std::move(handler);
}

bool TSDIMainWindow::RunMainWindowCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kExit:
      close();
      return true;
    case CommandAction::kInternetOptions:
      OpenInternetOptions();
      return true;
    case CommandAction::kToggleOnTop:
      SetOnTop(!windowState_.onTop);
      return true;
    case CommandAction::kCustomizeToolbar:
      CustomizeToolbar();
      return true;
    case CommandAction::kToggleMaximize:
      ToggleMaximized();
      return true;
    case CommandAction::kToggleToolPanel:
      // The running job works on a tree of the panel.
      if (!ToolTaskRunning())
        SetToolPanelVisible(!toolPanel_->isVisibleTo(this));
      else if (QAction* button = rebar_->ButtonOfCommand(3063))
        button->setChecked(toolPanel_->isVisibleTo(this));
      return true;
    case CommandAction::kToggleReBar:
      SetRebarVisible(!rebar_->IsVisible());
      return true;
    case CommandAction::kToggleMenuBar:
      SetMenuBarVisible(!menuBar()->isVisibleTo(this));
      return true;
    case CommandAction::kToggleCaption:
      SetCaptionVisible(!CaptionShown());
      return true;
    case CommandAction::kToggleStatusBar:
      SetStatusBarVisible(!statusBar()->isVisibleTo(this));
      return true;
    case CommandAction::kAbout:
      ShowAbout();
      return true;
    case CommandAction::kShowStandardMenu:
      ShowStandardMenu(QCursor::pos());
      return true;
    case CommandAction::kSelectToolPage:
      if (!ToolTaskRunning())
        SelectToolPage(route.offset);
      return true;
    case CommandAction::kSetPermissions:
      // Without a page the buttons are the defaults that new pages start with.
      if (TMyContainerClass* page = browsePage_->GetContainer(browsePage_->CurrentIndex())) {
        page->permissions = statusButtons_->Permissions();
        return false;
      }
      ApplyPermissionButtons();
      return true;
    case CommandAction::kClearTabFileHistory:
      fileHistories_[kFileTab].Clear(false);
      return true;
    case CommandAction::kClearToolFileHistory:
      // The tree's own file stays in its list.
      fileHistories_[static_cast<std::size_t>(std::clamp(windowState_.selectTool, 0, 3))].Clear(
          true);
      return true;
    case CommandAction::kClearScriptFileHistory:
      // The current script file stays in its list.
      fileHistories_[kFileScript].Clear(true);
      return true;
    default:
      return false;
  }
}

void TSDIMainWindow::PostCommand(int id, int param) {
  QTimer::singleShot(0, this, [this, id, param] { ExecuteCommand(id, param); });
}

void TSDIMainWindow::SpeedButtonClicked(int tag) {
  const auto button = SpeedButtonOf(tag);
  if (!button)
    return;
  switch (button->action) {
    case SpeedAction::kStopToolTask:
      jobRunner_->RequestStop();
      break;
    case SpeedAction::kNextToolPage:
      ExecuteCommand(kToolPageCommandFirst + NextToolPage(windowState_.selectTool));
      break;
    case SpeedAction::kPreviousToolPage:
      ExecuteCommand(kToolPageCommandFirst + PreviousToolPage(windowState_.selectTool));
      break;
    case SpeedAction::kCommand:
      ExecuteCommand(button->command);
      break;
    case SpeedAction::kCommandWithAddressText:
      if (!rebar_->AddressBox()->currentText().isEmpty())
        ExecuteCommand(button->command);
      break;
    case SpeedAction::kCommandWithSearchText:
      if (!rebar_->SearchKeyBox()->currentText().isEmpty())
        ExecuteCommand(button->command);
      break;
    case SpeedAction::kToggleHighlight:
      // The find commands hear the check button themselves, with its new pressed state.
      break;
    case SpeedAction::kMinimise:
      showMinimized();
      break;
  }
}

void TSDIMainWindow::SelectToolPage(int page) {
  windowState_.selectTool = page >= 0 && page < kToolPanelTreeCount ? page : kToolFavorite;
  toolPanel_->ShowPage(windowState_.selectTool,
                       QString::fromStdString(themeTexts_.ToolPanelTreeName(
                           static_cast<ToolPanelTree>(windowState_.selectTool))));
  for (int each = 0; each < kToolPanelTreeCount; ++each) {
    menus_->SetChecked(kToolPageCommandFirst + each, each == windowState_.selectTool);
  }
}

void TSDIMainWindow::ApplyPermissionButtons() {
  const auto on = statusButtons_->Permissions();
  for (int index = 0; index < kPermissionCount; ++index) {
    settings_.flags[static_cast<std::size_t>(kFlagWebPermitMultiMediaFirst + index)] =
        on[static_cast<std::size_t>(index)] ? 1 : 0;
  }
}

bool TSDIMainWindow::CaptionShown() const {
  return !windowFlags().testFlag(Qt::FramelessWindowHint);
}

void TSDIMainWindow::UpdateWindowButtons() {
  tabStripArea_->SetWindowButtonsVisible(
      WindowButtonsVisible(CaptionShown(), menuBar()->isVisibleTo(this)));
}

void TSDIMainWindow::SetOnTop(bool onTop) {
  windowState_.onTop = onTop;
  menus_->SetChecked(3043, onTop);
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
    return;
  // Changing the flag re-creates the native window, which hides it: show it again as it was.
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible)
    show();
}

void TSDIMainWindow::ToggleMaximized() {
  if (isMaximized())
    showNormal();
  else
    showMaximized();
  menus_->SetChecked(3062, isMaximized());
}

void TSDIMainWindow::ShowAbout() {
  QMessageBox box(QMessageBox::Information, objectName(),
                  QString::fromStdString(themeTexts_.AboutText()), QMessageBox::Ok, this);
  SetDialogOpen(TrackedDialog::kAbout, &box);
  RegisterDialog(&box, kLayeredOther);
  box.exec();
}

void TSDIMainWindow::CustomizeToolbar() {
  std::vector<ToolbarButtonView> views;
  const auto tips = themeTexts_.ButtonTips(ButtonGroup::kToolbar);
  for (int index = 0; index < kToolbarButtonCount; ++index) {
    views.push_back({rebar_->Button(index)->icon(),
                     static_cast<std::size_t>(index) < tips.size()
                         ? QString::fromStdString(tips[static_cast<std::size_t>(index)])
                         : QString::number(index)});
  }
  TToolBarEditDialog dialog(std::move(views), rebar_->ToolbarLayout(), this);
  RegisterDialog(&dialog, kLayeredOther);
  if (dialog.exec() == QDialog::Accepted)
    rebar_->SetToolbarLayout(dialog.Layout());
}

void TSDIMainWindow::OpenInternetOptions() {
  // The desktop's own network settings, the first one installed.
  static const std::array<QStringList, 4> kPrograms = {
      QStringList{QStringLiteral("gnome-control-center"), QStringLiteral("network")},
      QStringList{QStringLiteral("systemsettings"), QStringLiteral("kcm_proxy")},
      QStringList{QStringLiteral("systemsettings5"), QStringLiteral("proxy")},
      QStringList{QStringLiteral("nm-connection-editor")},
  };
  for (const QStringList& program : kPrograms) {
    const QString path = QStandardPaths::findExecutable(program.first());
    if (!path.isEmpty() && QProcess::startDetached(path, program.mid(1)))
      return;
  }
  statusBar()->showMessage(QStringLiteral("No network settings program was found."));
}

std::string TSDIMainWindow::CaptionOfCommand(int id) const {
  return zelvora::CaptionOfCommand(menuBuild_.model, static_cast<std::uint16_t>(id));
}

bool TSDIMainWindow::InGestureArea(const QWidget* widget) const {
  return widget == this || InTabStrip(widget);
}

bool TSDIMainWindow::IsPageWidget(const QWidget* widget) const {
  for (const QWidget* each = widget; each != nullptr && each != this; each = each->parentWidget()) {
    if (qobject_cast<const QWebEngineView*>(each) != nullptr)
      return true;
  }
  return false;
}

bool TSDIMainWindow::InTabStrip(const QWidget* widget) const {
  return widget != nullptr && (widget == tabStripArea_ || tabStripArea_->isAncestorOf(widget));
}

void TSDIMainWindow::ShowGestureStatus(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text));
}

bool TSDIMainWindow::TabStripVisible() const {
  return browsePage_->isVisibleTo(this);
}

void TSDIMainWindow::PagePressed() {
  if (pagePressNotice_ && pagePressNotice_())
    ExecuteCommand(3158);
}

void TSDIMainWindow::RegisterDialog(QWidget* dialog, LayeredWindow layered) {
  std::erase_if(openDialogs_, [](const auto& open) { return open.first.isNull(); });
  openDialogs_.emplace_back(dialog, layered);
  const auto alpha = LayeredAlpha(settings_, layered);
  dialog->setWindowOpacity(alpha ? *alpha / 255.0 : 1.0);
}

bool TSDIMainWindow::PageMayTakeFocus() const {
  // A page that reaches a new load stage pulls the focus only from the strip or the bare window,
  // never from a bar, the tool panel or a dialog the user is typing in.
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr)
    return QApplication::activeModalWidget() == nullptr;
  if (focus->window() != this)
    return false;
  for (int band = 0; band < kRebarBandCount; ++band) {
    if (rebar_->Band(band)->isAncestorOf(focus))
      return false;
  }
  return !toolPanel_->isAncestorOf(focus);
}

void TSDIMainWindow::CloseToolDialogs() {
  for (const QPointer<QWidget>& dialog : trackedDialogs_) {
    if (dialog)
      dialog->close();
  }
  for (const auto& [dialog, layered] : openDialogs_) {
    if (dialog)
      dialog->close();
  }
}

void TSDIMainWindow::SetDialogOpen(TrackedDialog dialog, QWidget* widget) {
  trackedDialogs_[static_cast<std::size_t>(dialog)] = widget;
  menus_->SetEnabled(kTrackedDialogCommands[static_cast<std::size_t>(dialog)], widget == nullptr);
}

bool TSDIMainWindow::ResizeFromEdge(const QPoint& globalPos) {
  if (CaptionShown() || isMaximized() || windowHandle() == nullptr)
    return false;
  const Qt::Edges edges = EdgesAt(mapFromGlobal(globalPos), size());
  return edges && windowHandle()->startSystemResize(edges);
}

void TSDIMainWindow::ShowStandardMenu(const QPoint& globalPos) {
  ExecuteCommand(3163);
  if (QMenu* standard = menus_->Popup(kPopupStandardMenu))
    standard->exec(globalPos);
  PostCommand(4769);
}

void TSDIMainWindow::ShowTreeMenu(int page, const QPoint& pos) {
  // Only on an item: the empty part of a tree has no menu.
  TTreeView* tree = toolPanel_->Tree(page);
  const TreeHandle item = tree->ItemAt(pos);
  if (item == kNoItem || tree->TreeModel() == nullptr)
    return;
  if (!tree->TreeModel()->IsMarked(item))
    tree->MarkOnly(item);
  menus_->SetEnabled(kTrackedDialogCommands[static_cast<std::size_t>(TrackedDialog::kItemEdit)],
                     trackedDialogs_[static_cast<std::size_t>(TrackedDialog::kItemEdit)].isNull());
  menus_->SetEnabled(kDeleteHistoryTooCommand, page == kToolHistory);
  if (QMenu* menu = menus_->Popup(page == kToolProxy ? kMenuProxyContext : kMenuTreeContext))
    menu->exec(tree->viewport()->mapToGlobal(pos));
}

QMenu* TSDIMainWindow::createPopupMenu() {
  // The bands are switched by the System menu only; a right click shows the Standard Menu.
  return nullptr;
}

void TSDIMainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // Only the window's own client area: children with menus of their own have taken theirs.
  QWidget* child = childAt(event->pos());
  if (child != nullptr && child != tabStripArea_ && child != splitter_ &&
      qobject_cast<QToolBar*>(child) == nullptr) {
    event->ignore();
    return;
  }
  ShowStandardMenu(event->globalPos());
}

void TSDIMainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      PostCommand(3163);
    } else if (Gestures().State().active) {
      Gestures().Reset();
      statusBar()->clearMessage();
    }
  } else if (event->type() == QEvent::WindowStateChange) {
    menus_->SetChecked(3062, isMaximized());
  }
}

bool TSDIMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar()) {
    if (event->type() == QEvent::ContextMenu) {
      ShowStandardMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        menuBar()->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr) {
      ToggleMaximized();
      return true;
    }
  }
  if (watched == tabStripArea_ && HandleAreaMouse(event))
    return true;
  return QMainWindow::eventFilter(watched, event);
}

bool TSDIMainWindow::HandleAreaMouse(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
      ToggleMaximized();
      return true;
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || isMaximized())
        return false;
      const QPoint global = mouse->globalPosition().toPoint();
      QWindow* handle = windowHandle();
      if (handle != nullptr && handle->startSystemMove())
        return true;
      dragOffset_ = global - frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove:
      if (!dragOffset_)
        return false;
      move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - *dragOffset_);
      return true;
    case QEvent::MouseButtonRelease:
      if (!dragOffset_)
        return false;
      dragOffset_.reset();
      return true;
    default:
      return false;
  }
}

void TSDIMainWindow::LoadState() {
  const QPalette palette = QApplication::palette();
  SettingsLoadContext context;
  context.platform = {ToColour(palette.color(QPalette::Active, QPalette::Highlight)),
                      ToColour(palette.color(QPalette::Active, QPalette::Button))};
  context.windowWidth = width();
  context.windowHeight = height();
  context.windowLeft = x();
  context.windowTop = y();
  context.userFolder = paths_.perUserFolder;
  LoadSettings(paths_.settingsFile, settings_, context);
  session_->LoadDenyList();

  for (int kind = 0; kind < kFileHistoryKindCount; ++kind) {
    fileHistories_[static_cast<std::size_t>(kind)].Load(
        paths_.settingsFile, kFileHistorySections[static_cast<std::size_t>(kind)],
        settings_.Int(kIntToolFileHistoryMax), paths_.perUserFolder);
  }
  const ScreenGeometry screen = PrimaryScreenGeometry();
  windowState_.Load(paths_.settingsFile, screen.available.x + (screen.width - width()) / 2,
                    screen.available.y + (screen.height - height()) / 2);
  rebarState_.Load(paths_.settingsFile, kToolbarButtonWidth);
  highlightColour_ = LoadHighlightColour(paths_.settingsFile);

  // These switches take the place of their saved settings at start-up instead of arriving as
  // messages later.
  if (const auto split = SplitSwitch(commandLine_.Slot(kSwitchSplit)))
    windowState_.split = split;
  if (const auto tool = OnOff(commandLine_.Slot(kSwitchTool)))
    windowState_.showTool = *tool;
  if (const auto rebar = OnOff(commandLine_.Slot(kSwitchReber)))
    windowState_.showRebar = *rebar;
  for (const SwitchSlot slot : {kSwitchSplit, kSwitchTool, kSwitchReber}) {
    commandLine_.Slot(slot).clear();
  }
}

void TSDIMainWindow::ApplyLoadedState() {
  ApplySettings();
  rebar_->Apply(rebarState_);
  rebar_->SetVisible(windowState_.showRebar);
  toolPanel_->SetOptions(windowState_);
  SelectToolPage(windowState_.selectTool);
  if (!windowState_.split)
    windowState_.split = toolPanel_->sizeHint().width();
  toolPanel_->setVisible(windowState_.showTool);
  ApplySplit();
  if (QAction* button = rebar_->ButtonOfCommand(3063))
    button->setChecked(windowState_.showTool);
  statusButtons_->SetPermissions(DefaultPermissions());
  selectionCommands_->LoadEntry();
  statusButtons_->SetOffline(false, QString::fromStdString(themeTexts_.Label(kLabelOnLine)));
  LoadKeywordLists();
  RefreshMenus();
}

void TSDIMainWindow::ApplySettings() {
  toolPanel_->SetProgressColours(settings_.colours[kColourToolProgressFore],
                                 settings_.colours[kColourToolProgressBack]);
  browsePage_->TabBar().SetProgressColour(ToQColor(settings_.colours[kColourTabProgress]));
  browsePage_->selectNewTab = settings_.Flag(kFlagTabNewSelect);
  const TabSize tabSize =
      TabSizeOf(settings_.Flag(kFlagTabWidthUse), settings_.Int(kIntTabWidth),
                settings_.Flag(kFlagTabHeightUse), settings_.Int(kIntTabHeight));
  browsePage_->SetTabSize(tabSize.width, tabSize.height);
  // "Fitness": entries shortened to the list's width in the middle, as paths are.
  rebar_->AddressBox()->view()->setTextElideMode(
      settings_.Flag(kFlagAddresBarFitness) ? Qt::ElideMiddle : Qt::ElideNone);
  toolTrees_->ApplySettings();
  ApplyTranslucency();
  sessionAutoSave_->SettingsApplied();
}

void TSDIMainWindow::ApplyTranslucency() {
  // The colour key has no equivalent on the X11 and Wayland desktops: it stays in the settings
  // for the desktops that gain one, and the window keeps only its opacity.
  const auto alpha = LayeredAlpha(settings_, kLayeredMain);
  setWindowOpacity(alpha ? *alpha / 255.0 : 1.0);
  std::erase_if(openDialogs_, [](const auto& open) { return open.first.isNull(); });
  for (const auto& [dialog, layered] : openDialogs_) {
    const auto dialogAlpha = LayeredAlpha(settings_, layered);
    dialog->setWindowOpacity(dialogAlpha ? *dialogAlpha / 255.0 : 1.0);
  }
}

void TSDIMainWindow::ApplySplit() {
  const int split = std::max(0, windowState_.split.value_or(0));
  splitter_->setSizes({split, std::max(1, splitter_->width() - split - kSplitterWidth)});
}

void TSDIMainWindow::ShowFirstTime() {
  menuBar()->setVisible(windowState_.showMenu);
  statusBar()->setVisible(windowState_.showStatusBar);
  setWindowFlag(Qt::FramelessWindowHint, !windowState_.showCaption);
  setWindowFlag(Qt::WindowStaysOnTopHint, windowState_.onTop);
  UpdateWindowButtons();
  RefreshMenus();
  switch (placement_.show) {
    case kShowMaximized:
      showMaximized();
      break;
    case kShowMinimized:
      showMinimized();
      break;
    case kShowNormal:
      show();
      break;
  }
  ApplySplit();
}

void TSDIMainWindow::FinishStartUp() {
  toolTrees_->StartUp();
  favoriteCommands_->ApplyCaretProxy();
  ExecuteCommand(3113);
  std::string& toolbar = commandLine_.Slot(kSwitchToolBar);
  if (toolbar.empty())
    toolbar = FormatToolbarLayout(rebarState_.toolbar);
  std::string& dat = commandLine_.Slot(kSwitchDat);
  // After a crash the tabs the run kept saving come back whatever the settings say now.
  const bool uncleanEnd = sessionAutoSave_->StartRun();
  if ((settings_.Flag(kFlagLastWebRestore) || uncleanEnd) && dat.empty()) {
    dat = paths_.perUserFolder + "/LastWebList.dat";
    if (uncleanEnd)
      ShowNote(QString::fromStdString(themeTexts_.Message(kMessageSessionRestored)));
  }
  for (int slot = 0; slot < kSwitchCount; ++slot) {
    std::string& value = commandLine_.switches[static_cast<std::size_t>(slot)];
    if (value.empty())
      continue;
    const std::string sent = std::move(value);
    value.clear();
    DeliverSwitch(kSwitchMessageBase + slot, sent, *this);
  }
}

void TSDIMainWindow::ReceiveMessage(std::uint32_t code, const std::string& value) {
  if (code != kActivateMessage) {
    DeliverSwitch(static_cast<int>(code), value, *this);
    return;
  }
  if (isMinimized())
    showNormal();
  if (value == "1") {
    raise();
    activateWindow();
  }
}

bool TSDIMainWindow::ToolTaskRunning() const {
  return jobRunner_->Running();
}

bool TSDIMainWindow::StopRequested() const {
  return jobRunner_->StopRequested();
}

void TSDIMainWindow::CloseWithoutQuestions() {
  askQuestions_ = false;
  jobRunner_->StopAndWait();
  close();
}

void TSDIMainWindow::ShowNote(const QString& text) {
  // A label of its own: the pages' status texts of the first load would wipe a message at once.
  auto* note = new QLabel(text);
  note->setObjectName(QStringLiteral("Note"));
  note->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusBar()->addWidget(note, 1);
  QTimer::singleShot(kNoteMs, note, &QObject::deleteLater);
}

void TSDIMainWindow::ConfirmExitAndClose() {
  exitConfirmed_ = true;
  // After the job that asked has ended: a running job refuses every close.
  QTimer::singleShot(0, this, [this] { close(); });
}

void TSDIMainWindow::closeEvent(QCloseEvent* event) {
  // A close that arrives after the window was closed (a second request posted meanwhile) must
  // not write the tab list again, now that the tabs are gone.
  if (saved_) {
    event->accept();
    return;
  }
  // The tool dialogs close first, whatever the answer to the exit question.
  CloseToolDialogs();
  if (jobRunner_->RefuseClose()) {
    event->ignore();
    return;
  }
  if (!askQuestions_) {
    toolTrees_->WriteRecoveryCopies();
  } else if (!exitConfirmed_ && toolTrees_->ExitCheckWanted()) {
    // The trees are compared with their files by a job, which asks and closes again.
    PostCommand(3114);
    event->ignore();
    return;
  }
  // Running downloads get a question of their own, which also asks about exiting.
  const bool downloadsAsked = askQuestions_ && downloads_->RunningCount() > 0;
  if (downloadsAsked && !downloads_->AskExit()) {
    exitConfirmed_ = false;
    event->ignore();
    return;
  }
  if (askQuestions_ && !downloadsAsked && settings_.Flag(kFlagConfirmExit)) {
    const QString text = QString::fromStdString(themeTexts_.Message(kMessageConfirmExit))
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                             .trimmed();
    if (QMessageBox::question(this, objectName(), text) != QMessageBox::Yes) {
      exitConfirmed_ = false;
      event->ignore();
      return;
    }
  }
  downloads_->CancelAll();
  sessionAutoSave_->EndCleanly();
  if (settings_.Flag(kFlagLastWebRestore))
    WriteTabList(paths_.perUserFolder + "/" + std::string(kLastWebListName));
  browsePage_->DeleteAllPages();
  SaveState();
  event->accept();
}

WindowRect TSDIMainWindow::CurrentRect() const {
  return ToWindowRect(isMaximized() || isMinimized() ? normalGeometry() : geometry());
}

void TSDIMainWindow::SaveState() {
  if (saved_)
    return;
  saved_ = true;
  const WindowRect rect = CurrentRect();
  windowState_.x = rect.x;
  windowState_.y = rect.y;
  windowState_.w = rect.width;
  windowState_.h = rect.height;
  windowState_.state = isMaximized()   ? kWindowMaximised
                       : isMinimized() ? kWindowMinimised
                                       : kWindowNormal;
  windowState_.showMenu = menuBar()->isVisibleTo(this);
  windowState_.showStatusBar = statusBar()->isVisibleTo(this);
  windowState_.showCaption = CaptionShown();
  windowState_.showTool = toolPanel_->isVisibleTo(this);
  windowState_.showRebar = rebar_->IsVisible();
  if (toolPanel_->isVisible())
    windowState_.split = toolPanel_->width();
  toolPanel_->ReadOptions(windowState_);
  rebar_->Read(rebarState_);
  SaveKeywordLists();

  ProfileUpdate update(paths_.settingsFile);
  windowState_.Save(paths_.settingsFile, isMaximized());
  rebarState_.Save(paths_.settingsFile);
  SaveSettings(paths_.settingsFile, settings_);
  for (int kind = 0; kind < kFileHistoryKindCount; ++kind) {
    fileHistories_[static_cast<std::size_t>(kind)].Save(
        paths_.settingsFile, kFileHistorySections[static_cast<std::size_t>(kind)]);
  }
  SaveHighlightColour(paths_.settingsFile, highlightColour_);
  if (!update.Commit()) {
    qWarning("Zelvora: the settings could not be written to %s: %s", paths_.settingsFile.c_str(),
             update.ErrorText().c_str());
  }
  FlushProfile(paths_.settingsFile);
}

void TSDIMainWindow::ShowWindowState(int state) {
  switch (state) {
    case kWindowMaximised:
      showMaximized();
      break;
    case kWindowMinimised:
      showMinimized();
      break;
    default:
      showNormal();
      break;
  }
}

void TSDIMainWindow::ResizeBySwitch(std::string_view value) {
  if (isMaximized())
    showNormal();
  const WindowRect rect = ApplySizeSwitch(value, CurrentRect(), PrimaryScreenGeometry());
  setGeometry(rect.x, rect.y, rect.width, rect.height);
}

void TSDIMainWindow::MoveBySwitch(std::string_view value) {
  if (isMaximized())
    showNormal();
  const WindowRect rect = ApplyPosSwitch(value, CurrentRect(), PrimaryScreenGeometry());
  setGeometry(rect.x, rect.y, rect.width, rect.height);
}

void TSDIMainWindow::SetMenuBarVisible(bool visible) {
  menuBar()->setVisible(visible);
  menus_->SetChecked(3065, visible);
  UpdateWindowButtons();
}

void TSDIMainWindow::SetCaptionVisible(bool visible) {
  menus_->SetChecked(3066, visible);
  if (CaptionShown() != visible) {
    // Changing the frame re-creates the native window, which hides it: show it again as it was.
    const bool wasVisible = isVisible();
    const bool wasMaximized = isMaximized();
    setWindowFlag(Qt::FramelessWindowHint, !visible);
    if (wasVisible)
      wasMaximized ? showMaximized() : show();
  }
  UpdateWindowButtons();
}

void TSDIMainWindow::SetStatusBarVisible(bool visible) {
  statusBar()->setVisible(visible);
  menus_->SetChecked(3067, visible);
}

void TSDIMainWindow::SetToolBarLayout(std::string_view layout) {
  rebar_->SetToolbarLayout(ParseToolbarLayout(layout));
}

void TSDIMainWindow::SetSplitPosition(int position) {
  windowState_.split = position;
  ApplySplit();
}

void TSDIMainWindow::SetToolPanelVisible(bool visible) {
  if (toolPanel_->isVisible() && !visible)
    windowState_.split = toolPanel_->width();
  toolPanel_->setVisible(visible);
  if (visible) {
    SelectToolPage(windowState_.selectTool);
    ApplySplit();
  }
  menus_->SetChecked(3063, visible);
  if (QAction* button = rebar_->ButtonOfCommand(3063))
    button->setChecked(visible);
}

void TSDIMainWindow::SetRebarVisible(bool visible) {
  rebar_->SetVisible(visible);
  menus_->SetChecked(3064, visible);
}

void TSDIMainWindow::ApplyLayeredSwitch(std::string_view value) {
  zelvora::ApplyLayeredSwitch(value, settings_);
  ApplyTranslucency();
}

}  // namespace zelvora
