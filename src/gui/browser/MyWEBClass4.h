#pragma once

// The tab strip: every open page lives in one of its tabs. It creates and closes pages, hears
// each page's engine through the page's callback table and keeps the window in step (status
// text, address, title, back and forward, lock, permissions), keeps the document bookkeeping of
// all pages, and carries out the page commands.

#include <QPrinter>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/browser/BridgeMessage.h"
#include "core/browser/WebEvents.h"
#include "core/shell/CommandDispatch.h"
#include "core/shell/MainWindowRules.h"
#include "core/shell/Settings.h"
#include "core/tools/TabList.h"

class QMenu;
class QStackedWidget;
class QWebEngineProfile;

namespace zelvora {

class TBrowseTabBar;
class TDocumentRequests;
class TMyContainerClass;
class TTabSleep;

// What the strip needs of the window around it.
class TPageHost {
 public:
  virtual ~TPageHost() = default;
  virtual const TSettings& Settings() const = 0;
  virtual void ShowStatusText(const QString& text) = 0;
  virtual void ShowAddress(const QString& url) = 0;
  // An empty title gives the program's name.
  virtual void ShowTitle(const QString& title) = 0;
  virtual void ShowBackForward(bool back, bool forward) = 0;
  virtual void ShowSecurity(int lockIcon) = 0;
  // The buttons that serve any page, and those that need the page's document.
  virtual void EnablePageButtons(bool page, bool document) = 0;
  virtual void ShowPermissions(const std::array<bool, kPermissionCount>& on) = 0;
  virtual std::array<bool, kPermissionCount> DefaultPermissions() const = 0;
  // The theme's name of a security state.
  virtual QString SecurityName(int lockIcon) const = 0;
  // Runs the command once the current event is done; `param` as the command expects it.
  virtual void PostCommand(int id, int param) = 0;
  // After every re-layout: whether the strip shows (it holds a page).
  virtual void StripLaidOut(bool visible) = 0;
};

class TAPIBrowsePage : public QWidget {
  Q_OBJECT

 public:
  // `storageFolder` holds the engine's profile.
  TAPIBrowsePage(TPageHost& host, const QString& storageFolder, QWidget* parent = nullptr);
  ~TAPIBrowsePage() override;

  int Count() const { return static_cast<int>(containers_.size()); }
  int CurrentIndex() const;
  void SetCurrentIndex(int index);

  // Opens a tab by the position rule ("TabNewPos"); -1 at "TabOpenMax".
  int OpenTab(const QString& url);
  // As OpenTab, but while "TabLazyLoad" is on the tab shows `caption` and loads only when it is
  // first selected.
  int OpenLazyTab(const QString& url, const QString& caption);
  // While one lives, lazy tabs that become current wait; when the last goes, the current tab
  // loads (a tab list opens all its tabs, then the one left current loads).
  class LazyBatch {
   public:
    explicit LazyBatch(TAPIBrowsePage& strip);
    ~LazyBatch();
    LazyBatch(const LazyBatch&) = delete;
    LazyBatch& operator=(const LazyBatch&) = delete;

   private:
    TAPIBrowsePage& strip_;
  };
  // Every tab's address (a lazy tab's pending one) and caption, in tab order; tabs without an
  // address are left out.
  std::vector<TabListEntry> TabEntries() const;
  // Closes a tab (nothing for a negative index); the address bar empties with the last tab.
  void CloseTab(int index);
  // Closes `first`..`last` by closing `first` again and again; bad bounds close nothing.
  void CloseTabRange(int first, int last);
  // "WheelClick" / "LeftDBClick" on a tab: 1 closes it, 2 reloads it.
  void TabMouseAction(int action, int index);
  // The tab a command acts on: the context-menu tab while its menu is open, else the current.
  int TargetIndex() const;
  int clickedTab = -1;

  int InsertPage(int index, const QString& url);
  int AddPage(const QString& url) { return InsertPage(Count(), url); }
  bool DeletePage(int index);
  bool DeleteAllPages();
  QWidget* GetPageWindow(int index) const;
  TMyContainerClass* GetContainer(int index) const;
  int IndexOfContainer(const TMyContainerClass* container) const;
  // -1 when no tab holds the page with that id.
  int IndexOfPageId(std::int64_t id) const;
  void MovePage(int from, int to);
  // Moves the tab at `from` to the place of the tab at `to` (the tabs between shift by one) and
  // makes it the current tab.
  void MoveTab(int from, int to);
  // The document commands of a page: save as, properties, view source in a new tab, and the
  // character size `option` (0 smallest … 4 largest).
  enum class DocumentCommand { kSaveAs, kProperties, kViewSource, kZoom };
  void ExecCommand(int index, DocumentCommand command, int option = 0);
  // The character size (0 smallest … 4 largest) of a page; -1 without one.
  int GetZoom(int index) const;
  // The document the page tools work on: the frame of the current tab that last had the focus or
  // a press, while it is still attached; else (unless `focusedOnly`) the tab's top document.
  std::optional<FrameRef> CurrentDocument(bool focusedOnly);
  // Visits the top document and every attached frame document of a page.
  void ForEachDocument(int index, const std::function<void(const FrameRef&)>& visitor);
  // The widget with the keyboard focus when it is inside the strip.
  QWidget* FocusedChild() const;
  // Zero keeps the style's own width or height.
  void SetTabSize(int width, int height);
  void Relayout();
  void SetPageCaption(int index, const QString& text);

  // Carries out a page command of the dispatcher; `param` is the posted value: the id of the page
  // it concerns (3016, 3161, 3164), never its index, which moves as tabs open and close.
  void RunCommand(const CommandRoute& route, int param);
  // Posts the close of a page's tab from inside one of the page's own events (its script closed
  // the window, the deny list refused it).
  void PostClose(const TMyContainerClass& container);
  // Prints a page after the print dialog (`askPrinter`), or shows its print preview.
  void Print(TMyContainerClass& container, bool preview);
  // Sets up the printer with the user; false when the user cancelled. The print dialog unless a
  // test answers.
  std::function<bool(QPrinter& printer, QWidget* parent)> askPrinter;
  // Fills a back or forward drop-down menu from the current page's history.
  void FillTravelMenu(QMenu& menu, bool back);

  // Asked before a page closes; returning true keeps it.
  std::function<bool(TMyContainerClass& container)> onBeforeClose;
  // Called for every page as it is made, after the strip's own callbacks are installed.
  std::function<void(TMyContainerClass& container)> onPageCreated;
  // The document events the page tools react to: a press (with its point in the document), the
  // end of a selection, a document about to unload.
  std::function<void(const FrameRef& frame, int x, int y)> onDocMouseDown;
  std::function<void(const FrameRef& frame)> onDocMouseUp;
  std::function<void(const FrameRef& frame)> onDocBeforeUnload;
  // A tab became the current one.
  std::function<void(TMyContainerClass& container)> onPageShown;

  TWebEventClass& WebEvents() { return webEvents_; }
  TDocumentRequests& Requests() const { return *requests_; }
  TBrowseTabBar& TabBar() const { return *tabBar_; }
  TTabSleep& Sleep() const { return *sleep_; }
  TPageHost& Host() const { return host_; }
  QWebEngineProfile* Profile() const { return profile_; }
  const std::string& BridgeSecret() const { return secret_; }
  QString pendingReferer;
  bool offline = false;
  bool selectNewTab = true;

 signals:
  // Tabs opened, closed or moved, or a page's address or title changed.
  void TabsChanged();

 private:
  int InsertPageAt(int index, const QString& url, const QString* lazyCaption);
  void InstallCallbacks(TMyContainerClass& container);
  void InstallContextMenu(TMyContainerClass& container);
  void CurrentChanged(int index);
  void ReSetCaption(TMyContainerClass& container);
  void BridgeEvent(TMyContainerClass& container, const BridgeMessage& message);
  void Travel(int offset);
  void ShowArrowMenu(bool back);
  void SaveAs(TMyContainerClass& container);
  void ShowProperties(TMyContainerClass& container);
  bool IsCurrent(const TMyContainerClass& container) const;

  TPageHost& host_;
  std::string secret_;
  QWebEngineProfile* profile_ = nullptr;
  TBrowseTabBar* tabBar_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  std::vector<TMyContainerClass*> containers_;
  TWebEventClass webEvents_;
  TDocumentRequests* requests_ = nullptr;
  TTabSleep* sleep_ = nullptr;
  int lazyBatches_ = 0;
  std::uint32_t nextPageId_ = 1;
  int prevSelection_ = -1;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace zelvora
