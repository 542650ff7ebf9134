#pragma once

// Keeping to one running instance: a per-user lock held by the first instance, and the message
// format in which a second start hands its switches over to it through a local socket.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

inline constexpr std::string_view kInstanceName = "Zelvora@Copperlark20050224";

// Sent first by a second start: restore the running window when it is minimised, and raise it
// when the value is "1".
inline constexpr std::uint32_t kActivateMessage = 0;
inline constexpr char kMessageAck = 0x06;
// A longer message is a broken or hostile peer: the connection is dropped.
inline constexpr std::uint32_t kMaxMessageBytes = 16u << 20;

// The folder for the lock and the socket: the user's runtime folder when the desktop gives one,
// else a folder of the user's own in the temporary folder, created private (0700). A folder
// that another user owns, or that is not private, is refused (empty result): the socket there
// would let someone else read the switches a second start hands over.
std::string PrivateRuntimeFolder(std::string_view xdgRuntimeFolder, std::string_view tempFolder,
                                 unsigned userId);

// The lock file and the socket carry the user id, so that two users on one machine each keep
// their own instance.
std::string InstanceLockPath(std::string_view runtimeFolder, unsigned userId);
std::string InstanceSocketPath(std::string_view runtimeFolder, unsigned userId);

class TInstanceLock {
 public:
  enum class State { kFirst, kRunning, kFailed };

  // Takes the lock without waiting: kFirst holds it until destruction, kRunning means another
  // process holds it, kFailed that the lock file cannot be created.
  explicit TInstanceLock(const std::string& path);
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock&) = delete;
  TInstanceLock& operator=(const TInstanceLock&) = delete;

  State GetState() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::kFailed;
};

struct SwitchMessage {
  std::uint32_t code = 0;
  // The value without its terminating NUL.
  std::string value;
};

// One message: the code and the byte count (both 32-bit little-endian), then the value and a NUL.
std::string EncodeSwitchMessage(std::uint32_t code, std::string_view value);

// Collects bytes from the socket and hands out every complete message.
class SwitchMessageDecoder {
 public:
  // False once the stream is broken (an oversized message); the connection should be dropped.
  bool Feed(std::string_view bytes);
  std::optional<SwitchMessage> Next();

 private:
  std::string buffer_;
  bool broken_ = false;
};

}  // namespace zelvora
