#include "gui/tools/HistoryCommands.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QWebEngineProfile>

#include "core/browser/UrlUtil.h"
#include "core/shell/Paths.h"
#include "core/tools/HistoryDateSettings.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/HistoryDateDialog.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/RegexCheck.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The History page's option boxes, in the order of the tool options.
enum HistoryOption : int { kOptionUrl = 0, kOptionTitle, kOptionRegExp, kOptionDate, kOptionLock };

LocalTime Today() {
  return ToLocalTime(QDateTime::currentMSecsSinceEpoch());
}

// The locale's abbreviated weekday names, Sunday first.
std::array<std::string, 7> WeekdayNames() {
  std::array<std::string, 7> names;
  const QLocale locale = QLocale::system();
  for (int day = 0; day < 7; ++day) {
    names[static_cast<std::size_t>(day)] =
        locale.dayName(day == 0 ? 7 : day, QLocale::ShortFormat).toStdString();
  }
  return names;
}

}  // namespace

THistoryCommands::THistoryCommands(TSDIMainWindow& window, TToolTrees& trees)
    : QObject(&window), window_(window), trees_(trees) {
  window_.SetCommandOwner(CommandOwner::kHistorySearch,
                          [this](const CommandRoute& route, int, int) { RunCommand(route); });
  window_.SetCommandOwner(CommandOwner::kCleanUp,
                          [this](const CommandRoute& route, int, int) { RunCleanUp(route); });
  OpenStore();
}

THistoryCommands::~THistoryCommands() = default;

THistoryDateDialog* THistoryCommands::DateDialog() const {
  return dateDialog_.data();
}

void THistoryCommands::OpenStore() {
  const std::string path = window_.Paths().perUserFolder + "/" + std::string(kHistoryDatabaseName);
  TUrlHistoryStore::OpenReport report;
  store_ = TUrlHistoryStore::Open(path, report);
  if (!report.movedAside.empty())
    window_.ShowNote(QStringLiteral("The history could not be read and starts anew; the old "
                                    "file was kept as %1")
                         .arg(QString::fromStdString(report.movedAside)));
  else if (!store_)
    window_.ShowNote(
        QStringLiteral("The history is not kept: %1").arg(QString::fromStdString(report.error)));
}

void THistoryCommands::PageCreated(TMyContainerClass& page) {
  TEnginePage* engine = page.Page();
  connect(engine, &QWebEnginePage::loadFinished, this, [this, engine](bool ok) {
    const std::string url = engine->url().toString().toStdString();
    if (store_ && IsHistoryUrl(url))
      store_->RecordVisit(url, engine->title().toStdString(), QDateTime::currentMSecsSinceEpoch(),
                          ok);
  });
  connect(engine, &QWebEnginePage::titleChanged, this, [this, engine](const QString& title) {
    const std::string url = engine->url().toString().toStdString();
    if (store_ && IsHistoryUrl(url) && !title.isEmpty())
      store_->RecordTitle(url, title.toStdString());
  });
}

void THistoryCommands::RunCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kHistoryDateDialog:
      ShowDateDialog();
      break;
    case CommandAction::kRunHistorySearch:
      Search();
      break;
    case CommandAction::kSelectByVisits:
      SelectVisits(static_cast<VisitedSelection>(route.offset));
      break;
    case CommandAction::kDeleteHistoryToo:
      DeleteHistoryToo();
      break;
    default:
      break;
  }
}

void THistoryCommands::RunCleanUp(const CommandRoute& route) {
  QWebEngineProfile* profile = window_.BrowsePage().Profile();
  switch (route.action) {
    case CommandAction::kEmptyClipboard:
      QGuiApplication::clipboard()->clear();
      break;
    case CommandAction::kDeleteHistory:
      if (store_)
        store_->Clear();
      profile->clearAllVisitedLinks();
      break;
    case CommandAction::kDeleteCache:
      profile->clearHttpCache();
      break;
    default:
      break;
  }
}

VisitRangeTexts THistoryCommands::RangeTexts() const {
  if (dateDialog_ && dateDialog_->Changed())
    return dateDialog_->Texts();
  return LoadVisitRangeTexts(window_.Paths().settingsFile);
}

std::optional<VisitRange> THistoryCommands::Range() const {
  return ParseVisitRange(RangeTexts(), Today());
}

void THistoryCommands::ShowDateDialog() {
  if (!dateDialog_)
    dateDialog_ = new THistoryDateDialog(window_);
  dateDialog_->show();
  dateDialog_->raise();
  dateDialog_->activateWindow();
}

void THistoryCommands::Search() {
  if (!store_)
    return;
  const TToolPanel& panel = window_.ToolPanel();
  const TSettings& settings = window_.Settings();
  TKeywordBox& keywords = window_.KeywordBox(kListHistoryKey);
  HistoryQuery query;
  query.keyword = keywords.Text().toStdString();
  query.url = panel.Option(kOptionUrl)->isChecked();
  query.title = panel.Option(kOptionTitle)->isChecked();
  query.regExp = panel.Option(kOptionRegExp)->isChecked();
  query.caseInsensitive = settings.Flag(kFlagHistoryCaseInsensitive);
  if (query.regExp &&
      !CheckPatternOrExplain(&window_, window_.ThemeTexts(), QString::fromStdString(query.keyword),
                             QueryPattern(query, false), window_.statusBar()))
    return;
  if (!query.keyword.empty())
    keywords.Add(settings.Int(kIntHistoryKeyWordListMax));
  if (panel.Option(kOptionLock)->isChecked()) {
    trees_.RunLockPass(kToolHistory, query);
    return;
  }
  TTreeModel& tree = trees_.Model(kToolHistory);
  HistoryFiling filing;
  if (panel.Option(kOptionDate)->isChecked())
    filing.range = Range();
  filing.nameMax = settings.Int(kIntToolItemNameMax);
  filing.weekdays = WeekdayNames();
  filing.closeFolders = settings.Flag(kFlagHistoryAfterCloseItem);
  TUrlHistoryStore& store = *store_;
  trees_.RunTreeJob([&store, &tree, query, filing](TJobState& job) {
    SearchHistory(store, tree, query, filing, &job);
  });
}

void THistoryCommands::SelectVisits(VisitedSelection kind) {
  if (!store_)
    return;
  const int page = window_.ToolPanel().Page();
  TTreeModel& tree = trees_.Model(page);
  const bool ranged =
      kind == VisitedSelection::kNotVisitedRange || kind == VisitedSelection::kVisitedRange;
  const std::optional<VisitRange> range =
      ranged ? SelectionVisitRange(RangeTexts(), Today()) : std::nullopt;
  TUrlHistoryStore& store = *store_;
  trees_.RunTreeJob([&store, &tree, kind,
                     range](TJobState& job) { SelectByVisits(tree, store, kind, range, &job); },
                    [this, page] { trees_.View(page).SyncSelection(); });
}

void THistoryCommands::DeleteHistoryToo() {
  if (!store_)
    return;
  const int page = window_.ToolPanel().Page();
  TTreeModel& tree = trees_.Model(page);
  TUrlHistoryStore& store = *store_;
  trees_.RunTreeJob(
      [&store, &tree](TJobState& job) { zelvora::DeleteHistoryToo(tree, store, &job); },
      [this, page] { trees_.View(page).SyncSelection(); });
}

}  // namespace zelvora
