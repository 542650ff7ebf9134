#include "core/shell/SafeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelvora {

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr int kMaxSymlinkDepth = 40;  // the kernel's own limit for path resolution

std::string ErrorText(const std::string& what, const std::string& path, int error) {
  return what + " \"" + path + "\": " + std::strerror(error);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

// Follows symlinks ourselves rather than with realpath(): the final target need not exist yet
// (a dangling link still names where the file belongs).
std::optional<std::string> ResolveSymlinks(std::string path, std::string& error) {
  for (int depth = 0; depth < kMaxSymlinkDepth; ++depth) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
      return path;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0) {
      error = ErrorText("cannot read the link", path, errno);
      return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(length));
    path = (!target.empty() && target[0] == '/') ? target : FolderOf(path) + "/" + target;
  }
  error = ErrorText("too many levels of links at", path, ELOOP);
  return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReadAll(int fd, std::string& content) {
  struct stat st;
  if (fstat(fd, &st) == 0 && st.st_size > 0)
    content.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (got == 0)
      return true;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

FileWriteResult WriteFileAtomic(const std::string& path, std::string_view bytes) {
  FileWriteResult result;
  const std::optional<std::string> target = ResolveSymlinks(path, result.error);
  if (!target)
    return result;

  mode_t mode = kNewFileMode;
  struct stat old;
  if (stat(target->c_str(), &old) == 0)
    mode = old.st_mode & 07777;

  const std::size_t slash = target->rfind('/');
  const std::string name = slash == std::string::npos ? *target : target->substr(slash + 1);
  std::string temporary = FolderOf(*target) + "/." + name + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    result.error = ErrorText("cannot create a temporary file for", *target, error);
    return result;
  }

  const char* step = nullptr;
  if (fchmod(fd, mode) != 0) {
    step = "cannot set the permissions of";
  } else if (!WriteAll(fd, bytes)) {
    step = "cannot write";
  } else if (fsync(fd) != 0) {
    step = "cannot flush";
  }
  int error = step != nullptr ? errno : 0;
  if (close(fd) != 0 && step == nullptr) {
    step = "cannot close";
    error = errno;
  }
  if (step == nullptr && rename(temporary.c_str(), target->c_str()) != 0) {
    step = "cannot replace";
    error = errno;
  }
  if (step != nullptr) {
    unlink(temporary.c_str());
    result.error = ErrorText(step, *target, error);
    return result;
  }

  // The rename itself is only durable once the folder is flushed; failing that is not a reason
  // to report the write as failed, the content is in place.
  const int folder = open(FolderOf(*target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  result.ok = true;
  return result;
}

LockedRead ReadFileLocked(const std::string& path) {
  LockedRead result;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.status = errno == ENOENT ? LockedReadStatus::kMissing : LockedReadStatus::kError;
    result.error = ErrorText("cannot open", path, errno);
    return result;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    result.status = errno == EWOULDBLOCK ? LockedReadStatus::kLocked : LockedReadStatus::kError;
    result.error = ErrorText("cannot lock", path, errno);
    close(fd);
    return result;
  }
  if (ReadAll(fd, result.content)) {
    result.status = LockedReadStatus::kOk;
  } else {
    result.error = ErrorText("cannot read", path, errno);
    result.content.clear();
  }
  close(fd);  // closing the last descriptor releases the lock
  return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return std::nullopt;
  std::string content;
  const bool ok = ReadAll(fd, content);
  close(fd);
  if (!ok)
    return std::nullopt;
  return content;
}

}  // namespace zelvora
