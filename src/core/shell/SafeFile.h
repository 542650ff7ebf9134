#pragma once

// Whole-file reads and writes that never leave a half-written file behind. Every file the
// program writes goes through WriteFileAtomic: a crash or a full disk at any moment leaves either
// the old content or the new one, never a mix.

#include <optional>
#include <string>
#include <string_view>

namespace zelvora {

struct FileWriteResult {
  bool ok = false;
  std::string error;  // what went wrong, for logs and message boxes; empty on success
};

// Writes `bytes` to a temporary file in the target's folder, flushes it to the disk and renames
// it over `path`. A symlink is followed, so the link stays and its target gets the new content.
// The old file's permission bits are kept (0644 for a new file). On failure the old file is
// untouched and no temporary file is left.
FileWriteResult WriteFileAtomic(const std::string& path, std::string_view bytes);

enum class LockedReadStatus {
  kOk,
  kMissing,
  kLocked,  // someone else holds the lock: the caller decides whether to retry
  kError,
};

struct LockedRead {
  LockedReadStatus status = LockedReadStatus::kError;
  std::string content;
  std::string error;
};

// Reads the whole file while holding an exclusive advisory lock on it (flock), without waiting
// for the lock.
LockedRead ReadFileLocked(const std::string& path);

// The whole content, or nothing when the file cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace zelvora
