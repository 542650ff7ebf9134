#include "gui/shell/SDIMainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "core/input/ThemeTexts.h"
#include "core/shell/CommandDispatch.h"
#include "core/shell/InstanceLink.h"
#include "core/shell/SettingsFile.h"
#include "core/shell/SwitchValues.h"
#include "core/shell/UtilFunc.h"
#include "gui/input/InputFilter.h"
#include "gui/shell/MainMenus.h"

namespace zelvora {

namespace {

// The toolbar's buttons are 16 pixels wide plus their padding; the toolbar band's default width
// is measured in them.
constexpr int kToolbarButtonWidth = 23;

Colour ToColour(const QColor& colour) {
  return MakeColour(colour.red(), colour.green(), colour.blue());
}

WindowRect ToWindowRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
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
  // The page area: the tab strip lives here.
  pageArea_ = new QWidget(this);
  setCentralWidget(pageArea_);
  statusBar();
  themeTexts_.Load(paths_.themeFile);
  menus_ = new TMainMenus(
      menuBar(), [this](int id) { ExecuteCommand(id); },
      [this](int popup) {
        return FileHistoryPopupItems(popup, fileHistories_, windowState_.selectTool);
      },
      this);
  menuBar()->installEventFilter(this);
  RebuildMenus();
  LoadState();
  qApp->installEventFilter(new TInputFilter(*this));
}

void TSDIMainWindow::RebuildMenus() {
  BuildMenusFromTheme(paths_.themeFile, themeTexts_, menuBuild_);
  menus_->Build(menuBuild_.model);
}

void TSDIMainWindow::ExecuteCommand(int id) {
  emit CommandRequested(id);
  const auto route = RouteCommand(id);
  if (!route)
    return;
  switch (route->action) {
    case CommandAction::kExit:
      close();
      break;
    case CommandAction::kAbout:
      ShowAbout();
      break;
    default:
      // The owning parts of the program take their commands over as they arrive.
      break;
  }
}

void TSDIMainWindow::PostCommand(int id) {
  QTimer::singleShot(0, this, [this, id] { ExecuteCommand(id); });
}

void TSDIMainWindow::ShowAbout() {
  QMessageBox::about(this, objectName(), QString::fromStdString(themeTexts_.AboutText()));
}

std::string TSDIMainWindow::CaptionOfCommand(int id) const {
  return zelvora::CaptionOfCommand(menuBuild_.model, static_cast<std::uint16_t>(id));
}

bool TSDIMainWindow::InGestureArea(const QWidget* widget) const {
  return widget == this || widget == pageArea_ || pageArea_->isAncestorOf(widget);
}

void TSDIMainWindow::ShowGestureStatus(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text));
}

void TSDIMainWindow::ShowStandardMenu(const QPoint& globalPos) {
  if (QMenu* standard = menus_->Popup(kPopupStandardMenu))
    standard->exec(globalPos);
}

void TSDIMainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // Only the window's own client area: children with menus of their own have taken theirs.
  QWidget* child = childAt(event->pos());
  if (child != nullptr && child != pageArea_) {
    event->ignore();
    return;
  }
  ShowStandardMenu(event->globalPos());
}

bool TSDIMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar() && event->type() == QEvent::ContextMenu) {
    ShowStandardMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
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
  ApplySettings();

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

void TSDIMainWindow::ApplySettings() {
  ApplyTranslucency();
}

void TSDIMainWindow::ApplyTranslucency() {
  // Only the main window's opacity exists so far; the colour key has no portable equivalent
  // and is kept in the settings for the platforms that gain one.
  const bool layered = settings_.Flag(kFlagLayeredMain);
  setWindowOpacity(layered ? settings_.Int(kIntLayeredMainValue) / 255.0 : 1.0);
}

void TSDIMainWindow::ShowFirstTime() {
  menuBar()->setVisible(windowState_.showMenu);
  statusBar()->setVisible(windowState_.showStatusBar);
  setWindowFlag(Qt::FramelessWindowHint, !windowState_.showCaption);
  setWindowFlag(Qt::WindowStaysOnTopHint, windowState_.onTop);
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
}

void TSDIMainWindow::FinishStartUp() {
  std::string& toolbar = commandLine_.Slot(kSwitchToolBar);
  if (toolbar.empty())
    toolbar = FormatToolbarLayout(rebarState_.toolbar);
  std::string& dat = commandLine_.Slot(kSwitchDat);
  if (settings_.Flag(kFlagLastWebRestore) && dat.empty()) {
    dat = paths_.perUserFolder + "/LastWebList.dat";
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

void TSDIMainWindow::CloseWithoutQuestions() {
  askQuestions_ = false;
  close();
}

void TSDIMainWindow::closeEvent(QCloseEvent* event) {
  if (askQuestions_ && settings_.Flag(kFlagConfirmExit)) {
    const QString text = QString::fromStdString(BuiltInMessage(kMessageConfirmExit));
    if (QMessageBox::question(this, objectName(), text) != QMessageBox::Yes) {
      event->ignore();
      return;
    }
  }
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
  windowState_.showCaption = !windowFlags().testFlag(Qt::FramelessWindowHint);

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
}

void TSDIMainWindow::SetCaptionVisible(bool visible) {
  if (windowFlags().testFlag(Qt::FramelessWindowHint) == !visible)
    return;
  // Changing the frame re-creates the native window, which hides it: show it again as it was.
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::FramelessWindowHint, !visible);
  if (wasVisible)
    show();
}

void TSDIMainWindow::SetStatusBarVisible(bool visible) {
  statusBar()->setVisible(visible);
}

void TSDIMainWindow::SetToolBarLayout(std::string_view layout) {
  rebarState_.toolbar = ParseToolbarLayout(layout);
}

void TSDIMainWindow::SetSplitPosition(int position) {
  windowState_.split = position;
}

void TSDIMainWindow::SetToolPanelVisible(bool visible) {
  windowState_.showTool = visible;
}

void TSDIMainWindow::SetRebarVisible(bool visible) {
  windowState_.showRebar = visible;
}

void TSDIMainWindow::ApplyLayeredSwitch(std::string_view value) {
  zelvora::ApplyLayeredSwitch(value, settings_);
  ApplyTranslucency();
}

void TSDIMainWindow::OpenTabList(std::string_view path) {
  statusBar()->showMessage(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}

void TSDIMainWindow::OpenUrls(std::string_view urls) {
  statusBar()->showMessage(QString::fromUtf8(urls.data(), static_cast<qsizetype>(urls.size())));
}

}  // namespace zelvora
