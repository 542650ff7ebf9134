#include "core/browser/SessionAutoSave.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>

namespace zelvora {

void AutoSaveClock::Changed(std::int64_t now) {
  if (!changedAt_)
    changedAt_ = now;
}

void AutoSaveClock::Written(std::int64_t now) {
  changedAt_.reset();
  writtenAt_ = now;
}

std::optional<std::int64_t> AutoSaveClock::DueAt() const {
  if (!changedAt_)
    return std::nullopt;
  const std::int64_t due = *changedAt_ + kAutoSaveDelayMs;
  return writtenAt_ ? std::max(due, *writtenAt_ + kAutoSaveMinIntervalMs) : due;
}

SessionMarker::~SessionMarker() {
  // Not a clean end by itself: only Remove says so. The lock goes with the descriptor.
  if (fd_ >= 0)
    close(fd_);
}

PreviousRun SessionMarker::Inspect() const {
  const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return PreviousRun::kEndedCleanly;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  close(fd);
  return held ? PreviousRun::kStillRunning : PreviousRun::kEndedUncleanly;
}

bool SessionMarker::Hold() {
  if (fd_ >= 0)
    return true;
  const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void SessionMarker::Remove() {
  // A marker left by a crashed run goes too; one that another instance holds stays.
  if (fd_ < 0 && !Hold())
    return;
  // Unlinked while still locked: no other instance can take the name over in between.
  unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
}

}  // namespace zelvora
