#pragma once

// The options every page loads by: the deny-URL list checked before each navigation, the user
// agent, the proxy, the offline state and the download-control flags each page applies (images,
// scripts, media, plugins, no-cache headers, no network), the registry store with the start page.

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

#include "core/shell/RegistryFunc.h"
#include "core/shell/Settings.h"
#include "core/tools/DenyList.h"
#include "gui/browser/MyContainerClass.h"

class QWebEnginePage;
class QWebEngineProfile;

namespace zelvora {

class TAPIBrowsePage;

class TPageHost;

class TWebSession : public QObject {
  Q_OBJECT

 public:
  TWebSession(TPageHost& host, TAPIBrowsePage& strip, const std::string& perUserFolder,
              QObject* parent = nullptr);
  // Must go before the strip: its throw-away page was made on the strip's profile.
  ~TWebSession() override;

  // Reads and compiles "DenyUrlList.txt" of the per-user folder.
  void LoadDenyList();
  // Compiles the list from a text the user edited (the file may not hold it yet).
  void SetDenyList(std::string_view text);
  const std::vector<DenyEntry>& DenyList() const { return denyList_; }

  // Installs the deny check, the user agent and the download control on a new page.
  void PageCreated(TMyContainerClass& page);

  // Sets the custom user agent when "WebUserAgent" is on with a value; otherwise the session
  // keeps the agent it has.
  void ApplyUserAgent();
  QString CurrentUserAgent() const;
  // The proxy of a proxy entry: "0" direct, "host:port" (or a list) through it; nothing while
  // "Use IE Proxy" is checked or for an empty text; a text that names no proxy is reported in
  // the status bar.
  void ApplyProxy(const QString& text, bool useIEProxy, bool bypassLocal);

  // The application-wide offline state: while it is set no page reaches the network.
  bool QueryOffline() const;
  void SetOffline(bool offline);

  // The page's flags from its seven switches and the global flags, applied to it.
  std::uint32_t DownloadControlFlags(const TMyContainerClass& page) const;
  void ApplyDownloadControl(TMyContainerClass& page);

  QString StartPage() const;
  QString HomePage() const;
  TRegistry& Registry() { return registry_; }
  // "DenyUrlList.txt" of the per-user folder.
  const std::string& DenyListPath() const { return denyListPath_; }

 private:
  void CheckNavigation(TMyContainerClass& page, NavigationRequest& request);
  bool CheckCompletedDocument(TMyContainerClass& page);
  void RefreshProxy();

  TPageHost& host_;
  TAPIBrowsePage& strip_;
  std::string denyListPath_;
  std::vector<DenyEntry> denyList_;
  TRegistry registry_;
  QPointer<QWebEnginePage> proxyRefresh_;
  bool proxyRefreshPending_ = false;
};

}  // namespace zelvora
