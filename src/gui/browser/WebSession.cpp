#include "gui/browser/WebSession.h"

#include <QNetworkProxy>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "core/browser/SessionOptions.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/browser/PageRequestGuard.h"

namespace zelvora {

namespace {

// The longest user agent the session hands out.
constexpr int kUserAgentMax = 259;
// An address no one answers: only the request for it matters (see ApplyProxy).
constexpr char kProxyRefreshUrl[] = "http://proxy-refresh.invalid/";
// How much of an unusable proxy text the status bar repeats.
constexpr int kProxyTextShown = 60;

}  // namespace

TWebSession::TWebSession(TPageHost& host, TAPIBrowsePage& strip, const std::string& perUserFolder,
                         QObject* parent)
    : QObject(parent),
      host_(host),
      strip_(strip),
      denyListPath_(perUserFolder + "/" + std::string(kDenyListFileName)),
      registry_(perUserFolder + "/Registry.txt") {}

TWebSession::~TWebSession() {
  // A page may not outlive the profile it was made on.
  delete proxyRefresh_;
}

void TWebSession::LoadDenyList() {
  denyList_ = CompileDenyList(ReadDenyList(denyListPath_));
}

void TWebSession::SetDenyList(std::string_view text) {
  denyList_ = CompileDenyList(text);
}

void TWebSession::PageCreated(TMyContainerClass& page) {
  TPageCallbacks& callbacks = page.Callbacks();
  callbacks.OnBeforeNavigate2 = [this, &page](NavigationRequest& request) {
    CheckNavigation(page, request);
  };
  auto completed = std::move(callbacks.OnDocumentComplete);
  callbacks.OnDocumentComplete = [this, &page, completed](const FrameRef& frame, const QUrl& url,
                                                          const std::string& document) {
    if (frame.path.empty() && CheckCompletedDocument(page))
      return;
    if (completed)
      completed(frame, url, document);
  };
  callbacks.OnGetDownloadControl = [this, &page] { return DownloadControlFlags(page); };
  ApplyDownloadControl(page);
}

void TWebSession::CheckNavigation(TMyContainerClass& page, NavigationRequest& request) {
  const DenyOutcome listed =
      host_.Settings().Flag(kFlagDenyUseUrl)
          ? DenyNavigation(denyList_, request.url.toString().toStdString(), page.firstUrl.isEmpty())
          : DenyOutcome{};
  const DenyOutcome outcome =
      page.denyGuard.Navigation(listed, request.mainFrame && !request.serverRedirect);
  switch (outcome.step) {
    case DenyStep::kProceed:
      break;
    case DenyStep::kStop:
      request.cancel = true;
      // Not from inside the engine's question: once it has been answered.
      QTimer::singleShot(0, page.Page(),
                         [target = page.Page()] { target->triggerAction(QWebEnginePage::Stop); });
      return;
    case DenyStep::kCloseTab:
      request.cancel = true;
      strip_.PostClose(page);
      return;
    case DenyStep::kRedirect:
      request.cancel = true;
      request.redirect = QUrl(QString::fromStdString(outcome.url));
      return;
  }
  ApplyUserAgent();
}

bool TWebSession::CheckCompletedDocument(TMyContainerClass& page) {
  if (!host_.Settings().Flag(kFlagDenyUseUrl) || page.firstUrl.isEmpty() ||
      !page.denyGuard.CompletedCheckDue())
    return false;
  const DenyOutcome outcome =
      page.denyGuard.Completed(DenyCompletedDocument(denyList_, page.firstUrl.toStdString()));
  switch (outcome.step) {
    case DenyStep::kCloseTab:
      strip_.PostClose(page);
      return true;
    case DenyStep::kRedirect:
      page.Navigate(QUrl(QString::fromStdString(outcome.url)));
      return true;
    case DenyStep::kStop:
      // The page stops and goes on as a completed page.
      page.Page()->triggerAction(QWebEnginePage::Stop);
      return false;
    case DenyStep::kProceed:
      return false;
  }
  return false;
}

void TWebSession::ApplyUserAgent() {
  const TSettings& settings = host_.Settings();
  const std::string& agent = settings.strings[kStringWebUserAgentValue];
  if (settings.Flag(kFlagWebUserAgent) && !agent.empty())
    strip_.Profile()->setHttpUserAgent(QString::fromStdString(agent));
}

QString TWebSession::CurrentUserAgent() const {
  return strip_.Profile()->httpUserAgent().left(kUserAgentMax);
}

void TWebSession::ApplyProxy(const QString& text, bool useIEProxy, bool bypassLocal) {
  const ProxyChoice choice = ChooseProxy(text.toStdString(), useIEProxy, bypassLocal);
  switch (choice.kind) {
    case ProxyChoice::Kind::kLeaveAlone:
      return;
    case ProxyChoice::Kind::kUnusable:
      host_.ShowStatusText(QStringLiteral("Proxy not changed: \"%1\" names no proxy")
                               .arg(text.trimmed().left(kProxyTextShown)));
      return;
    case ProxyChoice::Kind::kDirect:
      QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
      break;
    case ProxyChoice::Kind::kProxy:
      QNetworkProxy::setApplicationProxy(
          QNetworkProxy(choice.socks ? QNetworkProxy::Socks5Proxy : QNetworkProxy::HttpProxy,
                        QString::fromStdString(choice.host), choice.port));
      break;
  }
  proxyRefreshPending_ = true;
  if (!QueryOffline())
    RefreshProxy();
}

void TWebSession::RefreshProxy() {
  // The engine reads the new setting only on its next request, which still goes the old way:
  // one request that nobody waits for makes the change take effect for the pages. Offline, it
  // waits until the session is online again.
  proxyRefreshPending_ = false;
  delete proxyRefresh_;
  proxyRefresh_ = new QWebEnginePage(strip_.Profile(), this);
  connect(proxyRefresh_, &QWebEnginePage::loadFinished, proxyRefresh_, &QObject::deleteLater);
  proxyRefresh_->load(QUrl(QString::fromLatin1(kProxyRefreshUrl)));
}

bool TWebSession::QueryOffline() const {
  return TPageRequestGuard::Offline();
}

void TWebSession::SetOffline(bool offline) {
  TPageRequestGuard::SetOffline(offline);
  strip_.offline = offline;
  if (!offline && proxyRefreshPending_)
    RefreshProxy();
}

std::uint32_t TWebSession::DownloadControlFlags(const TMyContainerClass& page) const {
  std::array<bool, kGlobalDownloadFlagCount> globals{};
  for (int index = 0; index < kGlobalDownloadFlagCount; ++index) {
    globals[static_cast<std::size_t>(index)] =
        host_.Settings().Flag(kFlagWebPermitDownLoadFirst + index);
  }
  return zelvora::DownloadControlFlags(page.permissions, globals);
}

void TWebSession::ApplyDownloadControl(TMyContainerClass& page) {
  const std::uint32_t flags = DownloadControlFlags(page);
  page.Guard().SetFlags(flags);
  QWebEngineSettings* settings = page.Page()->settings();
  settings->setAttribute(QWebEngineSettings::AutoLoadImages, (flags & kDlctlDlImages) != 0);
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, (flags & kDlctlNoScripts) == 0);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled,
                         (flags & (kDlctlNoRunActiveXCtls | kDlctlNoJava)) == 0);
}

QString TWebSession::StartPage() const {
  return QString::fromStdString(ReadStartPage(registry_));
}

QString TWebSession::HomePage() const {
  const TSettings& settings = host_.Settings();
  return QString::fromStdString(zelvora::HomePage(settings.Flag(kFlagWebHomePage),
                                                  settings.strings[kStringWebHomePageValue],
                                                  StartPage().toStdString()));
}

}  // namespace zelvora
