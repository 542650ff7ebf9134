#include "gui/tools/AnalysisCommands.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "core/shell/MainWindowRules.h"
#include "core/tools/PageAnalysis.h"
#include "gui/browser/DocumentRequests.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/RegexCheck.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The Analysis page's option boxes, in the order of the tool options.
enum AnalysisOption : int {
  kOptionUrl = 5,
  kOptionTitle,
  kOptionRegExp,
  kOptionDir,
  kOptionLock,
};

// How often the waiting job looks at its stop flag.
constexpr std::chrono::milliseconds kStopPoll{10};

// The reading of the document: the request goes out and its answer comes in on the user-interface
// thread, while the job waits on the worker.
struct DocumentReading {
  std::mutex mutex;
  std::condition_variable arrived;
  bool over = false;
  bool read = false;
  std::optional<QByteArray> payload;
  int done = 0;
  int total = 0;
  // The request while it is out, and whether the job has ended without waiting for it (both on
  // the user-interface thread only).
  std::uint32_t request = 0;
  bool abandoned = false;

  void Answer(std::optional<QByteArray> answer) {
    {
      const std::lock_guard lock(mutex);
      read = answer.has_value();
      payload = std::move(answer);
      over = true;
    }
    arrived.notify_all();
  }
  void Progress(int doneCount, int totalCount) {
    const std::lock_guard lock(mutex);
    done = doneCount;
    total = totalCount;
  }
  // False when the job was stopped first; the job's progress follows the reading.
  bool Wait(TJobState& job) {
    std::unique_lock lock(mutex);
    while (!over) {
      if (job.stop)
        return false;
      arrived.wait_for(lock, kStopPoll);
      job.range = total;
      job.position = done;
    }
    return true;
  }
};

std::string Utf8(const QJsonValue& value) {
  return value.toString().toStdString();
}

// The bridge's reading: the title, the address, the links as [href, text, html] and the images
// as [src, alt]. Nothing when the payload is not such an object.
std::optional<PageDocumentRecord> DocumentRecordOf(const QByteArray& payload) {
  const QJsonDocument json = QJsonDocument::fromJson(payload);
  if (!json.isObject())
    return std::nullopt;
  const QJsonObject object = json.object();
  PageDocumentRecord record;
  record.title = Utf8(object.value(QLatin1String("title")));
  record.url = Utf8(object.value(QLatin1String("url")));
  const QJsonArray links = object.value(QLatin1String("links")).toArray();
  record.links.reserve(static_cast<std::size_t>(links.size()));
  for (const QJsonValue& link : links) {
    const QJsonArray fields = link.toArray();
    record.links.push_back({Utf8(fields.at(0)), Utf8(fields.at(1)), Utf8(fields.at(2))});
  }
  const QJsonArray images = object.value(QLatin1String("images")).toArray();
  record.images.reserve(static_cast<std::size_t>(images.size()));
  for (const QJsonValue& image : images) {
    const QJsonArray fields = image.toArray();
    record.images.push_back({Utf8(fields.at(0)), Utf8(fields.at(1))});
  }
  return record;
}

// Asks the frame for its links and (with `images`) images once its page has loaded; the answer,
// or nothing, goes to `reading`. On the user-interface thread.
void RequestReading(TAPIBrowsePage& strip, const std::shared_ptr<DocumentReading>& reading,
                    const FrameRef& frame, bool images) {
  TMyContainerClass* page = strip.GetContainer(strip.IndexOfPageId(frame.page));
  if (page == nullptr) {
    reading->Answer(std::nullopt);
    return;
  }
  // The wait ends with the requests object at the latest, which the strip owns.
  TDocumentRequests& requests = strip.Requests();
  requests.WaitReady(*page, [&requests, reading, frame, images](TMyContainerClass* ready) {
    if (ready == nullptr || reading->abandoned) {
      reading->Answer(std::nullopt);
      return;
    }
    reading->request = requests.Send(
        *ready, frame, QStringLiteral("links"), {{QStringLiteral("images"), images}},
        [reading](std::optional<QByteArray> payload) {
          reading->request = 0;
          reading->Answer(std::move(payload));
        },
        [reading](int done, int total) { reading->Progress(done, total); }, true);
  });
}

}  // namespace

TAnalysisCommands::TAnalysisCommands(TSDIMainWindow& window, TToolTrees& trees)
    : QObject(&window), window_(window), trees_(trees) {
  window_.SetCommandOwner(CommandOwner::kPageAnalysis,
                          [this](const CommandRoute& route, int, int) { RunCommand(route); });
  window_.BrowsePage().onBeforeClose = [this](TMyContainerClass& page) { return KeepOpen(page); };
}

void TAnalysisCommands::RunCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kRunPageAnalysis:
      Start();
      break;
    case CommandAction::kAnalyseRange:
      if (window_.ToolTaskRunning())
        break;
      window_.ExecuteCommand(kToolPageCommandFirst + kToolAnalysis);
      Start();
      break;
    default:
      break;
  }
}

bool TAnalysisCommands::KeepOpen(const TMyContainerClass& page) {
  if (analysedPage_ == 0 || page.Id() != analysedPage_)
    return false;
  window_.JobRunner().AskToStop();
  return true;
}

HistoryQuery TAnalysisCommands::Query() const {
  const TToolPanel& panel = window_.ToolPanel();
  HistoryQuery query;
  query.keyword = window_.KeywordBox(kListAnalysisKey).Text().toStdString();
  query.url = panel.Option(kOptionUrl)->isChecked();
  query.title = panel.Option(kOptionTitle)->isChecked();
  query.regExp = panel.Option(kOptionRegExp)->isChecked();
  query.caseInsensitive = window_.Settings().Flag(kFlagAnalysisCaseInsensitive);
  return query;
}

void TAnalysisCommands::Start() {
  const TToolPanel& panel = window_.ToolPanel();
  const TSettings& settings = window_.Settings();
  AnalysisOptions options;
  options.query = Query();
  if (panel.Option(kOptionLock)->isChecked()) {
    Lock(options.query);
    return;
  }
  options.dir = panel.Option(kOptionDir)->isChecked();
  options.closeFolders = settings.Flag(kFlagAnalysisAfterCloseItem);
  options.nameMax = settings.Int(kIntToolItemNameMax);
  if (!options.query.keyword.empty())
    window_.KeywordBox(kListAnalysisKey).Add(settings.Int(kIntAnalysisKeyWordListMax));
  TAPIBrowsePage& strip = window_.BrowsePage();
  const std::optional<FrameRef> document = strip.CurrentDocument(false);
  if (!document)
    return;
  const FrameRef frame = *document;
  const std::uint32_t pageId = frame.page;
  const bool images = settings.Flag(kFlagAnalysisImageTag);
  const int tabTitleMax = settings.Int(kIntTabTitleMax);

  auto reading = std::make_shared<DocumentReading>();
  auto result = std::make_shared<AnalysisResult>(AnalysisResult::kNothing);
  TTreeModel& tree = trees_.Model(kToolAnalysis);
  TTreeJobRunner& runner = window_.JobRunner();
  const QPointer<TAPIBrowsePage> stripAlive(&strip);
  const bool started = trees_.RunTreeJob(
      [&runner, &tree, stripAlive, reading, result, frame, options, images,
       tabTitleMax](TJobState& job) {
        runner.Synchronize([stripAlive, reading, frame, images] {
          if (stripAlive)
            RequestReading(*stripAlive, reading, frame, images);
          else
            reading->Answer(std::nullopt);
        });
        if (!reading->Wait(job) || !reading->payload)
          return;
        std::optional<PageDocumentRecord> record = DocumentRecordOf(*reading->payload);
        reading->payload.reset();
        if (!record || JobStopped(&job))
          return;
        AnalysisTexts texts = MakeAnalysisTexts(*record, tabTitleMax, images, &job);
        record.reset();
        *result = BuildAnalysisTree(tree, std::move(texts), options, &job);
      },
      [this, &runner, stripAlive, reading, result, options] {
        analysedPage_ = 0;
        reading->abandoned = true;
        if (!runner.StopRequested() && reading->over && !reading->read)
          window_.ShowStatusText(QStringLiteral("Analysis: the page's document could not be read"));
        // Stopped while the document was being read: the frame may stop too.
        if (reading->request != 0 && stripAlive)
          stripAlive->Requests().Cancel(std::exchange(reading->request, 0));
        if (*result == AnalysisResult::kBadPattern)
          CheckPatternOrExplain(&window_, window_.ThemeTexts(),
                                QString::fromStdString(options.query.keyword),
                                QueryPattern(options.query, false), window_.statusBar());
        trees_.View(kToolAnalysis).SyncSelection();
      });
  if (started)
    analysedPage_ = pageId;
}

void TAnalysisCommands::Lock(const HistoryQuery& query) {
  if (query.regExp &&
      !CheckPatternOrExplain(&window_, window_.ThemeTexts(), QString::fromStdString(query.keyword),
                             QueryPattern(query, false), window_.statusBar()))
    return;
  if (!query.keyword.empty())
    window_.KeywordBox(kListAnalysisKey).Add(window_.Settings().Int(kIntAnalysisKeyWordListMax));
  trees_.RunLockPass(kToolAnalysis, query);
}

}  // namespace zelvora
