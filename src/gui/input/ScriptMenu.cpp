#include "gui/input/ScriptMenu.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QWebEngineScript>
#include <algorithm>

#include "core/shell/CommandLine.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/Text.h"

namespace zelvora {

namespace {

// The page's permission switch that allows scripts (Image, Sound, Video, Java, Script, ...).
constexpr std::size_t kScriptSwitch = 4;
constexpr int kScheduleResetCommand = 4769;
constexpr int kResetCommand = 4770;

QString AskForScriptFile(QWidget* parent, const QString& folder, bool save) {
  const QString filter = QStringLiteral("txt (*.txt)");
  return save ? QFileDialog::getSaveFileName(parent, QString(), folder, filter)
              : QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

void OpenInEditor(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

TScriptMenu::FileAsker& FileAskerSlot() {
  static TScriptMenu::FileAsker asker = AskForScriptFile;
  return asker;
}

TScriptMenu::FileOpener& FileOpenerSlot() {
  static TScriptMenu::FileOpener opener = OpenInEditor;
  return opener;
}

}  // namespace

void TScriptMenu::SetFileAsker(FileAsker asker) {
  FileAskerSlot() = asker ? std::move(asker) : AskForScriptFile;
}

void TScriptMenu::SetFileOpener(FileOpener opener) {
  FileOpenerSlot() = opener ? std::move(opener) : OpenInEditor;
}

TScriptMenu::TScriptMenu(TSDIMainWindow& window) : QObject(&window), window_(window) {
  window_.SetCommandOwner(CommandOwner::kScriptMenu, [this](const CommandRoute& route, int id,
                                                            int) { RunCommand(route, id); });
  connect(&window_.Menus(), &TMainMenus::Built, this, &TScriptMenu::MenusBuilt);
}

void TScriptMenu::MenusBuilt() {
  // The old menu went with its entries.
  built_ = false;
  entries_.clear();
  menu_ = window_.Menus().Popup(kMenuScript);
  if (menu_.isNull())
    return;
  fixedCount_ = menu_->actions().size();
  connect(menu_, &QMenu::aboutToShow, this, &TScriptMenu::MenuOpening);
  // Posted twice over, so that a chosen entry runs before its menu is taken down.
  connect(menu_, &QMenu::aboutToHide, this, [this] { window_.PostCommand(kScheduleResetCommand); });
}

void TScriptMenu::MenuOpening() {
  const TScriptFile file = TScriptFile::Read(CurrentFile());
  window_.Menus().SetEnabled(kScriptEditId, file.Exists());
  if (!built_)
    Build();
}

void TScriptMenu::RunCommand(const CommandRoute& route, int id) {
  switch (route.action) {
    case CommandAction::kScheduleScriptMenuReset:
      window_.PostCommand(kResetCommand);
      break;
    case CommandAction::kResetScriptMenu:
      Reset();
      break;
    case CommandAction::kNewScript:
      NewScript();
      break;
    case CommandAction::kEditScript:
      EditScript();
      break;
    case CommandAction::kOpenScript:
      OpenScript();
      break;
    case CommandAction::kRunScript:
      RunEntry(id);
      break;
    case CommandAction::kSelectScriptFileHistory: {
      const std::string path =
          window_.FileHistory(kFileScript).Entry(static_cast<std::size_t>(route.offset) + 1);
      if (!path.empty())
        MakeCurrent(path);
      break;
    }
    default:
      break;
  }
}

void TScriptMenu::Build() {
  Reset();
  if (menu_.isNull())
    return;
  built_ = true;
  entries_ = TScriptFile::Read(CurrentFile()).MenuEntries();
  QMenu* submenu = nullptr;
  for (const ScriptMenuEntry& entry : entries_) {
    QMenu* target = entry.inSubmenu && submenu != nullptr ? submenu : menu_.data();
    switch (entry.kind) {
      case ScriptEntryKind::kSubmenu:
        submenu = new QMenu(FromView(entry.caption), menu_);
        menu_->addMenu(submenu);
        break;
      case ScriptEntryKind::kSeparator:
        target->addSeparator();
        break;
      case ScriptEntryKind::kItem: {
        QAction* action = target->addAction(FromView(entry.caption));
        const int id = entry.id;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { window_.ExecuteCommand(id); });
        break;
      }
    }
  }
}

void TScriptMenu::Reset() {
  // An open menu keeps what it shows; its closing asks for the reset again.
  if (menu_.isNull() || menu_->isVisible())
    return;
  built_ = false;
  entries_.clear();
  const QList<QAction*> actions = menu_->actions();
  for (qsizetype i = fixedCount_; i < actions.size(); ++i) {
    QAction* action = actions[i];
    menu_->removeAction(action);
    // A sub-menu owns its own action; this may run inside an action's own signal.
    if (QMenu* submenu = action->menu())
      submenu->deleteLater();
    else
      action->deleteLater();
  }
}

std::string TScriptMenu::CurrentFile() const {
  return window_.FileHistory(kFileScript).Entry(1);
}

void TScriptMenu::MakeCurrent(const std::string& path) {
  TFileHistoryList& history = window_.FileHistory(kFileScript);
  history.Add(path, window_.Settings().Int(kIntToolFileHistoryMax));
  history.SetCurrentFile(path);
  Reset();
}

void TScriptMenu::NewScript() {
  QString name =
      FileAskerSlot()(&window_, FromView(window_.FileHistory(kFileScript).CurrentFolder()), true);
  if (name.isEmpty())
    return;
  if (QFileInfo(name).suffix().isEmpty())
    name += QStringLiteral(".txt");
  const FileWriteResult written = CreateScriptFile(name.toStdString());
  if (!written.ok) {
    window_.ShowStatusText(FromView(written.error));
    return;
  }
  MakeCurrent(name.toStdString());
  EditScript();
}

void TScriptMenu::EditScript() {
  const std::string path = CurrentFile();
  if (TScriptFile::Read(path).Exists())
    FileOpenerSlot()(FromView(path));
}

void TScriptMenu::OpenScript() {
  const QString name =
      FileAskerSlot()(&window_, FromView(window_.FileHistory(kFileScript).CurrentFolder()), false);
  if (!name.isEmpty())
    MakeCurrent(name.toStdString());
}

void TScriptMenu::RunEntry(int id) {
  const auto entry =
      std::find_if(entries_.begin(), entries_.end(), [id](const ScriptMenuEntry& each) {
        return each.id == id && each.kind == ScriptEntryKind::kItem;
      });
  if (entry == entries_.end())
    return;
  const TPaths& paths = window_.Paths();
  const Script script = TScriptFile::Read(CurrentFile())
                            .ScriptOf(entry->section, {paths.programFolder, paths.perUserFolder});
  window_.PostCommand(kResetCommand);
  if (ClassifyScriptLanguage(script.language) == ScriptLanguage::kShortCut) {
    // The road of a second start's switches; a "/theme=" in the script has no slot and is lost.
    const CommandLine line = ParseCommandLine(script.code);
    for (int slot = 0; slot < kSwitchCount; ++slot) {
      const std::string& value = line.switches[static_cast<std::size_t>(slot)];
      if (!value.empty())
        window_.ReceiveMessage(static_cast<std::uint32_t>(kSwitchMessageBase + slot), value);
    }
    return;
  }
  RunInPage(script);
}

void TScriptMenu::RunInPage(const Script& script) {
  if (!window_.TabStripVisible())
    return;
  TAPIBrowsePage& strip = window_.BrowsePage();
  TMyContainerClass* page = strip.GetContainer(strip.CurrentIndex());
  if (page == nullptr || !page->permissions[kScriptSwitch])
    return;
  if (ClassifyScriptLanguage(script.language) != ScriptLanguage::kJavaScript) {
    window_.ShowStatusText(
        QStringLiteral("%1: only JavaScript runs in a page").arg(FromView(script.language)));
    return;
  }
  // The page's own world: the script sees and changes the page's variables. What it fails at
  // the engine reports on the page's console.
  page->Page()->runJavaScript(FromView(script.code), QWebEngineScript::MainWorld);
}

}  // namespace zelvora
