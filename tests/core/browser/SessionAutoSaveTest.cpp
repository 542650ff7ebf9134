#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "core/browser/SessionAutoSave.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

TEST(SessionAutoSaveTest, WritesAreCoalescedSpacedAndOnlyAfterChanges) {
  AutoSaveClock clock;
  EXPECT_EQ(clock.DueAt(), std::nullopt);
  // A burst of changes is written once, a delay after its first change: a page that keeps
  // changing its address cannot put the write off for ever.
  clock.Changed(1000);
  clock.Changed(2500);
  clock.Changed(3900);
  EXPECT_EQ(clock.DueAt(), 1000 + kAutoSaveDelayMs);
  clock.Written(4000);
  EXPECT_EQ(clock.DueAt(), std::nullopt);
  // A change right after a write waits its delay; the minimum spacing then holds too.
  clock.Changed(4100);
  EXPECT_EQ(clock.DueAt(), 4100 + kAutoSaveDelayMs);
  clock.Written(7100);
  clock.Changed(6000);  // a stamp from before the write (clocks read in another order)
  EXPECT_GE(*clock.DueAt(), 7100 + kAutoSaveMinIntervalMs);
  clock.Clear();
  EXPECT_EQ(clock.DueAt(), std::nullopt);
}

class SessionMarkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zelvora-marker-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = (folder_ / std::string(kSessionMarkerName)).string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
  std::string path_;
};

TEST_F(SessionMarkerTest, TellsACrashFromACleanEndAndFromAnotherInstance) {
  {
    SessionMarker run(path_);
    EXPECT_EQ(run.Inspect(), PreviousRun::kEndedCleanly);
    ASSERT_TRUE(run.Hold());
    // A second instance sees the marker held, may not take it, and leaves it alone.
    SessionMarker second(path_);
    EXPECT_EQ(second.Inspect(), PreviousRun::kStillRunning);
    EXPECT_FALSE(second.Hold());
    second.Remove();
    EXPECT_TRUE(fs::exists(path_));
    // The run goes without a clean end (a crash closes its descriptors).
  }
  SessionMarker next(path_);
  EXPECT_EQ(next.Inspect(), PreviousRun::kEndedUncleanly);
  ASSERT_TRUE(next.Hold());
  next.Remove();
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_EQ(SessionMarker(path_).Inspect(), PreviousRun::kEndedCleanly);

  // A crashed run's marker goes when the next run does not save as it goes.
  { ASSERT_TRUE(SessionMarker(path_).Hold()); }
  SessionMarker notSaving(path_);
  notSaving.Remove();
  EXPECT_FALSE(fs::exists(path_));
  // No folder to put it in: the run goes on without one.
  EXPECT_FALSE(SessionMarker((folder_ / "missing" / "m").string()).Hold());
}

}  // namespace
}  // namespace zelvora
