// The main window's side of the pages: what the tab strip shows in the window, the commands
// that open and write tab lists, the offline state and the tab context menu.

#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolButton>
#include <QWebEngineHistory>

#include "core/browser/PageRules.h"
#include "core/shell/CommandTable.h"
#include "core/tools/TabList.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/TabSleep.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/StatusButtons.h"
#include "gui/toolkit/Clipboard.h"
#include "gui/toolkit/Text.h"
#include "gui/tools/KeywordBox.h"

namespace zelvora {

void TSDIMainWindow::OpenTabList(std::string_view path) {
  RestoreTabsFromFile(std::string(path));
}

void TSDIMainWindow::RestoreTabsFromFile(const std::string& path) {
  const auto entries = ReadTabListEntries(path);
  if (!entries)
    return;
  browsePage_->DeleteAllPages();
  // The tabs show their captions at once; only the one left current loads now.
  const TAPIBrowsePage::LazyBatch batch(*browsePage_);
  for (const TabListEntry& entry : *entries) {
    const std::string caption =
        PageCaption(entry.caption, entry.url, settings_.Int(kIntTabTitleMax));
    if (browsePage_->OpenLazyTab(QString::fromStdString(entry.url),
                                 QString::fromStdString(caption)) < 0)
      break;
  }
}

bool TSDIMainWindow::WriteTabList(const std::string& path) {
  const std::vector<TabListEntry> entries = browsePage_->TabEntries();
  const QDateTime now = QDateTime::currentDateTime();
  const FileWriteResult written = zelvora::WriteTabList(
      path,
      TabListDateTime(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                      now.time().minute(), now.time().second()),
      entries);
  if (!written.ok)
    qWarning("Zelvora: the tab list could not be written to %s: %s", path.c_str(),
             written.error.c_str());
  return written.ok;
}

void TSDIMainWindow::OpenUrls(std::string_view urls) {
  for (const QString& url :
       FromView(urls).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
    if (browsePage_->OpenTab(url) < 0)
      break;
  }
}

bool TSDIMainWindow::RunTabListCommand(const CommandRoute& route) {
  TFileHistoryList& tabLists = fileHistories_[kFileTab];
  if (const auto copy = TabCopyOf(route.action)) {
    CopyTabs(*copy);
    return true;
  }
  switch (route.action) {
    case CommandAction::kClipNewTab:
      if (ClipboardHoldsText())
        OpenUrls(QGuiApplication::clipboard()->text().toStdString());
      return true;
    case CommandAction::kToggleOpenDialog:
      ToggleOpenDialog();
      return true;
    case CommandAction::kGoHome:
      browsePage_->OpenTab(session_->HomePage());
      return true;
    case CommandAction::kHistoryCatalog:
      ShowHistoryCatalog();
      return true;
    case CommandAction::kRestoreTabList: {
      const QString name = QFileDialog::getOpenFileName(
          this, QString(), QString::fromStdString(tabLists.CurrentFolder()),
          QStringLiteral("dat (*.dat)"));
      if (name.isEmpty())
        return true;
      RestoreTabsFromFile(name.toStdString());
      tabLists.Add(name.toStdString(), settings_.Int(kIntToolFileHistoryMax));
      tabLists.SetCurrentFile(name.toStdString());
      return true;
    }
    case CommandAction::kWriteTabList: {
      QString name = QFileDialog::getSaveFileName(this, QString(),
                                                  QString::fromStdString(tabLists.CurrentFolder()),
                                                  QStringLiteral("dat (*.dat)"));
      if (name.isEmpty())
        return true;
      if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".dat");
      if (WriteTabList(name.toStdString())) {
        tabLists.Add(name.toStdString(), settings_.Int(kIntToolFileHistoryMax));
        tabLists.SetCurrentFile(name.toStdString());
      }
      return true;
    }
    case CommandAction::kOpenTabFileHistory: {
      const std::string path = tabLists.Entry(static_cast<std::size_t>(route.offset) + 1);
      if (path.empty())
        return true;
      RestoreTabsFromFile(path);
      tabLists.Add(path, settings_.Int(kIntToolFileHistoryMax));
      tabLists.SetCurrentFile(path);
      return true;
    }
    default:
      return false;
  }
}

void TSDIMainWindow::CopyTabs(const TabCopy& copy) {
  std::vector<TabListEntry> tabs;
  const int first = copy.allTabs ? 0 : browsePage_->TargetIndex();
  const int last = copy.allTabs ? browsePage_->Count() - 1 : first;
  for (int index = std::max(first, 0); index <= last; ++index) {
    const TMyContainerClass* page = browsePage_->GetContainer(index);
    // A tab that has not loaded yet has only its caption for a title.
    const QString title =
        page->pendingUrl.isEmpty() ? page->DocumentTitle() : browsePage_->TabBar().Caption(index);
    tabs.push_back({page->TabUrl().toString().toStdString(), title.toStdString()});
  }
  const std::string text = TabCopyText(tabs, copy.kind, copy.allTabs);
  if (!text.empty())
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void TSDIMainWindow::ShowHistoryCatalog() {
  TMyContainerClass* page = browsePage_->GetContainer(browsePage_->CurrentIndex());
  if (page == nullptr)
    return;
  std::vector<CatalogEntry> entries;
  for (const QWebEngineHistoryItem& item : page->Page()->history()->items()) {
    entries.push_back({item.title().toStdString(), item.url().toString().toStdString()});
  }
  ShowTextInNewTab(QStringLiteral("History"), QString::fromStdString(HistoryCatalogHtml(entries)));
}

void TSDIMainWindow::ShowTextInNewTab(const QString& title, const QString& html) {
  TMyContainerClass* page = browsePage_->GetContainer(browsePage_->OpenTab({}));
  if (page == nullptr)
    return;
  page->Page()->setHtml(QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>")
                            .arg(title.toHtmlEscaped(), html),
                        QUrl(QStringLiteral("about:blank")));
}

void TSDIMainWindow::RunSessionCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kSetPermissions:
      if (TMyContainerClass* page = browsePage_->GetContainer(browsePage_->CurrentIndex())) {
        page->permissions = statusButtons_->Permissions();
        session_->ApplyDownloadControl(*page);
        if (settings_.Flag(kFlagWebPermitReload))
          page->Page()->triggerAction(QWebEnginePage::Reload);
      }
      break;
    case CommandAction::kToggleOffline:
      RefreshOffline(true);
      break;
    case CommandAction::kSyncOfflineState:
      RefreshOffline(false);
      break;
    default:
      break;
  }
}

void TSDIMainWindow::RefreshOffline(bool toggle) {
  QAction* check = menus_->Action(kOfflineCommand);
  const bool shown = check != nullptr && check->isChecked();
  if (toggle)
    session_->SetOffline(!shown);
  const bool offline = session_->QueryOffline();
  if (offline != shown || toggle) {
    menus_->SetChecked(kOfflineCommand, offline);
    statusButtons_->SetOffline(
        offline, QString::fromStdString(themeTexts_.Label(offline ? kLabelOffLine : kLabelOnLine)));
    if (offline)
      ExecuteCommand(3006);
  }
  browsePage_->offline = offline;
}

void TSDIMainWindow::ShowTabMenu(const QPoint& pos) {
  TBrowseTabBar& tabs = browsePage_->TabBar();
  QMenu* menu = menus_->Popup(kMenuTabContext);
  if (menu == nullptr)
    return;
  browsePage_->clickedTab = tabs.tabAt(pos);
  menus_->SetEnabled(3030, tabs.BackArrow()->isVisible() || tabs.ForwardArrow()->isVisible());
  menus_->SetEnabled(kTabSleepId, browsePage_->Sleep().CanSleepNow(browsePage_->TargetIndex()));
  menu->exec(tabs.mapToGlobal(pos));
  browsePage_->clickedTab = -1;
}

void TSDIMainWindow::ShowStatusText(const QString& text) {
  if (text.isEmpty())
    statusBar()->clearMessage();
  else if (statusBar()->currentMessage() != text)
    statusBar()->showMessage(text);
}

void TSDIMainWindow::ShowAddress(const QString& url) {
  // What the user is typing stays: a page that goes on loading must not overwrite it. An
  // emptied bar follows the pages again once another page is shown.
  TKeywordBox& address = *keywordBoxes_[kListAddress];
  const TMyContainerClass* current = browsePage_->GetContainer(browsePage_->CurrentIndex());
  const std::int64_t shownPage = current != nullptr ? current->Id() : -1;
  if (shownPage != addressPage_) {
    addressPage_ = shownPage;
    address.Settle();
  }
  if (!address.Model().changed)
    address.SetText(url, false);
}

void TSDIMainWindow::ShowTitle(const QString& title) {
  setWindowTitle(title.isEmpty() ? objectName() : title);
}

void TSDIMainWindow::ShowBackForward(bool back, bool forward) {
  SetCommandEnabled(3069, back);
  SetCommandEnabled(3068, forward);
}

void TSDIMainWindow::ShowSecurity(int lockIcon) {
  statusButtons_->SetSecurity(lockIcon != 0 ? SecurityName(lockIcon) : QString());
}

QString TSDIMainWindow::SecurityName(int lockIcon) const {
  const auto names = themeTexts_.ButtonTips(ButtonGroup::kSecurity);
  return lockIcon >= 0 && static_cast<std::size_t>(lockIcon) < names.size()
             ? QString::fromStdString(names[static_cast<std::size_t>(lockIcon)])
             : QString();
}

void TSDIMainWindow::EnablePageButtons(bool page, bool document) {
  for (const std::uint16_t id : kPageButtonCommands) {
    if (QAction* button = rebar_->ButtonOfCommand(id))
      button->setEnabled(page);
  }
  for (const std::uint16_t id : kDocumentButtonCommands) {
    if (QAction* button = rebar_->ButtonOfCommand(id))
      button->setEnabled(document);
  }
}

void TSDIMainWindow::ShowPermissions(const std::array<bool, kPermissionCount>& on) {
  statusButtons_->SetPermissions(on);
}

std::array<bool, kPermissionCount> TSDIMainWindow::DefaultPermissions() const {
  std::array<bool, kPermissionCount> on{};
  for (int index = 0; index < kPermissionCount; ++index) {
    on[static_cast<std::size_t>(index)] = settings_.Flag(kFlagWebPermitMultiMediaFirst + index);
  }
  return on;
}

void TSDIMainWindow::StripLaidOut(bool visible) {
  if (!visible) {
    // The last page closed: nothing in the window speaks of a page any more.
    statusBar()->clearMessage();
    SetCommandEnabled(3069, false);
    SetCommandEnabled(3068, false);
    SetCommandEnabled(3026, false);
    statusButtons_->SetSecurity({});
    EnablePageButtons(false, false);
    statusButtons_->SetPermissions(DefaultPermissions());
    rebar_->HighlightButton()->setChecked(false);
    setWindowTitle(objectName());
  }
  menus_->SetEnabled(3027, visible);
  menus_->SetEnabled(3028, visible);
  RefreshMenus();
}

void TSDIMainWindow::SetCommandEnabled(int id, bool enabled) {
  menus_->SetEnabled(id, enabled);
  if (QAction* button = rebar_->ButtonOfCommand(id))
    button->setEnabled(enabled);
}

}  // namespace zelvora
