#include <gtest/gtest.h>

#include "core/browser/TabSleepRules.h"

namespace zelvora {
namespace {

constexpr std::int64_t kMinute = 60 * 1000;

TabSleepFacts IdleBackgroundTab(std::int64_t idleMs) {
  TabSleepFacts facts;
  facts.recommended = PageLifecycle::kFrozen;
  facts.idleMs = idleMs;
  return facts;
}

TEST(TabSleepRulesTest, AnIdleTabIsFrozenThenDiscardedWhenTheEngineAgrees) {
  EXPECT_EQ(IdleSleepStep(IdleBackgroundTab(30 * kMinute - 1), 30), SleepStep::kNone);
  TabSleepFacts facts = IdleBackgroundTab(30 * kMinute);
  EXPECT_EQ(IdleSleepStep(facts, 30), SleepStep::kFreeze);
  EXPECT_EQ(IdleSleepStep(facts, 0), SleepStep::kNone);
  EXPECT_EQ(IdleSleepStep(facts, -5), SleepStep::kNone);
  facts.state = PageLifecycle::kFrozen;
  // Form input a reload would lose: the engine keeps recommending Frozen.
  EXPECT_EQ(IdleSleepStep(facts, 30), SleepStep::kNone);
  facts.recommended = PageLifecycle::kDiscarded;
  EXPECT_EQ(IdleSleepStep(facts, 30), SleepStep::kDiscard);
  facts.state = PageLifecycle::kDiscarded;
  EXPECT_EQ(IdleSleepStep(facts, 30), SleepStep::kNone);
}

TEST(TabSleepRulesTest, TabsThatMustStayAwake) {
  const TabSleepFacts idle = IdleBackgroundTab(120 * kMinute);
  TabSleepFacts facts = idle;
  facts.audible = true;
  EXPECT_EQ(IdleSleepStep(facts, 1), SleepStep::kNone);
  // The engine holds a page that plays or loads Active.
  facts = idle;
  facts.recommended = PageLifecycle::kActive;
  EXPECT_EQ(IdleSleepStep(facts, 1), SleepStep::kNone);
  EXPECT_EQ(SleepNowStep(facts), SleepStep::kDiscard);
  for (bool TabSleepFacts::*flag :
       {&TabSleepFacts::current, &TabSleepFacts::waitingForFirstLoad, &TabSleepFacts::inUse}) {
    facts = idle;
    facts.*flag = true;
    EXPECT_EQ(IdleSleepStep(facts, 1), SleepStep::kNone);
    EXPECT_EQ(SleepNowStep(facts), SleepStep::kNone);
  }
  facts = idle;
  facts.state = PageLifecycle::kDiscarded;
  EXPECT_EQ(SleepNowStep(facts), SleepStep::kNone);
}

}  // namespace
}  // namespace zelvora
