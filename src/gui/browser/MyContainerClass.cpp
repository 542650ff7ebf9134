#include "gui/browser/MyContainerClass.h"

#include <QDialog>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "gui/browser/EnginePage.h"
#include "gui/browser/PageRequestGuard.h"

namespace zelvora {

namespace {

constexpr int kSecureLockNone = 0;
constexpr int kSecureLockMixed = 1;
constexpr int kSecureLock128Bit = 6;

}  // namespace

TMyContainerClass::TMyContainerClass(std::uint32_t id, QWebEngineProfile* profile,
                                     const std::string& secret, QObject* parent)
    : QObject(parent), id_(id), secret_(secret) {
  view_ = new QWebEngineView;
  page_ = new TEnginePage(profile, view_);
  guard_ = new TPageRequestGuard(page_);
  page_->setUrlRequestInterceptor(guard_);
  view_->setPage(page_);
  ConnectEngine();
}

TMyContainerClass::~TMyContainerClass() {
  alive = false;
  delete view_;
}

void TMyContainerClass::ConnectEngine() {
  page_->beforeNavigate = [this](const QUrl& url, QWebEnginePage::NavigationType type,
                                 bool isMainFrame) {
    NavigationRequest request{url,
                              isMainFrame,
                              type == QWebEnginePage::NavigationTypeLinkClicked,
                              type == QWebEnginePage::NavigationTypeRedirect,
                              false,
                              {}};
    if (callbacks_.OnBeforeNavigate2)
      callbacks_.OnBeforeNavigate2(request);
    if (request.cancel && request.redirect.isValid()) {
      // Loading from inside the engine's question would cut across the navigation it asks
      // about: the other address is loaded once the answer has been given.
      QTimer::singleShot(0, page_,
                         [page = page_, target = request.redirect] { page->load(target); });
    }
    return !request.cancel;
  };
  page_->newWindow = [this]() -> QWebEnginePage* {
    TMyContainerClass* target = callbacks_.OnNewWindow2 ? callbacks_.OnNewWindow2() : nullptr;
    return target != nullptr ? target->Page() : nullptr;
  };
  page_->consoleLine = [this](const QString& line) {
    const std::string text = line.toStdString();
    const auto message = ParseBridgeMessage(text, secret_);
    if (!message) {
      if (callbacks_.OnBridgeAnswer) {
        if (const auto answer = ParseBridgeAnswer(text, secret_))
          callbacks_.OnBridgeAnswer(*answer);
      }
      return;
    }
    const FrameRef frame{id_, message->framePath};
    if (message->kind == BridgeKind::kReady) {
      if (callbacks_.OnDocumentComplete)
        callbacks_.OnDocumentComplete(frame, QUrl(QString::fromStdString(message->url)),
                                      message->document);
    } else if (callbacks_.OnBridgeMessage) {
      callbacks_.OnBridgeMessage(*message);
    }
  };

  connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& url) {
    if (callbacks_.OnStatusTextChange)
      callbacks_.OnStatusTextChange(url);
  });
  connect(page_, &QWebEnginePage::loadStarted, this, [this] {
    certificateErrorSeen_ = false;
    denyGuard.LoadStarted();
    if (callbacks_.OnDownloadBegin)
      callbacks_.OnDownloadBegin();
  });
  connect(page_, &QWebEnginePage::loadProgress, this, [this](int percent) {
    if (callbacks_.OnProgressChange)
      callbacks_.OnProgressChange(percent, 100);
  });
  connect(page_, &QWebEnginePage::loadFinished, this, [this](bool) {
    if (callbacks_.OnProgressChange)
      callbacks_.OnProgressChange(-1, 0);
    if (callbacks_.OnDownloadComplete)
      callbacks_.OnDownloadComplete();
    ReportHistoryState();
    if (!commandsUpdated && callbacks_.OnCommandStateChange)
      callbacks_.OnCommandStateChange(-1, true);
    ReportSecurity();
    if (callbacks_.OnDocumentComplete)
      callbacks_.OnDocumentComplete(FrameRef{id_, {}}, page_->url(), {});
  });
  connect(page_, &QWebEnginePage::titleChanged, this, [this] {
    // A discarded page names itself by its address until it loads again: the tab keeps the
    // caption it had.
    if (page_->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
      return;
    if (callbacks_.OnTitleChange)
      callbacks_.OnTitleChange(DocumentTitle());
  });
  connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
    if (callbacks_.OnNavigateComplete2)
      callbacks_.OnNavigateComplete2(url);
    ReportHistoryState();
    ReportSecurity();
  });
  connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] {
    if (callbacks_.OnWindowClosing)
      callbacks_.OnWindowClosing(false);
  });
}

void TMyContainerClass::ReportHistoryState() {
  if (!callbacks_.OnCommandStateChange)
    return;
  QWebEngineHistory* history = page_->history();
  callbacks_.OnCommandStateChange(1, history->canGoForward());
  callbacks_.OnCommandStateChange(2, history->canGoBack());
}

void TMyContainerClass::ReportSecurity() {
  if (!callbacks_.OnSetSecureLockIcon)
    return;
  const bool https = page_->url().scheme() == QLatin1String("https");
  callbacks_.OnSetSecureLockIcon(!https                  ? kSecureLockNone
                                 : certificateErrorSeen_ ? kSecureLockMixed
                                                         : kSecureLock128Bit);
}

QString TMyContainerClass::DocumentTitle() const {
  // Without a title of its own the engine names a document by its address: that is no title.
  const QString title = page_->title();
  const QUrl url = page_->url();
  if (title == url.toString() || title == url.toString(QUrl::RemoveScheme).mid(2) ||
      title == url.toDisplayString(QUrl::RemoveScheme).mid(2))
    return {};
  return title;
}

void TMyContainerClass::Navigate(const QUrl& url, const QString& referer) {
  QWebEngineHttpRequest request(url);
  if (!referer.isEmpty())
    request.setHeader(QByteArrayLiteral("Referer"), referer.toUtf8());
  page_->load(request);
}

bool TMyContainerClass::LoadPending() {
  if (pendingUrl.isEmpty())
    return false;
  const QUrl url = pendingUrl;
  pendingUrl.clear();
  Navigate(url);
  return true;
}

QUrl TMyContainerClass::TabUrl() const {
  if (!pendingUrl.isEmpty())
    return pendingUrl;
  // A tab still on its way to its first page has no address yet: the one it asked for counts.
  const QUrl url = page_->url();
  return url.isEmpty() ? page_->requestedUrl() : url;
}

bool TMyContainerClass::HasDocument() const {
  return pendingUrl.isEmpty() && page_->lifecycleState() == QWebEnginePage::LifecycleState::Active;
}

void TMyContainerClass::Retire() {
  alive = false;
  callbacks_ = {};
  if (view_.isNull()) {
    deleteLater();
    return;
  }
  // The engine's dialogs are children of the view; rejecting one ends its nested loop.
  for (QDialog* dialog : view_->findChildren<QDialog*>()) {
    dialog->reject();
  }
  if (!page_->InNestedLoop()) {
    deleteLater();
    return;
  }
  connect(page_, &TEnginePage::NestedLoopsEnded, this, &QObject::deleteLater);
}

void TMyContainerClass::ReportAllFrames() {
  page_->runJavaScript(QStringLiteral("window.__zelvoraBridge && window.__zelvoraBridge.report();"),
                       QWebEngineScript::ApplicationWorld);
}

}  // namespace zelvora
