#include "gui/browser/DocumentRequests.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEngineScript>
#include <memory>
#include <utility>
#include <vector>

#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"

namespace zelvora {

namespace {

constexpr int kReadyWaitMilliseconds = 100;

QString BridgeCall(const char* method, const QJsonArray& arguments) {
  // The arguments travel as JSON, so no text of theirs is ever read as code.
  return QStringLiteral(
             "(function (bridge, call) { if (!bridge) return false; bridge.%1.apply(null, call); "
             "return true; })(window.__zelvoraBridge, %2)")
      .arg(QLatin1String(method),
           QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)));
}

}  // namespace

TDocumentRequests::~TDocumentRequests() = default;

std::uint32_t TDocumentRequests::Send(TMyContainerClass& page, const FrameRef& frame,
                                      const QString& kind, const QJsonObject& args, Answer answer,
                                      Progress progress, bool complete) {
  const std::uint32_t id = nextId_;
  nextId_ = nextId_ == UINT32_MAX ? 1 : nextId_ + 1;
  Request& request = pending_[id];
  request.page = page.Id();
  request.framePath = frame.path;
  request.engine = page.Page();
  request.answer = std::move(answer);
  request.progress = std::move(progress);
  request.quiet = new QTimer(this);
  request.quiet->setSingleShot(true);
  request.quiet->setInterval(kQuietMilliseconds);
  connect(request.quiet, &QTimer::timeout, this, [this, id] { Finish(id, std::nullopt); });
  request.quiet->start();

  QJsonObject withFlags = args;
  if (complete)
    withFlags.insert(QStringLiteral("complete"), true);
  const QJsonArray arguments{QString::fromStdString(frame.path), static_cast<double>(id), kind,
                             withFlags};
  page.Page()->runJavaScript(BridgeCall("request", arguments), QWebEngineScript::ApplicationWorld,
                             [self = QPointer<TDocumentRequests>(this), id](const QVariant& sent) {
                               // A document without the bridge (an error page, a plug-in's
                               // view) has nothing to read.
                               if (self && !sent.toBool())
                                 self->Finish(id, std::nullopt);
                             });
  return id;
}

void TDocumentRequests::Cancel(std::uint32_t id) {
  const auto found = pending_.find(id);
  if (found == pending_.end())
    return;
  AskToStop(found->second, id);
  found->second.quiet->deleteLater();
  pending_.erase(found);
}

void TDocumentRequests::Stop(std::uint32_t id) {
  const auto found = pending_.find(id);
  if (found != pending_.end())
    AskToStop(found->second, id);
}

void TDocumentRequests::AskToStop(const Request& request, std::uint32_t id) {
  if (request.engine) {
    request.engine->runJavaScript(
        BridgeCall("cancel", {QString::fromStdString(request.framePath), static_cast<double>(id)}),
        QWebEngineScript::ApplicationWorld);
  }
}

void TDocumentRequests::Take(std::uint32_t page, const BridgeAnswer& answer) {
  const auto found = pending_.find(answer.id);
  if (found == pending_.end() || found->second.page != page)
    return;
  Request& request = found->second;
  if (answer.progress) {
    request.quiet->start();
    if (request.progress)
      request.progress(answer.done, answer.total);
    return;
  }
  if (answer.framePath != request.framePath)
    return;
  if (answer.payload == "null")
    Finish(answer.id, std::nullopt);
  else
    Finish(answer.id, QByteArray::fromStdString(answer.payload));
}

void TDocumentRequests::PageGone(std::uint32_t page) {
  std::vector<std::uint32_t> ids;
  for (const auto& [id, request] : pending_) {
    if (request.page == page)
      ids.push_back(id);
  }
  for (const std::uint32_t id : ids) {
    Finish(id, std::nullopt);
  }
}

void TDocumentRequests::Finish(std::uint32_t id, std::optional<QByteArray> payload) {
  const auto found = pending_.find(id);
  if (found == pending_.end())
    return;
  const Answer answer = std::move(found->second.answer);
  found->second.quiet->deleteLater();
  pending_.erase(found);
  if (answer)
    answer(std::move(payload));
}

void TDocumentRequests::WaitReady(TMyContainerClass& page,
                                  const std::function<void(TMyContainerClass*)>& then) {
  if (!page.busy) {
    then(&page);
    return;
  }
  // One of the two ends the wait; the other finds it over.
  auto over = std::make_shared<bool>(false);
  auto end = [over, then, target = QPointer<TMyContainerClass>(&page)](bool timedOut) {
    if (std::exchange(*over, true))
      return;
    TMyContainerClass* open = target && target->alive ? target.data() : nullptr;
    if (timedOut && open != nullptr)
      open->Page()->triggerAction(QWebEnginePage::Stop);
    then(open);
  };
  auto* waiter = new QObject(this);
  connect(page.Page(), &QWebEnginePage::loadFinished, waiter, [end, waiter] {
    end(false);
    waiter->deleteLater();
  });
  QTimer::singleShot(kReadyWaitMilliseconds, waiter, [end, waiter] {
    end(true);
    waiter->deleteLater();
  });
}

}  // namespace zelvora
