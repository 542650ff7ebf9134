// The main window's side of the keyword lists: the address bar, the search bar and the tool
// panel's keyword boxes with their lists and context menu, the search list, and the open dialog.

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QUrl>

#include "core/shell/UtilFunc.h"
#include "core/tools/KeywordList.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/OpenDialog.h"
#include "gui/input/DragDropClass.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/EntryListMenu.h"
#include "gui/tools/KeywordBox.h"

namespace zelvora {

namespace {

constexpr std::string_view kOpenDialogSection = "WebDialog";
// The keyword box menu's items, in the order of the actions.
constexpr int kKeywordMenuFirstId = 3234;
constexpr int kOpenDialogOffset = 50;

}  // namespace

void TSDIMainWindow::CreateKeywordBoxes() {
  const std::array<QComboBox*, 4> boxes = {rebar_->AddressBox(), toolPanel_->HistoryKeyBox(),
                                           toolPanel_->AnalysisKeyBox(), rebar_->SearchKeyBox()};
  for (std::size_t list = 0; list < boxes.size(); ++list) {
    keywordBoxes_[list] =
        new TKeywordBox(*boxes[list], static_cast<int>(list), paths_.perUserFolder);
    QLineEdit* edit = boxes[list]->lineEdit();
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QLineEdit::customContextMenuRequested, this,
            [this, list, edit](const QPoint& pos) {
              ShowKeywordMenu(static_cast<int>(list), edit->mapToGlobal(pos));
            });
  }
  connect(rebar_->AddressBox(), &QComboBox::activated, this, [this] {
    if (settings_.Flag(kFlagAddresBarImmediately))
      PostCommand(3117);
  });
  connect(rebar_->SearchKeyBox(), &QComboBox::activated, this, [this] {
    if (settings_.Flag(kFlagSearchBarImmediately))
      PostCommand(3118);
  });
  connect(rebar_->SearchListBox(), &QComboBox::activated, this, [this](int index) {
    if (!searchListFile_.empty())
      WriteSearchSelect(searchListFile_, rebar_->SearchListBox()->itemText(index).toStdString());
  });
  connect(rebar_->SearchListButton(), &QToolButton::clicked, this,
          &TSDIMainWindow::ShowSearchListMenu);
  SetCommandOwner(CommandOwner::kKeywords, [this](const CommandRoute& route, int id, int) {
    switch (route.action) {
      case CommandAction::kGoToAddress:
        GoToAddress();
        break;
      case CommandAction::kSearchKeyword:
        SearchKeyword();
        break;
      default:
        RunKeywordCommand(id);
        break;
    }
  });
}

void TSDIMainWindow::LoadKeywordLists() {
  for (TKeywordBox* box : keywordBoxes_) {
    box->Load(false);
  }
  keywordBoxes_[kListHistoryKey]->Select(windowState_.selectHistoryKeyWord);
  keywordBoxes_[kListAnalysisKey]->Select(windowState_.selectAnalysisKeyWord);
  LoadSearchList(fileHistories_[kFileSearchList].CurrentFile());
}

void TSDIMainWindow::SaveKeywordLists() {
  for (TKeywordBox* box : keywordBoxes_) {
    const FileWriteResult saved = box->Save();
    if (!saved.ok)
      qWarning("Zelvora: %s could not be written: %s", box->FilePath().c_str(),
               saved.error.c_str());
  }
  windowState_.selectHistoryKeyWord = keywordBoxes_[kListHistoryKey]->Box().currentIndex();
  windowState_.selectAnalysisKeyWord = keywordBoxes_[kListAnalysisKey]->Box().currentIndex();
}

void TSDIMainWindow::RunKeywordCommand(int id) {
  if (const auto reload = ReloadCommandList(id)) {
    if (*reload < static_cast<int>(keywordBoxes_.size()))
      keywordBoxes_[static_cast<std::size_t>(*reload)]->Load(false);
    return;
  }
  const auto command = DecodeKeywordCommand(id);
  // The search dialog's box belongs to the search dialog.
  if (!command || command->list >= static_cast<int>(keywordBoxes_.size()))
    return;
  TKeywordBox& box = *keywordBoxes_[static_cast<std::size_t>(command->list)];
  switch (command->action) {
    case KeywordAction::kDelete:
      box.DeleteSelected();
      break;
    case KeywordAction::kEdit:
      box.Save();
      QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(box.FilePath())));
      break;
    case KeywordAction::kRestore:
      box.Load(false);
      box.Select(0);
      break;
    case KeywordAction::kNew:
      if (command->list == kListHistoryKey || command->list == kListAnalysisKey)
        box.Load(true);
      else
        box.Clear();
      break;
  }
}

void TSDIMainWindow::ShowKeywordMenu(int list, const QPoint& globalPos) {
  QMenu* menu = menus_->Popup(kMenuKeywordBox);
  if (menu == nullptr)
    return;
  // The menu's items stand for every box; the command carries the box it was shown for.
  const QAction* chosen = menu->exec(globalPos);
  if (chosen == nullptr)
    return;
  const int action = chosen->data().toInt() - kKeywordMenuFirstId;
  if (action >= 0 && action <= static_cast<int>(KeywordAction::kNew))
    ExecuteCommand(KeywordCommandId(list, static_cast<KeywordAction>(action)));
}

void TSDIMainWindow::OpenAddress(const QString& url, bool newTab) {
  TMyContainerClass* current = browsePage_->GetContainer(browsePage_->CurrentIndex());
  if (newTab || current == nullptr)
    browsePage_->OpenTab(url);
  else
    current->Navigate(QUrl::fromUserInput(url));
  // The typing is done: the keys belong to the page now.
  if (TMyContainerClass* shown = browsePage_->GetContainer(browsePage_->CurrentIndex()))
    shown->View()->setFocus();
}

void TSDIMainWindow::GoToAddress() {
  TKeywordBox& address = *keywordBoxes_[kListAddress];
  address.Add(settings_.Int(kIntAddresBarListMax));
  const QString text = address.Text().trimmed();
  if (!text.isEmpty())
    OpenAddress(text, settings_.Flag(kFlagAddresBarNewTabOpen));
}

void TSDIMainWindow::SearchKeyword() {
  TKeywordBox& search = *keywordBoxes_[kListSearchBar];
  const QString text = search.Text();
  if (text.isEmpty())
    return;
  const SearchEntry entry =
      ReadSearchEntry(searchListFile_, rebar_->SearchListBox()->currentText().toStdString());
  const QString url = QString::fromStdString(SearchUrl(entry, text.toStdString()));
  search.Add(settings_.Int(kIntSearchBarKeyWordListMax));
  OpenAddress(url, settings_.Flag(kFlagSearchBarNewTabOpen));
}

void TSDIMainWindow::LoadSearchList(const std::string& path) {
  searchListFile_ = path;
  QComboBox* box = rebar_->SearchListBox();
  box->clear();
  if (path.empty())
    return;
  const SearchList list = ReadSearchList(path);
  for (const std::string& entry : list.entries) {
    box->addItem(QString::fromStdString(entry));
  }
  box->setCurrentIndex(list.selected);
}

void TSDIMainWindow::ShowSearchListMenu() {
  QToolButton* button = rebar_->SearchListButton();
  ShowEntryListMenu(*this, kFileSearchList, button->mapToGlobal(QPoint(0, button->height())),
                    [this](const std::string& path) { LoadSearchList(path); });
}

void TSDIMainWindow::ToggleOpenDialog() {
  QAction* button = rebar_->ButtonOfCommand(3004);
  if (openDialog_) {
    openDialog_->close();
    return;
  }
  auto* dialog = new TOpenDialog(themeTexts_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  const std::string& file = paths_.settingsFile;
  dialog->resize(std::max(TOpenDialog::kMinimumWidth, ReadProfileInt(file, kOpenDialogSection, "w",
                                                                     TOpenDialog::kMinimumWidth)),
                 dialog->height());
  dialog->move(ReadProfileInt(file, kOpenDialogSection, "x", x() + kOpenDialogOffset),
               ReadProfileInt(file, kOpenDialogSection, "y", y() + kOpenDialogOffset));
  for (int item = 0; item < rebar_->AddressBox()->count(); ++item) {
    dialog->Address().addItem(rebar_->AddressBox()->itemText(item));
  }
  dialog->Address().setEditText(
      QString::fromStdString(ReadProfileString(file, kOpenDialogSection, "DialogFileName", "")));
  dialog->NewTab().setChecked(ReadProfileInt(file, kOpenDialogSection, "DialogNewTab", 0) == 1);
  connect(dialog, &TOpenDialog::Applied, this, [this, file](const QString& text, bool newTab) {
    if (text.trimmed().isEmpty())
      return;
    TKeywordBox& address = *keywordBoxes_[kListAddress];
    address.SetText(text, true);
    address.Add(settings_.Int(kIntAddresBarListMax));
    OpenAddress(text.trimmed(), newTab);
    ProfileUpdate update(file);
    WriteProfileString(file, kOpenDialogSection, "DialogFileName", text.toStdString());
    WriteProfileInt(file, kOpenDialogSection, "DialogNewTab", newTab ? 1 : 0);
    update.Commit();
  });
  connect(dialog, &QDialog::finished, this, [this, dialog, file, button] {
    ProfileUpdate update(file);
    WriteProfileInt(file, kOpenDialogSection, "x", dialog->x());
    WriteProfileInt(file, kOpenDialogSection, "y", dialog->y());
    WriteProfileInt(file, kOpenDialogSection, "w", dialog->width());
    update.Commit();
    SetDialogOpen(TrackedDialog::kOpen, nullptr);
    if (button != nullptr)
      button->setChecked(false);
  });
  openDialog_ = dialog;
  RegisterDialog(dialog, kLayeredOpen);
  if (QLineEdit* field = dialog->Address().lineEdit())
    dragAccept_->AddDialogField(*dialog, *field);
  SetDialogOpen(TrackedDialog::kOpen, dialog);
  if (button != nullptr)
    button->setChecked(true);
  dialog->show();
}

}  // namespace zelvora
