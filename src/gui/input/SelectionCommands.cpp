#include "gui/input/SelectionCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <array>
#include <memory>

#include "core/shell/CommandTable.h"
#include "core/shell/FileHistory.h"
#include "core/shell/SettingsTable.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/input/FindCommands.h"
#include "gui/input/SelectDialog.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

namespace {

constexpr int kSelectActionCount = kSelectActionMax + 1;
constexpr int kSelectBeforeActionCount = kSelectBeforeActionMax + 1;
enum SelectAction : int { kNone = 0, kCopy = 1, kUrlOpen = 2, kEditCopy = 3, kEditUrlOpen = 4 };
enum SelectBeforeAction : int { kBeforeNone = 0, kBeforeDialog = 1, kBeforeMenu = 2 };

// The main-menu commands the select menu offers besides the select actions.
constexpr std::array<int, 5> kSelectMenuCommands = {3010, 3011, 3012, 3160, 3026};
constexpr int kSelectDialogCommand = 3160;
constexpr int kSearchCommand = 3026;

}  // namespace

TSelectionCommands::TSelectionCommands(TSDIMainWindow& window, TFindCommands& find)
    : QObject(&window), window_(window), find_(find) {
  window_.SetCommandOwner(CommandOwner::kSelection,
                          [this](const CommandRoute& route, int, int) { RunCommand(route); });
  window_.BrowsePage().onDocMouseUp = [this](const FrameRef&) { SelectionEnded(); };
}

void TSelectionCommands::LoadEntry() {
  current_ = ReadCurrentSelectEntry(window_.FileHistory(kFileSelect).CurrentFile());
}

void TSelectionCommands::RunCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kShowRangeSource:
      find_.ReadSelection(true, true, [this](const QString& text) {
        ShowTextArea(QStringLiteral("ClipRange"), text);
      });
      break;
    case CommandAction::kCopyRangeSource:
      find_.ReadSelection(true, true, [](const QString& text) {
        if (text.isEmpty())
          QApplication::clipboard()->clear();
        else
          QApplication::clipboard()->setText(text);
      });
      break;
    case CommandAction::kSelectionDialog:
      OpenDialog();
      break;
    case CommandAction::kSetSelectionAction:
      SetAction(route.offset);
      break;
    case CommandAction::kSetSelectBeforeAction:
      SetBeforeAction(route.offset);
      break;
    default:
      break;
  }
}

void TSelectionCommands::SelectionEnded() {
  find_.ReadSelection(current_.source, false, [this](const QString& text) {
    // The menu or the dialog comes after the page's event is over, never inside it.
    if (!text.isEmpty())
      QTimer::singleShot(0, this, [this, text] { Flow(text); });
  });
}

void TSelectionCommands::Flow(const QString& text) {
  switch (window_.Settings().selectBeforeAction) {
    case kBeforeDialog:
      OpenDialog();
      dialog_->SetText(text);
      break;
    case kBeforeMenu:
      if (dialog_)
        dialog_->SetText(text);
      ShowSelectMenu(text);
      return;
    default:
      if (dialog_)
        dialog_->SetText(text);
      break;
  }
  Perform(text);
}

void TSelectionCommands::ShowSelectMenu(const QString& text) {
  TMainMenus& menus = window_.Menus();
  QMenu menu;
  QMenu* actions = menus.Popup(kMenuSelectAction);
  if (actions != nullptr)
    menu.addActions(actions->actions());
  menu.addSeparator();
  QAction* standard =
      menu.addAction(QString::fromStdString(window_.ThemeTexts().Label(kLabelStandardMenu)));
  menu.addSeparator();
  for (const int id : kSelectMenuCommands) {
    if (QAction* command = menus.Action(id))
      menu.addAction(command);
  }
  TAPIBrowsePage& strip = window_.BrowsePage();
  // The page's own menu that may follow the release is not wanted on top of this one.
  strip.WebEvents().SuppressNextContextMenu();
  const bool dialogWasOpen = !dialog_.isNull();
  const QPoint at = QCursor::pos();
  QAction* chosen = menu.exec(at);
  TMyContainerClass* page = strip.GetContainer(strip.CurrentIndex());
  if (chosen == nullptr) {
    // Dismissed: the input goes back to the page.
    if (page != nullptr)
      page->View()->setFocus();
    return;
  }
  if (chosen == standard) {
    strip.WebEvents().AllowContextMenu();
    if (page == nullptr)
      return;
    // A right click where the menu was, so that the page shows its own menu for that point.
    QWidget* target = page->View()->focusProxy() ? page->View()->focusProxy() : page->View();
    const QPointF local = target->mapFromGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    return;
  }
  const int id = chosen->data().toInt();
  if (id >= kSelectNoneId && id < kSelectNoneId + kSelectActionCount) {
    SetAction(id - kSelectNoneId);
    Perform(text);
  } else if (id == kSelectDialogCommand) {
    if (!dialogWasOpen && dialog_)
      dialog_->SetText(text);
  } else if (id == kSearchCommand) {
    find_.OpenDialog(text);
  }
}

void TSelectionCommands::Perform(const QString& text) {
  const int action = window_.Settings().selectAction;
  if (action == kNone || text.isEmpty())
    return;
  const QString result = action == kEditCopy || action == kEditUrlOpen
                             ? QString::fromStdString(EditSelection(text.toStdString(), current_))
                             : text;
  if (action == kCopy || action == kEditCopy)
    QApplication::clipboard()->setText(result);
  else
    window_.BrowsePage().OpenTab(result);
}

void TSelectionCommands::SetAction(int action) {
  action = std::clamp(action, 0, kSelectActionCount - 1);
  window_.MutableSettings().selectAction = action;
  for (int each = 0; each < kSelectActionCount; ++each) {
    window_.Menus().SetChecked(kSelectNoneId + each, each == action);
  }
  if (dialog_)
    dialog_->ShowAction(action);
}

void TSelectionCommands::SetBeforeAction(int beforeAction) {
  beforeAction = std::clamp(beforeAction, 0, kSelectBeforeActionCount - 1);
  window_.MutableSettings().selectBeforeAction = beforeAction;
  for (int each = 0; each < kSelectBeforeActionCount; ++each) {
    window_.Menus().SetChecked(kSelectBeforeActionNoneId + each, each == beforeAction);
  }
}

void TSelectionCommands::OpenDialog() {
  if (!dialog_) {
    dialog_ = new TSelectDialog(window_, current_);
    connect(dialog_, &TSelectDialog::PerformRequested, this, &TSelectionCommands::Perform);
    connect(dialog_, &TSelectDialog::StepRequested, this, [this] {
      window_.ExecuteCommand(kSelectNoneId +
                             (window_.Settings().selectAction + 1) % kSelectActionCount);
    });
    dialog_->ShowAction(window_.Settings().selectAction);
    dialog_->show();
  }
  dialog_->raise();
  dialog_->activateWindow();
}

void TSelectionCommands::ShowTextArea(const QString& title, const QString& text) {
  TAPIBrowsePage& strip = window_.BrowsePage();
  TMyContainerClass* page = strip.GetContainer(strip.OpenTab({}));
  if (page == nullptr)
    return;
  QWebEnginePage* engine = page->Page();
  // The text goes in as the text area's value, never as markup.
  const QString value =
      QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
  auto loaded = std::make_shared<QMetaObject::Connection>();
  *loaded = connect(engine, &QWebEnginePage::loadFinished, engine, [engine, loaded, value] {
    QObject::disconnect(*loaded);
    engine->runJavaScript(
        QStringLiteral("document.getElementsByTagName('textarea')[0].value = %1[0];").arg(value),
        QWebEngineScript::ApplicationWorld);
  });
  engine->setHtml(QStringLiteral("<html><head><title>%1</title><style>html, body { height: 100%; "
                                 "margin: 0 } textarea { box-sizing: border-box }</style></head>"
                                 "<body><textarea style=\"width:100%; height:100%\"></textarea>"
                                 "</body></html>")
                      .arg(title.toHtmlEscaped()),
                  QUrl(QStringLiteral("about:blank")));
}

}  // namespace zelvora
