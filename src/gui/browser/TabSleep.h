#pragma once

// Tabs that load when they are first looked at and sleep when they are not: a tab opened lazily
// loads when it becomes the current one; a background tab out of sight for "TabDiscardMinutes"
// is frozen and then discarded through the engine's page lifecycle, and wakes when selected.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "core/browser/TabSleepRules.h"

namespace zelvora {

class TAPIBrowsePage;
class TMyContainerClass;

class TTabSleep : public QObject {
  Q_OBJECT

 public:
  explicit TTabSleep(TAPIBrowsePage& strip);

  // The tab became the current one: a lazy tab loads (unless loads are held back), a sleeping
  // one wakes, and its time out of sight starts again.
  void Shown(TMyContainerClass& page, bool loadPending);
  // Puts the tab at `index` to sleep at once (the tab menu's command).
  void SleepNow(int index);
  // Whether SleepNow would put the tab at `index` to sleep.
  bool CanSleepNow(int index);
  // One round of the idle check; runs on a timer every half minute.
  void Check();

  // The id of the page the analysis reads (0: none); that page never sleeps.
  std::function<std::uint32_t()> analysedPage;
  // Milliseconds of a steady clock.
  std::function<std::int64_t()> now;

 private:
  TabSleepFacts FactsOf(const TMyContainerClass& page, std::int64_t at);
  void Apply(TMyContainerClass& page, SleepStep step);

  TAPIBrowsePage& strip_;
  QTimer timer_;
  QElapsedTimer clock_;
  // When each page was last the current one (or first seen, for pages never shown).
  std::unordered_map<std::uint32_t, std::int64_t> lastShown_;
  std::uint32_t shownPage_ = 0;
};

}  // namespace zelvora
