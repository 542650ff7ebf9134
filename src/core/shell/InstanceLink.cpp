#include "core/shell/InstanceLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelvora {

namespace {

constexpr std::size_t kHeaderBytes = 8;

void PutUint32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t GetUint32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  }
  return value;
}

}  // namespace

std::string PrivateRuntimeFolder(std::string_view xdgRuntimeFolder, std::string_view tempFolder,
                                 unsigned userId) {
  if (!xdgRuntimeFolder.empty())
    return std::string(xdgRuntimeFolder);
  const std::string folder = std::string(tempFolder) + "/zelvora-" + std::to_string(userId);
  ::mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != userId ||
      (info.st_mode & 077) != 0) {
    return {};
  }
  return folder;
}

std::string InstanceLockPath(std::string_view runtimeFolder, unsigned userId) {
  return std::string(runtimeFolder) + "/" + std::string(kInstanceName) + "-" +
         std::to_string(userId) + ".lock";
}

std::string InstanceSocketPath(std::string_view runtimeFolder, unsigned userId) {
  return std::string(runtimeFolder) + "/" + std::string(kInstanceName) + "-" +
         std::to_string(userId) + ".socket";
}

TInstanceLock::TInstanceLock(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0)
    return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::kFirst;
  } else {
    state_ = errno == EWOULDBLOCK ? State::kRunning : State::kFailed;
  }
}

TInstanceLock::~TInstanceLock() {
  if (fd_ >= 0)
    ::close(fd_);
}

std::string EncodeSwitchMessage(std::uint32_t code, std::string_view value) {
  std::string message;
  PutUint32(message, code);
  PutUint32(message, static_cast<std::uint32_t>(value.size() + 1));
  message.append(value);
  message += '\0';
  return message;
}

bool SwitchMessageDecoder::Feed(std::string_view bytes) {
  if (!broken_)
    buffer_.append(bytes);
  return !broken_;
}

std::optional<SwitchMessage> SwitchMessageDecoder::Next() {
  if (broken_ || buffer_.size() < kHeaderBytes)
    return std::nullopt;
  const std::uint32_t length = GetUint32(std::string_view(buffer_).substr(4, 4));
  if (length > kMaxMessageBytes) {
    broken_ = true;
    buffer_.clear();
    return std::nullopt;
  }
  if (buffer_.size() < kHeaderBytes + length)
    return std::nullopt;
  SwitchMessage message;
  message.code = GetUint32(buffer_);
  const std::string_view data = std::string_view(buffer_).substr(kHeaderBytes, length);
  message.value = std::string(data.substr(0, data.find('\0')));
  buffer_.erase(0, kHeaderBytes + length);
  return message;
}

}  // namespace zelvora
