#pragma once

// Runs the real executable from the outside, as a user's session or the desktop would.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelvora::e2e {

// A copy of the zelvora executable and its default theme in a fresh temporary folder, removed
// again at the end.
class InstalledCopy {
 public:
  InstalledCopy();
  ~InstalledCopy();
  InstalledCopy(const InstalledCopy&) = delete;
  InstalledCopy& operator=(const InstalledCopy&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path Executable() const { return folder_ / "zelvora"; }

 private:
  std::filesystem::path folder_;
};

class Process {
 public:
  // Starts `executable` with `arguments`, headless (offscreen platform, no sandbox as root).
  Process(const std::filesystem::path& executable, const std::vector<std::string>& arguments);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  void Signal(int signalNumber) const;
  // The raw wait status once the process has ended, or nothing when `timeout` passed first.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
};

}  // namespace zelvora::e2e
