#include "gui/tools/FavoriteCommands.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWebEngineView>
#include <memory>

#include "core/browser/PageRules.h"
#include "core/shell/Paths.h"
#include "core/shell/SafeFile.h"
#include "core/tools/BookmarkFile.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/browser/WebSession.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/EditDialog.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString& BookmarkFilter() {
  static const QString filter = QStringLiteral("HTML (*.html *.htm)");
  return filter;
}

// What a tab that has not loaded yet shows: the item's name, else the end of its address.
QString LazyCaption(std::string_view name, std::string_view url, int tabTitleMax) {
  return Text(PageCaption(name, url, tabTitleMax));
}

}  // namespace

TFavoriteCommands::TFavoriteCommands(TSDIMainWindow& window, TToolTrees& trees)
    : QObject(&window), window_(window), trees_(trees) {
  window_.SetCommandOwner(CommandOwner::kFavorites,
                          [this](const CommandRoute& route, int, int) { RunCommand(route); });
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    TTreeView& view = trees_.View(tree);
    connect(&view, &TTreeView::ItemReleased, this, [this, tree](TreeHandle item) {
      // While the edit dialog is open a click only shows the item there.
      if (TEditDialog* dialog = trees_.EditDialog())
        dialog->ShowItem(tree, item);
      else
        OpenItem(tree, item, window_.Settings().Flag(kFlagToolNewTab));
    });
    window_.KeyHandlers().Add(&view,
                              [this, tree](const QKeyEvent& key) { return KeyPressed(tree, key); });
  }
}

int TFavoriteCommands::Page() const {
  return window_.ToolPanel().Page();
}

TTreeModel& TFavoriteCommands::Current() const {
  return trees_.Model(Page());
}

void TFavoriteCommands::ShowMarks(int tree) {
  TTreeView& view = trees_.View(tree);
  view.SyncSelection();
  if (view.Adapter() != nullptr)
    view.scrollTo(view.Adapter()->IndexOf(trees_.Model(tree).Caret()));
}

void TFavoriteCommands::RunCommand(const CommandRoute& route) {
  const TAPIBrowsePage& strip = window_.BrowsePage();
  const TSettings& settings = window_.Settings();
  switch (route.action) {
    case CommandAction::kFavoriteAdd:
      AddTabs({strip.CurrentIndex()});
      break;
    case CommandAction::kFavoriteAddAll: {
      std::vector<int> tabs;
      for (int tab = 0; tab < strip.Count(); ++tab) {
        tabs.push_back(tab);
      }
      AddTabs(tabs);
      break;
    }
    case CommandAction::kFavoriteAddClicked:
      AddTabs({strip.TargetIndex()});
      break;
    case CommandAction::kOpenSelectedInNewTabs:
      OpenMarked();
      break;
    case CommandAction::kOpenLimitedInNewTabs:
      MarkLimit(Current(), strip.Count(), settings.Int(kIntTabOpenMax));
      ShowMarks(Page());
      OpenMarked();
      break;
    case CommandAction::kOpenSelectedInTab:
      OpenItem(Page(), Current().Caret(), false);
      break;
    case CommandAction::kCopyItemNames:
      Copy(CopyKind::kNames);
      break;
    case CommandAction::kCopyItemValues:
      Copy(CopyKind::kValues);
      break;
    case CommandAction::kCopyItemBoth:
      Copy(CopyKind::kBoth);
      break;
    case CommandAction::kCopyItems:
      CopyItems(false);
      break;
    case CommandAction::kCutItems:
      CopyItems(true);
      break;
    case CommandAction::kPasteItems:
      Paste();
      break;
    case CommandAction::kDeleteItems:
      DeleteItems();
      break;
    case CommandAction::kSelectAllItems:
      MarkAllVisible(Current());
      ShowMarks(Page());
      break;
    case CommandAction::kLimitSelection:
      MarkLimit(Current(), strip.Count(), settings.Int(kIntTabOpenMax));
      ShowMarks(Page());
      break;
    case CommandAction::kAddFolder:
      AddItem(true, {}, {});
      break;
    case CommandAction::kAddUrlItem:
      AddItem(false, settings.strings[kStringValueUrl], settings.strings[kStringNameUrl]);
      break;
    case CommandAction::kAddProxyItem:
      AddItem(false, settings.strings[kStringValueProxy], settings.strings[kStringNameProxy]);
      break;
    case CommandAction::kCloseAllFolders:
    case CommandAction::kOpenAllFolders: {
      const int tree = Page();
      const bool open = route.action == CommandAction::kOpenAllFolders;
      trees_.RunTreeJob(
          [this, tree, open](TJobState& job) { SetAllFoldersOpen(trees_.Model(tree), open, &job); },
          [this, tree] { ShowMarks(tree); });
      break;
    }
    case CommandAction::kImportBookmarks:
      ImportBookmarks();
      break;
    case CommandAction::kExportBookmarks:
      ExportBookmarks();
      break;
    default:
      break;
  }
}

void TFavoriteCommands::AddTabs(const std::vector<int>& tabs) {
  std::vector<PageToAdd> pages;
  for (const int tab : tabs) {
    if (const TMyContainerClass* page = window_.BrowsePage().GetContainer(tab)) {
      // A tab that has not loaded yet has only its caption for a title.
      const QString title = page->pendingUrl.isEmpty() ? page->DocumentTitle()
                                                       : window_.BrowsePage().TabBar().Caption(tab);
      pages.push_back({title.toStdString(), page->TabUrl().toString().toStdString()});
    }
  }
  if (pages.empty() || window_.ToolTaskRunning())
    return;
  const TSettings& settings = window_.Settings();
  AddPages(Current(), pages, settings.Int(kIntToolItemNameMax), TreeDefaultsOf(settings));
  ShowMarks(Page());
}

void TFavoriteCommands::AddItem(bool folder, const std::string& value, const std::string& name) {
  if (window_.ToolTaskRunning())
    return;
  TTreeModel& model = Current();
  AddTreeItem(model, folder, model.Caret(), value, name, TreeDefaultsOf(window_.Settings()));
  ShowMarks(Page());
}

void TFavoriteCommands::OpenItem(int tree, TreeHandle item, bool newTab) {
  const TTreeItemRec* record = trees_.Model(tree).Record(item);
  if (record == nullptr || record->IsFolder || record->Value.empty())
    return;
  if (tree == kToolProxy) {
    const TToolPanel& panel = window_.ToolPanel();
    window_.Session().ApplyProxy(Text(record->Value), panel.UseIEProxy()->isChecked(),
                                 panel.BypassLocal()->isChecked());
    return;
  }
  TAPIBrowsePage& strip = window_.BrowsePage();
  TMyContainerClass* current = strip.GetContainer(strip.CurrentIndex());
  // A tab opened behind the current one loads when it is first selected.
  if (newTab || current == nullptr)
    strip.OpenLazyTab(Text(record->Value), LazyCaption(trees_.Model(tree).Name(item), record->Value,
                                                       window_.Settings().Int(kIntTabTitleMax)));
  else
    current->Navigate(QUrl::fromUserInput(Text(record->Value)));
}

void TFavoriteCommands::ApplyCaretProxy() {
  OpenItem(kToolProxy, trees_.Model(kToolProxy).Caret(), false);
}

void TFavoriteCommands::OpenMarked() {
  if (Page() == kToolProxy) {
    ApplyCaretProxy();
    return;
  }
  QStringList urls;
  for (const std::string& value : ValuesToOpen(Current(), window_.BrowsePage().Count(),
                                               window_.Settings().Int(kIntTabOpenMax))) {
    urls << Text(value);
  }
  OpenInNewTabs(std::move(urls));
}

void TFavoriteCommands::OpenInNewTabs(QStringList urls) {
  // One tab per turn of the event loop: the window answers between two tabs.
  if (urls.isEmpty())
    return;
  const QString url = urls.takeFirst();
  if (window_.BrowsePage().OpenLazyTab(
          url, LazyCaption({}, url.toStdString(), window_.Settings().Int(kIntTabTitleMax))) < 0)
    return;
  QTimer::singleShot(0, this, [this, urls = std::move(urls)] { OpenInNewTabs(urls); });
}

void TFavoriteCommands::Copy(CopyKind kind) {
  const int tree = Page();
  auto text = std::make_shared<std::string>();
  trees_.RunTreeJob(
      [this, tree, kind, text](TJobState& job) {
        *text = CopyNamesAndValues(trees_.Model(tree), kind, &job);
      },
      [text] {
        if (!text->empty())
          QGuiApplication::clipboard()->setText(Text(*text));
      });
}

void TFavoriteCommands::CopyItems(bool cut) {
  const int tree = Page();
  auto text = std::make_shared<std::optional<std::string>>();
  trees_.RunTreeJob(
      [this, tree, cut, text](TJobState& job) {
        *text = SerializeSelection(trees_.Model(tree), &job);
        if (cut && text->has_value() && !job.stop)
          DeleteMarked(trees_.Model(tree), &job);
      },
      [text] {
        if (text->has_value() && !(*text)->empty())
          QGuiApplication::clipboard()->setText(Text(**text));
      });
}

void TFavoriteCommands::Paste() {
  const std::string text = QGuiApplication::clipboard()->text().toStdString();
  if (text.empty())
    return;
  const int tree = Page();
  const TreeDefaults defaults = TreeDefaultsOf(window_.Settings());
  auto result = std::make_shared<InsertResult>();
  trees_.RunTreeJob(
      [this, tree, text, defaults, result](TJobState& job) {
        *result = InsertTreeText(trees_.Model(tree), text, true, defaults, &job);
      },
      [this, tree, result] {
        ShowMarks(tree);
        window_.ShowStatusText(QStringLiteral("Read Time : %1").arg(result->milliseconds));
      });
}

void TFavoriteCommands::DeleteItems() {
  const int tree = Page();
  trees_.RunTreeJob([this, tree](TJobState& job) { DeleteMarked(trees_.Model(tree), &job); },
                    [this, tree] { ShowMarks(tree); });
}

void TFavoriteCommands::MoveMarkedTo(int tree, TreeHandle target) {
  const TreeDefaults defaults = TreeDefaultsOf(window_.Settings());
  trees_.RunTreeJob([this, tree, target, defaults](
                        TJobState& job) { MoveMarked(trees_.Model(tree), target, defaults, &job); },
                    [this, tree] { ShowMarks(tree); });
}

void TFavoriteCommands::ImportBookmarks() {
  const QString path =
      QFileDialog::getOpenFileName(&window_, QString(), QString(), BookmarkFilter());
  if (path.isEmpty())
    return;
  const std::optional<std::string> html = ReadWholeFile(path.toStdString());
  if (!html) {
    window_.ShowStatusText(QStringLiteral("%1 could not be read").arg(path));
    return;
  }
  const int tree = Page();
  const TreeDefaults defaults = TreeDefaultsOf(window_.Settings());
  trees_.RunTreeJob(
      [this, tree, html = *html, defaults](TJobState& job) {
        InsertTreeText(trees_.Model(tree), BookmarksToTreeText(html), true, defaults, &job);
      },
      [this, tree] { ShowMarks(tree); });
}

void TFavoriteCommands::ExportBookmarks() {
  QFileDialog dialog(&window_, QString(), QString(), BookmarkFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("html"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return;
  const std::string path = dialog.selectedFiles().constFirst().toStdString();
  // Several marked items are a choice; a single one is only where the caret stands.
  const TTreeModel& model = Current();
  const bool wholeTree = model.MarkedItems().size() < 2;
  const FileWriteResult written = WriteFileAtomic(path, TreeToBookmarks(model, wholeTree));
  if (!written.ok)
    QMessageBox::warning(&window_, Text(kProgramName),
                         QStringLiteral("%1\n\n%2").arg(Text(path), Text(written.error)));
}

bool TFavoriteCommands::KeyPressed(int tree, const QKeyEvent& key) {
  // Ctrl with these keys runs the tree's copy, cut, paste and select-all.
  static constexpr std::pair<int, int> kCtrlKeys[] = {
      {Qt::Key_C, 3095}, {Qt::Key_X, 3096}, {Qt::Key_V, 3097}, {Qt::Key_A, 3099}};
  // The name editor takes its own keys: only the tree's come here.
  if (tree != Page())
    return false;
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    OpenItem(tree, trees_.Model(tree).Caret(), window_.Settings().Flag(kFlagToolNewTab));
    return true;
  }
  if (key.key() == Qt::Key_Delete) {
    window_.ExecuteCommand(3098);
    return true;
  }
  if (!key.modifiers().testFlag(Qt::ControlModifier))
    return false;
  for (const auto& [ctrlKey, command] : kCtrlKeys) {
    if (key.key() == ctrlKey) {
      window_.ExecuteCommand(command);
      return true;
    }
  }
  return false;
}

}  // namespace zelvora
