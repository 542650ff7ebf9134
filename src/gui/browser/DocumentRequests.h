#pragma once

// The program's requests to the documents of its pages (read the links, the selection, find a
// text, …). Each goes to one frame of a page through the bridge of the page's top document and
// comes back on the frame's own console line with the run's secret and the request's id, so a
// cross-origin frame answers like any other. A frame that stays silent too long (neither an
// answer nor word of its progress) has no document for the request.

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

#include "core/browser/BridgeMessage.h"
#include "core/browser/WebEvents.h"

class QTimer;

namespace zelvora {

class TEnginePage;
class TMyContainerClass;

class TDocumentRequests : public QObject {
  Q_OBJECT

 public:
  // The answer's payload (JSON); nothing when the frame has no document for the request, did
  // not answer in time, or its page went away.
  using Answer = std::function<void(std::optional<QByteArray> payload)>;
  using Progress = std::function<void(int done, int total)>;

  // How long a frame may stay silent before its request counts as unanswered.
  static constexpr int kQuietMilliseconds = 5000;

  using QObject::QObject;
  ~TDocumentRequests() override;

  // Sends `kind` with `args` to `frame` of `page`. `answer` runs exactly once, never inside this
  // call; `progress` for each word of progress before it. With `complete` the frame waits for
  // its document to be complete before it reads it. Returns the request's id.
  std::uint32_t Send(TMyContainerClass& page, const FrameRef& frame, const QString& kind,
                     const QJsonObject& args, Answer answer, Progress progress = {},
                     bool complete = false);
  // Drops a request: its answer function is not called, and the frame is asked to stop.
  void Cancel(std::uint32_t id);
  // Asks the frame to stop, keeping the request: the frame answers with what it did so far.
  void Stop(std::uint32_t id);
  bool Pending(std::uint32_t id) const { return pending_.count(id) != 0; }

  // A line of a page's bridge; answers to no request of that page's frame are ignored.
  void Take(std::uint32_t page, const BridgeAnswer& answer);
  // The page closes: its requests are answered with nothing.
  void PageGone(std::uint32_t page);

  // Runs `then` with the page once it has finished loading, waiting at most 100 ms; a page still
  // loading after that is stopped first. A page closed meanwhile gives `then` null.
  void WaitReady(TMyContainerClass& page, const std::function<void(TMyContainerClass*)>& then);

 private:
  struct Request {
    std::uint32_t page = 0;
    std::string framePath;
    QPointer<TEnginePage> engine;
    Answer answer;
    Progress progress;
    QTimer* quiet = nullptr;
  };
  void AskToStop(const Request& request, std::uint32_t id);
  // Removes the request and calls its answer function.
  void Finish(std::uint32_t id, std::optional<QByteArray> payload);

  std::unordered_map<std::uint32_t, Request> pending_;
  std::uint32_t nextId_ = 1;
};

}  // namespace zelvora
