#include "gui/browser/TabSleep.h"

#include <QWebEnginePage>

#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"

namespace zelvora {

namespace {

constexpr int kCheckMs = 30 * 1000;

PageLifecycle FromEngine(QWebEnginePage::LifecycleState state) {
  switch (state) {
    case QWebEnginePage::LifecycleState::Frozen:
      return PageLifecycle::kFrozen;
    case QWebEnginePage::LifecycleState::Discarded:
      return PageLifecycle::kDiscarded;
    default:
      return PageLifecycle::kActive;
  }
}

}  // namespace

TTabSleep::TTabSleep(TAPIBrowsePage& strip) : QObject(&strip), strip_(strip) {
  clock_.start();
  now = [this] { return clock_.elapsed(); };
  timer_.setInterval(kCheckMs);
  connect(&timer_, &QTimer::timeout, this, &TTabSleep::Check);
  timer_.start();
}

void TTabSleep::Shown(TMyContainerClass& page, bool loadPending) {
  const std::int64_t at = now();
  // The tab that was shown until now starts its time out of sight here.
  if (shownPage_ != 0 && lastShown_.contains(shownPage_))
    lastShown_[shownPage_] = at;
  shownPage_ = page.Id();
  lastShown_[page.Id()] = at;
  if (loadPending && page.LoadPending())
    return;
  if (page.pendingUrl.isEmpty() &&
      page.Page()->lifecycleState() != QWebEnginePage::LifecycleState::Active)
    page.Page()->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

TabSleepFacts TTabSleep::FactsOf(const TMyContainerClass& page, std::int64_t at) {
  TabSleepFacts facts;
  facts.current = strip_.IndexOfContainer(&page) == strip_.CurrentIndex();
  // A page that never loaded is not asked anything: asking could make the engine set it up.
  facts.waitingForFirstLoad = !page.pendingUrl.isEmpty() || page.Page()->requestedUrl().isEmpty();
  if (!facts.waitingForFirstLoad) {
    facts.state = FromEngine(page.Page()->lifecycleState());
    facts.recommended = FromEngine(page.Page()->recommendedState());
    facts.audible = page.Page()->recentlyAudible();
  }
  facts.inUse = (analysedPage && analysedPage() == page.Id()) || page.Page()->InNestedLoop();
  const std::int64_t seen = lastShown_.try_emplace(page.Id(), at).first->second;
  facts.idleMs = facts.current ? 0 : at - seen;
  return facts;
}

void TTabSleep::Apply(TMyContainerClass& page, SleepStep step) {
  switch (step) {
    case SleepStep::kNone:
      break;
    case SleepStep::kFreeze:
      page.Page()->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
      break;
    case SleepStep::kDiscard:
      page.Page()->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
      break;
  }
}

void TTabSleep::SleepNow(int index) {
  if (TMyContainerClass* page = strip_.GetContainer(index))
    Apply(*page, SleepNowStep(FactsOf(*page, now())));
}

bool TTabSleep::CanSleepNow(int index) {
  const TMyContainerClass* page = strip_.GetContainer(index);
  return page != nullptr && SleepNowStep(FactsOf(*page, now())) != SleepStep::kNone;
}

void TTabSleep::Check() {
  const std::int64_t at = now();
  const int minutes = strip_.Host().Settings().TabSession(kTabDiscardMinutes);
  std::unordered_map<std::uint32_t, std::int64_t> open;
  for (int index = 0; index < strip_.Count(); ++index) {
    TMyContainerClass& page = *strip_.GetContainer(index);
    Apply(page, IdleSleepStep(FactsOf(page, at), minutes));
    open.emplace(page.Id(), lastShown_[page.Id()]);
  }
  // Closed pages are forgotten.
  lastShown_ = std::move(open);
}

}  // namespace zelvora
