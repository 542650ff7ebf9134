#pragma once

// When a background tab is put to sleep through the engine's page lifecycle: first frozen (its
// scripts and timers stop, the document stays), then discarded (the renderer goes; the tab keeps
// its caption, address and history and loads again when selected).

#include <cstdint>

namespace zelvora {

// The engine's lifecycle states, in the engine's order.
enum class PageLifecycle { kActive, kFrozen, kDiscarded };

struct TabSleepFacts {
  bool current = false;  // the tab shown: the engine never lets it sleep
  // Never loaded (a tab waiting for its first selection): nothing to put to sleep.
  bool waitingForFirstLoad = false;
  PageLifecycle state = PageLifecycle::kActive;
  // What the engine recommends: it stays Active while the page plays audio or loads, and Frozen
  // while the page has form input that a reload would lose.
  PageLifecycle recommended = PageLifecycle::kActive;
  bool audible = false;
  // The page analysis reads its document, or one of the page's dialogs is open.
  bool inUse = false;
  std::int64_t idleMs = 0;  // since the tab was last current
};

enum class SleepStep { kNone, kFreeze, kDiscard };

// The step an idle tab takes now, with "TabDiscardMinutes" (0 or less: never). A tab is frozen
// once it has been out of sight that long, and discarded on a later check when the engine agrees.
SleepStep IdleSleepStep(const TabSleepFacts& facts, int discardMinutes);

// The user puts a tab to sleep at once: discarded straight away, whatever the engine recommends
// and however long the tab was out of sight; the shown tab, one never loaded or already
// discarded, and the page under analysis stay as they are.
SleepStep SleepNowStep(const TabSleepFacts& facts);

}  // namespace zelvora
