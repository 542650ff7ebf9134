#include "gui/browser/MyWEBClass4.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "core/browser/BridgeMessage.h"
#include "core/browser/PageRules.h"
#include "core/browser/TabPolicy.h"
#include "core/text/Utf8.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/DocumentRequests.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/TabSleep.h"
#include "gui/browser/WebProfile.h"
#include "gui/toolkit/Colours.h"
#include "gui/toolkit/Text.h"

namespace zelvora {

namespace {

// Status texts are cut to this many characters.
constexpr int kStatusTextMax = 100;

// A posted command names its page by the page's id; 0 (a command run from a key) names none.
int PostedId(const TMyContainerClass& page) {
  return static_cast<int>(page.Id());
}

QString Shortened(const QString& text, int max) {
  return QString::fromStdString(ShortenText(text.toStdString(), max));
}

}  // namespace

TAPIBrowsePage::TAPIBrowsePage(TPageHost& host, const QString& storageFolder, QWidget* parent)
    : QWidget(parent), host_(host), secret_(MakeBridgeSecret()) {
  setObjectName(QStringLiteral("BrowsePage"));
  profile_ = CreateWebProfile(storageFolder, secret_, this);
  requests_ = new TDocumentRequests(this);
  sleep_ = new TTabSleep(*this);
  askPrinter = [](QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tabBar_ = new TBrowseTabBar(this);
  stack_ = new QStackedWidget(this);
  layout->addWidget(tabBar_);
  layout->addWidget(stack_, 1);
  tabBar_->SetLookSource([this](int index) {
    const TMyContainerClass* container = GetContainer(index);
    return TBrowseTabBar::TabLook{container != nullptr ? container->progressPercent : -1};
  });
  tabBar_->SetTipSource([this](int index) -> QString {
    const TMyContainerClass* container = GetContainer(index);
    if (container == nullptr || !host_.Settings().Flag(kFlagTabToolTip))
      return {};
    return QString::fromStdString(TabToolTipText(container->DocumentTitle().toStdString(),
                                                 container->firstUrl.toStdString(),
                                                 host_.Settings().Int(kIntTabToolTipCharMax)));
  });
  connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) { CurrentChanged(index); });
  connect(tabBar_->BackArrow(), &QToolButton::pressed, this, [this] { ShowArrowMenu(true); });
  connect(tabBar_->ForwardArrow(), &QToolButton::pressed, this, [this] { ShowArrowMenu(false); });
  hide();
}

TAPIBrowsePage::~TAPIBrowsePage() {
  // Pages go before the profile they were made on, closed ones still waiting to go included.
  qDeleteAll(findChildren<TMyContainerClass*>(Qt::FindDirectChildrenOnly));
  containers_.clear();
}

int TAPIBrowsePage::CurrentIndex() const {
  return tabBar_->currentIndex();
}

void TAPIBrowsePage::SetCurrentIndex(int index) {
  if (index >= 0 && index < Count())
    tabBar_->setCurrentIndex(index);
}

bool TAPIBrowsePage::IsCurrent(const TMyContainerClass& container) const {
  return IndexOfContainer(&container) == CurrentIndex();
}

int TAPIBrowsePage::InsertPage(int index, const QString& url) {
  return InsertPageAt(index, url, nullptr);
}

int TAPIBrowsePage::InsertPageAt(int index, const QString& url, const QString* lazyCaption) {
  const QString target = url.trimmed();
  index = std::clamp(index, 0, Count());
  TMyContainerClass* opener = GetContainer(CurrentIndex());
  auto* container = new TMyContainerClass(nextPageId_++, profile_, secret_, this);
  container->openerId = opener != nullptr ? opener->Id() : -1;
  container->permissions = host_.DefaultPermissions();
  containers_.insert(containers_.begin() + index, container);
  stack_->insertWidget(index, container->View());
  InstallCallbacks(*container);
  InstallContextMenu(*container);
  // The tab comes last: inserting it may select it, and the page must be in place by then.
  const QSignalBlocker blocker(tabBar_);
  const int inserted = tabBar_->InsertCaptionTab(
      index, lazyCaption != nullptr
                 ? *lazyCaption
                 : QString::fromLatin1(kLoadingCaption.data(), kLoadingCaption.size()));
  container->stage = -1;
  if (lazyCaption != nullptr && !target.isEmpty())
    container->pendingUrl = QUrl::fromUserInput(target);
  if (onPageCreated)
    onPageCreated(*container);
  Relayout();
  if (selectNewTab || Count() == 1) {
    webEvents_.ClearFocusedAndPointed();
    tabBar_->setCurrentIndex(inserted);
    CurrentChanged(inserted);
  } else {
    // The selection stays, but the index of the current tab may have moved.
    stack_->setCurrentIndex(CurrentIndex());
  }
  if (!target.isEmpty() && lazyCaption == nullptr) {
    container->Navigate(QUrl::fromUserInput(target), pendingReferer);
    pendingReferer.clear();
  }
  emit TabsChanged();
  return inserted;
}

bool TAPIBrowsePage::DeletePage(int index) {
  TMyContainerClass* container = GetContainer(index);
  if (container == nullptr)
    return false;
  if (onBeforeClose && onBeforeClose(*container))
    return false;
  container->Page()->triggerAction(QWebEnginePage::Stop);
  webEvents_.DetachPage(container->Id());
  requests_->PageGone(container->Id());
  const bool wasCurrent = index == CurrentIndex();
  // The next current tab is chosen among the tabs as they are before the close.
  int next = -1;
  if (wasCurrent) {
    next = TabAfterClose(index, Count(), host_.Settings().tabActions[kTabDelPos],
                         container->openerId >= 0, IndexOfPageId(container->openerId));
  }
  container->alive = false;
  {
    const QSignalBlocker blocker(tabBar_);
    containers_.erase(containers_.begin() + index);
    stack_->removeWidget(container->View());
    tabBar_->removeTab(index);
  }
  container->Retire();
  if (Count() == 0) {
    webEvents_.DetachAll();
  } else if (wasCurrent) {
    if (next > index)
      --next;
    // A rule that selects nothing leaves the tab that took the closed one's place.
    tabBar_->setCurrentIndex(next >= 0 ? next : std::min(index, Count() - 1));
    CurrentChanged(CurrentIndex());
  } else {
    stack_->setCurrentIndex(CurrentIndex());
  }
  Relayout();
  emit TabsChanged();
  return true;
}

bool TAPIBrowsePage::DeleteAllPages() {
  TMyContainerClass* kept = nullptr;
  for (TMyContainerClass* container : containers_) {
    // A veto keeps that page; the others close.
    if (kept == nullptr && onBeforeClose && onBeforeClose(*container)) {
      kept = container;
      continue;
    }
    container->Page()->triggerAction(QWebEnginePage::Stop);
    webEvents_.DetachPage(container->Id());
    requests_->PageGone(container->Id());
    container->alive = false;
  }
  {
    const QSignalBlocker blocker(tabBar_);
    while (tabBar_->count() > 0) {
      tabBar_->removeTab(0);
    }
  }
  const QString keptText = kept != nullptr ? kept->DocumentTitle() : QString();
  for (TMyContainerClass* container : containers_) {
    if (container != kept) {
      stack_->removeWidget(container->View());
      container->Retire();
    }
  }
  containers_.clear();
  if (kept != nullptr) {
    containers_.push_back(kept);
    const QSignalBlocker blocker(tabBar_);
    tabBar_->InsertCaptionTab(0, keptText);
    ReSetCaption(*kept);
  }
  if (Count() == 0)
    webEvents_.DetachAll();
  else
    CurrentChanged(0);
  Relayout();
  emit TabsChanged();
  return true;
}

QWidget* TAPIBrowsePage::GetPageWindow(int index) const {
  const TMyContainerClass* container = GetContainer(index);
  return container != nullptr ? container->View() : nullptr;
}

TMyContainerClass* TAPIBrowsePage::GetContainer(int index) const {
  return index >= 0 && index < Count() ? containers_[static_cast<std::size_t>(index)] : nullptr;
}

int TAPIBrowsePage::IndexOfPageId(std::int64_t id) const {
  const auto found = std::find_if(containers_.begin(), containers_.end(),
                                  [id](const TMyContainerClass* each) { return each->Id() == id; });
  return found == containers_.end() ? -1 : static_cast<int>(found - containers_.begin());
}

int TAPIBrowsePage::OpenTab(const QString& url) {
  const TSettings& settings = host_.Settings();
  if (!MayOpenTab(Count(), settings.Int(kIntTabOpenMax)))
    return -1;
  return InsertPage(NewTabIndex(Count(), CurrentIndex(), settings.tabActions[kTabNewPos]), url);
}

int TAPIBrowsePage::OpenLazyTab(const QString& url, const QString& caption) {
  const TSettings& settings = host_.Settings();
  if (settings.TabSession(kTabLazyLoad) != 1)
    return OpenTab(url);
  if (!MayOpenTab(Count(), settings.Int(kIntTabOpenMax)))
    return -1;
  return InsertPageAt(NewTabIndex(Count(), CurrentIndex(), settings.tabActions[kTabNewPos]), url,
                      &caption);
}

TAPIBrowsePage::LazyBatch::LazyBatch(TAPIBrowsePage& strip) : strip_(strip) {
  ++strip_.lazyBatches_;
}

TAPIBrowsePage::LazyBatch::~LazyBatch() {
  if (--strip_.lazyBatches_ == 0) {
    if (TMyContainerClass* current = strip_.GetContainer(strip_.CurrentIndex()))
      current->LoadPending();
  }
}

std::vector<TabListEntry> TAPIBrowsePage::TabEntries() const {
  std::vector<TabListEntry> entries;
  for (int index = 0; index < Count(); ++index) {
    const QString url = GetContainer(index)->TabUrl().toString();
    if (!url.isEmpty())
      entries.push_back({url.toStdString(), tabBar_->Caption(index).toStdString()});
  }
  return entries;
}

void TAPIBrowsePage::CloseTab(int index) {
  if (index < 0)
    return;
  DeletePage(index);
  if (Count() == 0)
    host_.ShowAddress({});
}

void TAPIBrowsePage::CloseTabRange(int first, int last) {
  if (first < 0 || last < first || last >= Count())
    return;
  // Always the first index: a refused close stops the rest of the range where it is.
  for (int step = first; step <= last; ++step) {
    if (!DeletePage(first))
      break;
  }
  if (Count() == 0)
    host_.ShowAddress({});
}

void TAPIBrowsePage::TabMouseAction(int action, int index) {
  TMyContainerClass* container = GetContainer(index);
  if (container == nullptr)
    return;
  if (action == kClickClose)
    CloseTab(index);
  else if (action == kClickReload && !container->LoadPending())
    container->Page()->triggerAction(QWebEnginePage::Reload);
}

int TAPIBrowsePage::TargetIndex() const {
  return clickedTab >= 0 && clickedTab < Count() ? clickedTab : CurrentIndex();
}

int TAPIBrowsePage::IndexOfContainer(const TMyContainerClass* container) const {
  if (container == nullptr)
    return -1;
  const auto found = std::find(containers_.begin(), containers_.end(), container);
  return found == containers_.end() ? -1 : static_cast<int>(found - containers_.begin());
}

void TAPIBrowsePage::MovePage(int from, int to) {
  if (GetContainer(from) == nullptr || GetContainer(to) == nullptr || from == to)
    return;
  const QSignalBlocker blocker(tabBar_);
  std::swap(containers_[static_cast<std::size_t>(from)], containers_[static_cast<std::size_t>(to)]);
  const QString fromText = tabBar_->Caption(from);
  tabBar_->SetCaption(from, tabBar_->Caption(to));
  tabBar_->SetCaption(to, fromText);
  QWidget* fromView = stack_->widget(from);
  QWidget* toView = stack_->widget(to);
  stack_->removeWidget(fromView);
  stack_->removeWidget(toView);
  const int low = std::min(from, to);
  stack_->insertWidget(low, from < to ? toView : fromView);
  stack_->insertWidget(std::max(from, to), from < to ? fromView : toView);
  stack_->setCurrentIndex(CurrentIndex());
  tabBar_->update();
  emit TabsChanged();
}

void TAPIBrowsePage::MoveTab(int from, int to) {
  if (GetContainer(from) == nullptr || GetContainer(to) == nullptr)
    return;
  const int step = to > from ? 1 : -1;
  for (int at = from; at != to; at += step) {
    MovePage(at, at + step);
  }
  {
    const QSignalBlocker blocker(tabBar_);
    tabBar_->setCurrentIndex(to);
  }
  CurrentChanged(to);
}

int TAPIBrowsePage::GetZoom(int index) const {
  const TMyContainerClass* container = GetContainer(index);
  return container != nullptr ? CharSizeOfZoom(container->View()->zoomFactor()) : -1;
}

void TAPIBrowsePage::ForEachDocument(int index,
                                     const std::function<void(const FrameRef&)>& visitor) {
  const TMyContainerClass* container = GetContainer(index);
  if (container == nullptr || !visitor)
    return;
  std::vector<FrameRef> frames{FrameRef{container->Id(), {}}};
  for (const DocumentEntry& entry : webEvents_.Connections()) {
    if (entry.frame.page == container->Id() && !entry.frame.path.empty())
      frames.push_back(entry.frame);
  }
  for (const FrameRef& frame : frames) {
    visitor(frame);
  }
}

QWidget* TAPIBrowsePage::FocusedChild() const {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && isAncestorOf(focus) ? focus : nullptr;
}

void TAPIBrowsePage::SetTabSize(int width, int height) {
  tabBar_->SetTabSize(QSize(width, height));
  Relayout();
}

void TAPIBrowsePage::Relayout() {
  setVisible(Count() > 0);
  host_.StripLaidOut(Count() > 0);
}

void TAPIBrowsePage::SetPageCaption(int index, const QString& text) {
  if (index >= 0 && index < Count())
    tabBar_->SetCaption(index, text);
}

void TAPIBrowsePage::CurrentChanged(int index) {
  prevSelection_ = -1;
  TMyContainerClass* container = GetContainer(index);
  if (container == nullptr)
    return;
  stack_->setCurrentIndex(index);
  sleep_->Shown(*container, lazyBatches_ == 0);
  host_.ShowSecurity(container->secureLockIcon);
  host_.ShowStatusText(container->statusText);
  host_.ShowAddress(container->TabUrl().toString());
  host_.ShowBackForward(container->backEnabled, container->forwardEnabled);
  tabBar_->SetArrows(container->backEnabled, container->forwardEnabled);
  host_.ShowTitle(tabBar_->Caption(index));
  host_.ShowPermissions(container->permissions);
  host_.EnablePageButtons(true, container->commandsUpdated);
  host_.PostCommand(3161, PostedId(*container));
  if (onPageShown)
    onPageShown(*container);
}

void TAPIBrowsePage::InstallContextMenu(TMyContainerClass& container) {
  // The engine asks for the page's own menu here, before it opens: the one moment a menu can
  // still be refused (after the selection menu, for instance).
  QWebEngineView* view = container.View();
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
    if (!webEvents_.ContextMenu())
      return;
    QMenu* menu = view->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view->mapToGlobal(pos));
  });
}

std::optional<FrameRef> TAPIBrowsePage::CurrentDocument(bool focusedOnly) {
  const TMyContainerClass* page = GetContainer(CurrentIndex());
  if (page == nullptr)
    return std::nullopt;
  if (const std::optional<FrameRef> focused = webEvents_.FocusedBrowser();
      focused && focused->page == page->Id())
    return focused;
  if (focusedOnly)
    return std::nullopt;
  return FrameRef{page->Id(), {}};
}

void TAPIBrowsePage::ReSetCaption(TMyContainerClass& container) {
  const int index = IndexOfContainer(&container);
  if (index < 0)
    return;
  const std::string caption =
      PageCaption(container.DocumentTitle().toStdString(), container.firstUrl.toStdString(),
                  host_.Settings().Int(kIntTabTitleMax));
  SetPageCaption(index, QString::fromStdString(caption));
  container.statusText.clear();
  if (index == CurrentIndex()) {
    host_.ShowStatusText({});
    host_.ShowAddress(container.Page()->url().toString());
    host_.ShowTitle(tabBar_->Caption(index));
  }
}

void TAPIBrowsePage::InstallCallbacks(TMyContainerClass& container) {
  TPageCallbacks& callbacks = container.Callbacks();
  TMyContainerClass* page = &container;
  callbacks.OnStatusTextChange = [this, page](const QString& text) {
    if (IndexOfContainer(page) < 0)
      return;
    page->statusText = text;
    if (IsCurrent(*page))
      host_.ShowStatusText(Shortened(text, kStatusTextMax));
  };
  callbacks.OnProgressChange = [this, page](std::int64_t progress, std::int64_t max) {
    const int index = IndexOfContainer(page);
    if (index < 0)
      return;
    const ProgressStage now = ComputeProgress(progress, max);
    page->progressPercent = now.percent;
    if (index == CurrentIndex()) {
      if (now.percent == -1 && page->busy) {
        page->busy = false;
      } else if (now.stage > 0 && now.stage != page->stage) {
        host_.PostCommand(3161, PostedId(*page));
        host_.PostCommand(3164, PostedId(*page));
      }
    }
    page->stage = now.stage;
    tabBar_->update(tabBar_->tabRect(index));
    if (now.stage == -1) {
      page->statusText.clear();
      if (index == CurrentIndex())
        host_.ShowStatusText({});
      ReSetCaption(*page);
    }
  };
  callbacks.OnCommandStateChange = [this, page](int command, bool enable) {
    if (IndexOfContainer(page) < 0)
      return;
    if (command == 1)
      page->forwardEnabled = enable;
    else if (command == 2)
      page->backEnabled = enable;
    else if (command == -1)
      page->commandsUpdated = true;
    if (!IsCurrent(*page))
      return;
    if (command == -1) {
      host_.EnablePageButtons(true, true);
    } else {
      host_.ShowBackForward(page->backEnabled, page->forwardEnabled);
      tabBar_->SetArrows(page->backEnabled, page->forwardEnabled);
    }
  };
  callbacks.OnDownloadBegin = [this, page] {
    const int index = IndexOfContainer(page);
    if (index < 0)
      return;
    page->busy = true;
    page->progressPercent = 0;
    page->statusText.clear();
    if (index == CurrentIndex()) {
      host_.ShowStatusText({});
      host_.ShowAddress(page->Page()->url().toString());
    }
    SetPageCaption(index, QString::fromLatin1(kLoadingCaption.data(), kLoadingCaption.size()));
  };
  callbacks.OnDownloadComplete = [this, page] {
    if (IndexOfContainer(page) < 0)
      return;
    page->busy = false;
    page->progressPercent = 0;
    page->statusText.clear();
    if (IsCurrent(*page))
      host_.ShowStatusText({});
    ReSetCaption(*page);
  };
  callbacks.OnTitleChange = [this, page](const QString& title) {
    const int index = IndexOfContainer(page);
    if (index < 0)
      return;
    emit TabsChanged();
    const QString text = QString::fromStdString(TitleChangeCaption(
        title.toStdString(), page->firstUrl.toStdString(), host_.Settings().Int(kIntTabTitleMax)));
    if (index == CurrentIndex())
      host_.ShowTitle(text);
    SetPageCaption(index, text);
  };
  callbacks.OnNavigateComplete2 = [this, page](const QUrl& url) {
    if (IndexOfContainer(page) < 0)
      return;
    if (page->firstUrl.isEmpty())
      page->firstUrl = url.toString();
    emit TabsChanged();
  };
  callbacks.OnNewWindow2 = [this, page]() -> TMyContainerClass* {
    if (IndexOfContainer(page) < 0)
      return nullptr;
    return GetContainer(OpenTab({}));
  };
  callbacks.OnDocumentComplete = [this, page](const FrameRef& frame, const QUrl&,
                                              const std::string& document) {
    if (IndexOfContainer(page) < 0)
      return;
    page->offlineCheckPending = false;
    if (frame.path.empty())
      ReSetCaption(*page);
    webEvents_.AttachDocument(frame, document);
  };
  callbacks.OnWindowClosing = [this, page](bool) { PostClose(*page); };
  callbacks.OnSetSecureLockIcon = [this, page](int value) {
    if (IndexOfContainer(page) < 0)
      return;
    page->secureLockIcon = value;
    if (IsCurrent(*page))
      host_.ShowSecurity(value);
  };
  callbacks.OnBridgeMessage = [this, page](const BridgeMessage& message) {
    if (IndexOfContainer(page) >= 0)
      BridgeEvent(*page, message);
  };
  callbacks.OnBridgeAnswer = [this, page](const BridgeAnswer& answer) {
    if (IndexOfContainer(page) >= 0)
      requests_->Take(page->Id(), answer);
  };
}

void TAPIBrowsePage::BridgeEvent(TMyContainerClass& container, const BridgeMessage& message) {
  const FrameRef frame{container.Id(), message.framePath};
  switch (message.kind) {
    case BridgeKind::kReady:
      break;
    case BridgeKind::kMouseDown:
      if (webEvents_.MouseDown(frame)) {
        // The page mouse press: the pressed frame's address and title go to the bars.
        container.pressedFrame = frame;
        if (onDocMouseDown)
          onDocMouseDown(frame, message.x, message.y);
        if (!IsCurrent(container))
          break;
        if (container.busy) {
          host_.ShowStatusText(QStringLiteral("busy"));
        } else {
          host_.ShowAddress(QString::fromStdString(message.url));
          const QString title = QString::fromStdString(message.title);
          host_.ShowStatusText(
              title.isEmpty() ? QString::fromLatin1(kNoTitleCaption.data(), kNoTitleCaption.size())
                              : title);
        }
      }
      break;
    case BridgeKind::kMouseMove:
      webEvents_.MouseMove(frame, message.x, message.y);
      break;
    case BridgeKind::kMouseUp:
      if (webEvents_.MouseUp(frame) && onDocMouseUp)
        onDocMouseUp(frame);
      break;
    case BridgeKind::kSelectStart:
      webEvents_.SelectStart(frame);
      break;
    case BridgeKind::kFocus:
      webEvents_.WindowFocus(frame);
      break;
    case BridgeKind::kBeforeUnload:
      if (webEvents_.BeforeUnload(frame, message.document) && onDocBeforeUnload)
        onDocBeforeUnload(frame);
      break;
    case BridgeKind::kUnload:
      webEvents_.Unload(frame, message.document);
      break;
  }
}

void TAPIBrowsePage::PostClose(const TMyContainerClass& container) {
  // Never from inside the page's own event: the window runs it afterwards.
  if (IndexOfContainer(&container) >= 0 && container.alive)
    host_.PostCommand(3016, PostedId(container));
}

void TAPIBrowsePage::ExecCommand(int index, DocumentCommand command, int option) {
  TMyContainerClass* container = GetContainer(index);
  if (container == nullptr)
    return;
  // A tab that has not loaded, or sleeps, has no document to save or describe.
  if ((command == DocumentCommand::kSaveAs || command == DocumentCommand::kProperties) &&
      !container->HasDocument())
    return;
  switch (command) {
    case DocumentCommand::kSaveAs:
      SaveAs(*container);
      break;
    case DocumentCommand::kProperties:
      ShowProperties(*container);
      break;
    case DocumentCommand::kViewSource:
      // A tab like any other: its place and the tab limit follow the settings.
      OpenTab(QStringLiteral("view-source:") + container->TabUrl().toString());
      break;
    case DocumentCommand::kZoom:
      container->charSize = std::clamp(option, 0, kCharSizeCount - 1);
      container->View()->setZoomFactor(kZoomFactors[static_cast<std::size_t>(container->charSize)]);
      break;
  }
}

void TAPIBrowsePage::Travel(int offset) {
  TMyContainerClass* container = GetContainer(CurrentIndex());
  if (container == nullptr)
    return;
  QWebEngineHistory* history = container->Page()->history();
  if (offset == -1) {
    history->back();
  } else if (offset == 1) {
    history->forward();
  } else {
    const int target = history->currentItemIndex() + offset;
    if (target >= 0 && target < history->count())
      history->goToItem(history->itemAt(target));
  }
}

void TAPIBrowsePage::FillTravelMenu(QMenu& menu, bool back) {
  menu.clear();
  TMyContainerClass* container = GetContainer(CurrentIndex());
  if (container == nullptr)
    return;
  const int listMax = host_.Settings().Int(kIntWebHistoryListMax);
  QWebEngineHistory* history = container->Page()->history();
  const QList<QWebEngineHistoryItem> items =
      back ? history->backItems(std::max(listMax, 0)) : history->forwardItems(std::max(listMax, 0));
  std::vector<TravelEntry> nearestFirst;
  for (const QWebEngineHistoryItem& item : items) {
    nearestFirst.push_back({item.title().toStdString(), item.url().toString().toStdString()});
  }
  // The engine lists the back entries oldest first.
  if (back)
    std::reverse(nearestFirst.begin(), nearestFirst.end());
  for (const TravelMenuItem& item :
       TravelMenuItems(nearestFirst, listMax, host_.Settings().Int(kIntTabTitleMax))) {
    QAction* action = menu.addAction(LiteralCaption(QString::fromStdString(item.caption)));
    const int offset = TravelOffset(back, item.id);
    connect(action, &QAction::triggered, this, [this, offset] { Travel(offset); });
  }
}

void TAPIBrowsePage::ShowArrowMenu(bool back) {
  QToolButton* button = back ? tabBar_->BackArrow() : tabBar_->ForwardArrow();
  QMenu menu;
  FillTravelMenu(menu, back);
  if (menu.isEmpty()) {
    Travel(back ? -1 : 1);
  } else {
    button->setDown(true);
    menu.exec(button->mapToGlobal(QPoint(0, button->height())));
  }
  button->setDown(false);
}

void TAPIBrowsePage::SaveAs(TMyContainerClass& container) {
  const TEnginePage::NestedLoop dialogOpen(*container.Page());
  QString filter;
  const QString htmlFilter = QStringLiteral("Web page, complete (*.html *.htm)");
  const QString mhtmlFilter = QStringLiteral("Web archive, single file (*.mhtml)");
  const QString name =
      QFileDialog::getSaveFileName(this, QString(), container.Page()->title(),
                                   htmlFilter + QStringLiteral(";;") + mhtmlFilter, &filter);
  if (name.isEmpty() || !container.alive)
    return;
  container.Page()->save(name, filter == mhtmlFilter
                                   ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                                   : QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

void TAPIBrowsePage::ShowProperties(TMyContainerClass& container) {
  const QString title = container.DocumentTitle();
  const QString url = container.Page()->url().toString();
  const QString security = host_.SecurityName(container.secureLockIcon);
  QPointer<TAPIBrowsePage> self(this);
  container.Page()->runJavaScript(
      QStringLiteral("[document.contentType, document.documentElement ? "
                     "document.documentElement.outerHTML.length : 0]"),
      QWebEngineScript::ApplicationWorld, [self, title, url, security](const QVariant& result) {
        if (self.isNull())
          return;
        const QVariantList facts = result.toList();
        const QString text =
            QStringLiteral("Title: %1\nURL: %2\nType: %3\nSize: %4 characters\nSecurity: %5")
                .arg(title, url, facts.value(0).toString(),
                     QString::number(facts.value(1).toLongLong()),
                     security.isEmpty() ? QStringLiteral("-") : security);
        QMessageBox::information(self, QStringLiteral("Property"), text);
      });
}

void TAPIBrowsePage::Print(TMyContainerClass& container, bool preview) {
  if (!printer_)
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const TEnginePage::NestedLoop dialogOpen(*container.Page());
  QWebEngineView* view = container.View();
  // The engine prints in the background; the dialogs wait for it to finish.
  const auto printAndWait = [view](QPrinter* printer) {
    QEventLoop loop;
    const auto done = connect(view, &QWebEngineView::printFinished, &loop, &QEventLoop::quit);
    view->print(printer);
    loop.exec();
    disconnect(done);
  };
  if (preview) {
    QPrintPreviewDialog dialog(printer_.get(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, printAndWait);
    dialog.exec();
    return;
  }
  if (askPrinter(*printer_, this))
    printAndWait(printer_.get());
}

void TAPIBrowsePage::RunCommand(const CommandRoute& route, int param) {
  TMyContainerClass* current = GetContainer(CurrentIndex());
  switch (route.action) {
    case CommandAction::kNewTab:
      OpenTab(QStringLiteral("about:blank"));
      return;
    case CommandAction::kCloseTab:
      CloseTab(TargetIndex());
      return;
    case CommandAction::kCloseOtherTabs:
    case CommandAction::kCloseTabsLeft:
    case CommandAction::kCloseTabsRight: {
      const CloseKind kind = route.action == CommandAction::kCloseTabsLeft ? CloseKind::kLeft
                             : route.action == CommandAction::kCloseTabsRight
                                 ? CloseKind::kRight
                                 : CloseKind::kExcluding;
      for (const TabRange& range : CloseRanges(kind, clickedTab, Count())) {
        CloseTabRange(range.first, range.last);
      }
      return;
    }
    case CommandAction::kNextTab:
    case CommandAction::kPreviousTab:
      if (isVisible())
        SetCurrentIndex(
            StepTab(CurrentIndex(), Count(), route.action == CommandAction::kNextTab ? 1 : -1));
      return;
    case CommandAction::kStopPage:
      if (TMyContainerClass* target = GetContainer(TargetIndex())) {
        target->Page()->triggerAction(QWebEnginePage::Stop);
        target->ReportAllFrames();
      }
      return;
    case CommandAction::kViewSource:
      ExecCommand(TargetIndex(), DocumentCommand::kViewSource);
      return;
    case CommandAction::kSaveAs:
      ExecCommand(TargetIndex(), DocumentCommand::kSaveAs);
      return;
    case CommandAction::kShowProperties:
      ExecCommand(TargetIndex(), DocumentCommand::kProperties);
      return;
    case CommandAction::kClosePageTab:
      CloseTab(IndexOfPageId(param));
      return;
    case CommandAction::kCloseAllTabs:
      DeleteAllPages();
      return;
    case CommandAction::kStopAllPages:
    case CommandAction::kRefreshAllPages:
      for (TMyContainerClass* container : containers_) {
        // A tab that waits for its first selection has nothing to stop or refresh.
        if (!container->pendingUrl.isEmpty())
          continue;
        container->Page()->triggerAction(route.action == CommandAction::kStopAllPages
                                             ? QWebEnginePage::Stop
                                             : QWebEnginePage::Reload);
        if (route.action == CommandAction::kStopAllPages)
          container->ReportAllFrames();
      }
      return;
    case CommandAction::kFocusTabPage:
      if (TMyContainerClass* target = GetContainer(IndexOfPageId(param));
          target != nullptr && target == current)
        target->View()->setFocus();
      return;
    default:
      break;
  }
  // Every other command needs a current page, and one with a document (the current tab loads
  // when it becomes current; only within a tab list's restore may it still wait).
  if (current == nullptr || !current->pendingUrl.isEmpty())
    return;
  switch (route.action) {
    case CommandAction::kRefreshPage:
      current->Page()->triggerAction(QWebEnginePage::Reload);
      break;
    case CommandAction::kGoBack:
      current->Page()->triggerAction(QWebEnginePage::Back);
      break;
    case CommandAction::kGoForward:
      current->Page()->triggerAction(QWebEnginePage::Forward);
      break;
    case CommandAction::kPageSetup: {
      if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      QPageSetupDialog dialog(printer_.get(), this);
      dialog.exec();
      break;
    }
    case CommandAction::kPrint:
      Print(*current, false);
      break;
    case CommandAction::kPrintPreview:
      Print(*current, true);
      break;
    case CommandAction::kNextCharSize:
      ExecCommand(CurrentIndex(), DocumentCommand::kZoom, NextCharSize(current->charSize));
      break;
    case CommandAction::kSetCharSize:
      ExecCommand(CurrentIndex(), DocumentCommand::kZoom, kCharSizeCount - 1 - route.offset);
      break;
    case CommandAction::kFocusCurrentPage:
      current->View()->setFocus();
      break;
    case CommandAction::kPageNotice:
      current->ReportAllFrames();
      break;
    default:
      break;
  }
}

}  // namespace zelvora
