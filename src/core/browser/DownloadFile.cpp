#include "core/browser/DownloadFile.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/browser/DownloadRules.h"

namespace zelvora {

namespace {

constexpr int kRoundsMax = 100;

std::string Join(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

// A rename that fails with EEXIST instead of replacing. File systems without that mode are
// served by a look first: a file appearing in between there is the one case left open.
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS)
    return errno;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(to, error)))
    return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

DownloadPlacement PlaceDownload(const std::string& folder, const std::string& partName,
                                const std::string& name, bool replace) {
  const std::string from = Join(folder, partName);
  if (replace) {
    if (std::rename(from.c_str(), Join(folder, name).c_str()) == 0)
      return {true, name, {}};
    return {false, name, std::strerror(errno)};
  }
  const auto taken = [&folder](const std::string& candidate) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(Join(folder, candidate), error));
  };
  // Each round takes the first name free at that moment; losing a race means another round.
  for (int round = 0; round < kRoundsMax; ++round) {
    const std::string candidate = FreeDownloadName(name, taken);
    if (candidate.empty())
      return {false, name, "no free file name"};
    const int result = RenameWithoutReplacing(from, Join(folder, candidate));
    if (result == 0)
      return {true, candidate, {}};
    if (result != EEXIST)
      return {false, candidate, std::strerror(result)};
  }
  return {false, name, "every free file name was taken meanwhile"};
}

}  // namespace zelvora
