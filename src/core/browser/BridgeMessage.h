#pragma once

// The messages of the bridge script that runs in every frame of every page. The script writes
// them to the console of the page's isolated world; a message counts only when it starts with
// the secret of this run, which page scripts never see, so a page cannot forge one.
//
// Format: secret "|" kind "|" frame path "|" document token "|" x "|" y "|" url "|" title, each
// text field percent-encoded (encodeURIComponent), so "|" never occurs inside a field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvora {

enum class BridgeKind {
  kReady,  // the document has a body: the frame's DocumentComplete
  kMouseDown,
  kMouseMove,
  kMouseUp,
  kSelectStart,
  kFocus,
  kBeforeUnload,
  kUnload,
};

struct BridgeMessage {
  BridgeKind kind = BridgeKind::kReady;
  std::string framePath;
  std::string document;
  int x = 0;
  int y = 0;
  std::string url;
  std::string title;
};

// The bridge's word on one of the program's requests: its answer, or how far it has got.
//
// Formats: secret "|answer|" id "|" frame path "|" document token "|" payload, where the path and
// the token are percent-encoded and the payload is the rest of the text as it stands (it may hold
// "|"); secret "|progress|" id "|" done "|" total.
struct BridgeAnswer {
  std::uint32_t id = 0;
  bool progress = false;
  std::string framePath;
  std::string document;
  std::string payload;
  int done = 0;
  int total = 0;
};
// Nothing unless the text is a well-formed answer or progress line carrying `secret`; ids and
// counts are decimal numbers (ids 1 to 2^32 - 1, counts clamped to the int range).
std::optional<BridgeAnswer> ParseBridgeAnswer(std::string_view text, std::string_view secret);

// 32 random hexadecimal digits from the system's random source.
std::string MakeBridgeSecret();

// Nothing unless the text is a well-formed message carrying `secret` (an empty secret accepts
// nothing). Kinds are the lower-case words "ready", "mousedown", "mousemove", "mouseup",
// "selectstart", "focus", "beforeunload", "unload". A frame path is empty or
// numbers joined by "."; coordinates outside the int range are clamped; invalid
// percent-escapes make the message invalid.
std::optional<BridgeMessage> ParseBridgeMessage(std::string_view text, std::string_view secret);

// Decodes %XX escapes; nothing for a malformed escape.
std::optional<std::string> PercentDecode(std::string_view text);

}  // namespace zelvora
