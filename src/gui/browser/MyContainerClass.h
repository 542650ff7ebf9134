#pragma once

// One page of the tab strip: the engine view that shows it, the page's state, and the table of
// callbacks through which the strip hears what the engine does. The engine's signals are turned
// into the callbacks here, in the order and with the meaning the tab strip expects.

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineView>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/browser/BridgeMessage.h"
#include "core/browser/PageRules.h"
#include "core/browser/WebEvents.h"
#include "core/shell/MainWindowRules.h"
#include "core/tools/DenyPageGuard.h"

class QWebEngineProfile;

class QWidget;

namespace zelvora {

class TEnginePage;
class TPageRequestGuard;
class TMyContainerClass;

// A navigation about to start, as the engine asks for it. A handler may cancel it and name
// another address, which is loaded once the engine's question has been answered.
struct NavigationRequest {
  QUrl url;
  bool mainFrame = true;
  bool userInitiated = false;
  bool serverRedirect = false;  // the server sent the previous request on
  bool cancel = false;
  QUrl redirect;
};

// The callbacks, in the order the strip installs them. Any may be empty.
struct TPageCallbacks {
  std::function<void(const QString& text)> OnStatusTextChange;
  std::function<void(std::int64_t progress, std::int64_t max)> OnProgressChange;
  // Command 1: forward possible, 2: back possible, -1: the page's commands are ready.
  std::function<void(int command, bool enable)> OnCommandStateChange;
  std::function<void()> OnDownloadBegin;
  std::function<void()> OnDownloadComplete;
  std::function<void(const QString& text)> OnTitleChange;
  std::function<void(NavigationRequest& request)> OnBeforeNavigate2;
  // The page to show a new window in; null refuses it.
  std::function<TMyContainerClass*()> OnNewWindow2;
  std::function<void(const QUrl& url)> OnNavigateComplete2;
  // `document`: the token of the frame's document; empty when the engine reports the end of a
  // load, which knows none.
  std::function<void(const FrameRef& frame, const QUrl& url, const std::string& document)>
      OnDocumentComplete;
  std::function<void(bool isChild)> OnWindowClosing;
  // 0 none, 1 mixed (a certificate error was let through), 6 secure.
  std::function<void(int value)> OnSetSecureLockIcon;
  // The download-control flags of the page.
  std::function<std::uint32_t()> OnGetDownloadControl;
  // Every other message of the page's bridge (mouse, selection, focus, unload).
  std::function<void(const BridgeMessage& message)> OnBridgeMessage;
  // The bridge's answers to the program's requests and their progress.
  std::function<void(const BridgeAnswer& answer)> OnBridgeAnswer;
};

class TMyContainerClass : public QObject {
  Q_OBJECT

 public:
  // `id` names the page in frame references; `secret` is the bridge's secret of the run. The
  // view is made without a parent: the strip places it.
  TMyContainerClass(std::uint32_t id, QWebEngineProfile* profile, const std::string& secret,
                    QObject* parent);
  ~TMyContainerClass() override;

  std::uint32_t Id() const { return id_; }
  QWebEngineView* View() const { return view_.data(); }
  TEnginePage* Page() const { return page_; }
  // Every request of the page passes it: offline, images, media, plugins, no-cache.
  TPageRequestGuard& Guard() const { return *guard_; }
  TPageCallbacks& Callbacks() { return callbacks_; }

  // The document's own title; empty when it has none.
  QString DocumentTitle() const;
  // Navigates; an optional referrer goes with the request.
  void Navigate(const QUrl& url, const QString& referer = {});
  // The user let a certificate error of this load through: the lock says so.
  void CertificateAccepted() { certificateErrorSeen_ = true; }
  // A tab that loads only when it is first selected keeps the address here until then.
  QUrl pendingUrl;
  // Loads the pending address; false when there was none.
  bool LoadPending();
  // What the tab stands for: the pending address, else the page's, else the one it asked for.
  QUrl TabUrl() const;
  // Whether the page tools can work on the document: the page has loaded and is awake.
  bool HasDocument() const;
  // Asks every frame's bridge to report its document again.
  void ReportAllFrames();
  // Takes the closed page out of service: it reports nothing more, its open dialogs are
  // rejected, and it is destroyed (deleteLater) once no nested loop over it runs any more.
  void Retire();

  // The page state the strip keeps.
  bool forwardEnabled = false;
  bool backEnabled = false;
  bool commandsUpdated = false;
  bool offlineCheckPending = false;
  bool alive = true;
  bool busy = false;
  int progressPercent = -1;
  int stage = -1;
  int secureLockIcon = 0;
  QString statusText;
  QString firstUrl;
  // The page that was current when this one opened; -1 for none.
  std::int64_t openerId = -1;
  std::array<bool, kPermissionCount> permissions{};
  // The frame whose document last got a mouse press.
  FrameRef pressedFrame;
  int charSize = kCharSizeStandard;
  // How often the deny list's outcomes are carried out on this page.
  DenyPageGuard denyGuard;

 private:
  void ConnectEngine();
  void ReportHistoryState();
  void ReportSecurity();

  std::uint32_t id_;
  std::string secret_;
  // The view may go with its parent widget first when the window closes.
  QPointer<QWebEngineView> view_;
  TEnginePage* page_ = nullptr;
  TPageRequestGuard* guard_ = nullptr;
  TPageCallbacks callbacks_;
  bool certificateErrorSeen_ = false;
};

}  // namespace zelvora
