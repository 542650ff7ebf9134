#include "core/browser/TabSleepRules.h"

namespace zelvora {

namespace {

constexpr std::int64_t kMsPerMinute = 60 * 1000;

bool MaySleep(const TabSleepFacts& facts) {
  return !facts.current && !facts.waitingForFirstLoad && !facts.inUse &&
         facts.state != PageLifecycle::kDiscarded;
}

}  // namespace

SleepStep IdleSleepStep(const TabSleepFacts& facts, int discardMinutes) {
  if (discardMinutes <= 0 || !MaySleep(facts) || facts.audible ||
      facts.idleMs < static_cast<std::int64_t>(discardMinutes) * kMsPerMinute)
    return SleepStep::kNone;
  if (facts.state == PageLifecycle::kActive)
    return facts.recommended == PageLifecycle::kActive ? SleepStep::kNone : SleepStep::kFreeze;
  return facts.recommended == PageLifecycle::kDiscarded ? SleepStep::kDiscard : SleepStep::kNone;
}

SleepStep SleepNowStep(const TabSleepFacts& facts) {
  return MaySleep(facts) ? SleepStep::kDiscard : SleepStep::kNone;
}

}  // namespace zelvora
