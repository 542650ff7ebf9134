// Bridge messages and answers from arbitrary bytes: parsing never crashes, only texts that start
// with the secret are accepted, and a message written back from the parsed fields reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/browser/BridgeMessage.h"

namespace {

constexpr std::string_view kSecret = "0123456789abcdef0123456789abcdef";

std::string_view KindWord(zelvora::BridgeKind kind) {
  switch (kind) {
    case zelvora::BridgeKind::kReady:
      return "ready";
    case zelvora::BridgeKind::kMouseDown:
      return "mousedown";
    case zelvora::BridgeKind::kMouseMove:
      return "mousemove";
    case zelvora::BridgeKind::kMouseUp:
      return "mouseup";
    case zelvora::BridgeKind::kSelectStart:
      return "selectstart";
    case zelvora::BridgeKind::kFocus:
      return "focus";
    case zelvora::BridgeKind::kBeforeUnload:
      return "beforeunload";
    case zelvora::BridgeKind::kUnload:
      return "unload";
  }
  std::abort();
}

// Escapes every byte outside the unreserved ASCII set, as the bridge script does.
std::string PercentEncode(std::string_view text) {
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' || byte == '~') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0xF];
    }
  }
  return encoded;
}

std::string Format(const zelvora::BridgeMessage& message) {
  std::string text(kSecret);
  text += '|';
  text += KindWord(message.kind);
  text += '|' + PercentEncode(message.framePath) + '|' + PercentEncode(message.document);
  text += '|' + std::to_string(message.x) + '|' + std::to_string(message.y);
  text += '|' + PercentEncode(message.url) + '|' + PercentEncode(message.title);
  return text;
}

bool Same(const zelvora::BridgeMessage& a, const zelvora::BridgeMessage& b) {
  return a.kind == b.kind && a.framePath == b.framePath && a.document == b.document && a.x == b.x &&
         a.y == b.y && a.url == b.url && a.title == b.title;
}

void CheckMessage(std::string_view text) {
  const auto message = zelvora::ParseBridgeMessage(text, kSecret);
  if (!message)
    return;
  Check(text.starts_with(kSecret) && text.size() > kSecret.size() && text[kSecret.size()] == '|');
  const auto again = zelvora::ParseBridgeMessage(Format(*message), kSecret);
  Check(again && Same(*message, *again));
  Check(!zelvora::ParseBridgeMessage(text, kSecret.substr(1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckMessage(input);
  // Random bytes almost never start with the secret; give them the prefix to reach the fields.
  CheckMessage(std::string(kSecret) + "|" + std::string(input));
  Check(!zelvora::ParseBridgeMessage(input, ""));
  // Answers: never from a text without the secret, and an answer's payload is the text's tail.
  if (const auto answer =
          zelvora::ParseBridgeAnswer(std::string(kSecret) + "|" + std::string(input), kSecret);
      answer && !answer->progress)
    Check(input.ends_with(answer->payload));
  Check(!zelvora::ParseBridgeAnswer(input, ""));

  const auto decoded = zelvora::PercentDecode(input);
  Check(!decoded || decoded->size() <= input.size());
  Check(zelvora::PercentDecode(PercentEncode(input)) == std::string(input));
  return 0;
}
