#include "core/browser/BridgeMessage.h"

#include <array>
#include <climits>
#include <cstdint>
#include <random>
#include <utility>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::size_t kFieldCount = 8;

constexpr std::array<std::pair<std::string_view, BridgeKind>, 8> kKindWords = {{
    {"ready", BridgeKind::kReady},
    {"mousedown", BridgeKind::kMouseDown},
    {"mousemove", BridgeKind::kMouseMove},
    {"mouseup", BridgeKind::kMouseUp},
    {"selectstart", BridgeKind::kSelectStart},
    {"focus", BridgeKind::kFocus},
    {"beforeunload", BridgeKind::kBeforeUnload},
    {"unload", BridgeKind::kUnload},
}};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::optional<BridgeKind> KindOfWord(std::string_view word) {
  for (const auto& [kindWord, kind] : kKindWords) {
    if (kindWord == word)
      return kind;
  }
  return std::nullopt;
}

// Empty, or runs of digits joined by single dots.
bool IsFramePath(std::string_view path) {
  bool digitBefore = false;
  for (const char c : path) {
    if (IsDigit(c)) {
      digitBefore = true;
    } else if (c == '.' && digitBefore) {
      digitBefore = false;
    } else {
      return false;
    }
  }
  return path.empty() || digitBefore;
}

// An optional "-" and digits ("" is 0). Values past the int range are clamped; the running
// value stops growing once it is beyond any int, so no number of digits can overflow it.
std::optional<int> ParseCoordinate(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) {
    text.remove_prefix(1);
    if (text.empty())
      return std::nullopt;
  }
  constexpr std::int64_t kBeyondInt = static_cast<std::int64_t>(INT_MAX) + 1;
  std::int64_t value = 0;
  for (const char c : text) {
    if (!IsDigit(c))
      return std::nullopt;
    if (value < kBeyondInt)
      value = value * 10 + (c - '0');
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return static_cast<int>(value);
}

// A decimal id from 1 to 2^32 - 1.
std::optional<std::uint32_t> ParseId(std::string_view text) {
  if (text.empty() || text.size() > 10)
    return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (!IsDigit(c))
      return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value == 0 || value > UINT32_MAX)
    return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// Splits off the text up to the next "|"; nothing when there is none.
std::optional<std::string_view> TakeField(std::string_view& text) {
  const std::size_t bar = text.find('|');
  if (bar == std::string_view::npos)
    return std::nullopt;
  const std::string_view field = text.substr(0, bar);
  text.remove_prefix(bar + 1);
  return field;
}

}  // namespace

std::optional<BridgeAnswer> ParseBridgeAnswer(std::string_view text, std::string_view secret) {
  if (secret.empty())
    return std::nullopt;
  const auto head = TakeField(text);
  const auto kind = TakeField(text);
  const auto id = TakeField(text);
  if (!head || *head != secret || !kind || !id)
    return std::nullopt;
  BridgeAnswer answer;
  const auto number = ParseId(*id);
  if (!number)
    return std::nullopt;
  answer.id = *number;
  if (*kind == "progress") {
    const auto done = TakeField(text);
    const auto doneCount = done ? ParseCoordinate(*done) : std::nullopt;
    const auto totalCount = ParseCoordinate(text);
    if (!doneCount || !totalCount || text.empty())
      return std::nullopt;
    answer.progress = true;
    answer.done = *doneCount;
    answer.total = *totalCount;
    return answer;
  }
  if (*kind != "answer")
    return std::nullopt;
  const auto path = TakeField(text);
  const auto document = TakeField(text);
  std::optional<std::string> framePath = path ? PercentDecode(*path) : std::nullopt;
  std::optional<std::string> token = document ? PercentDecode(*document) : std::nullopt;
  if (!framePath || !IsFramePath(*framePath) || !token)
    return std::nullopt;
  answer.framePath = std::move(*framePath);
  answer.document = std::move(*token);
  answer.payload = std::string(text);
  return answer;
}

std::string MakeBridgeSecret() {
  constexpr char kHexDigits[] = "0123456789abcdef";
  std::random_device source;
  std::string secret;
  secret.reserve(32);
  for (int byte = 0; byte < 16; ++byte) {
    const unsigned value = source() & 0xFFu;
    secret += kHexDigits[value >> 4];
    secret += kHexDigits[value & 0xFu];
  }
  return secret;
}

std::optional<BridgeMessage> ParseBridgeMessage(std::string_view text, std::string_view secret) {
  if (secret.empty())
    return std::nullopt;
  std::array<std::string_view, kFieldCount> fields;
  std::size_t count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('|', start);
    if (count == kFieldCount)
      return std::nullopt;
    fields[count++] = text.substr(start, bar == std::string_view::npos ? bar : bar - start);
    if (bar == std::string_view::npos)
      break;
    start = bar + 1;
  }
  if (count != kFieldCount || fields[0] != secret)
    return std::nullopt;

  const std::optional<BridgeKind> kind = KindOfWord(fields[1]);
  std::optional<std::string> framePath = PercentDecode(fields[2]);
  std::optional<std::string> document = PercentDecode(fields[3]);
  const std::optional<int> x = ParseCoordinate(fields[4]);
  const std::optional<int> y = ParseCoordinate(fields[5]);
  std::optional<std::string> url = PercentDecode(fields[6]);
  std::optional<std::string> title = PercentDecode(fields[7]);
  if (!kind || !framePath || !IsFramePath(*framePath) || !document || !x || !y || !url || !title)
    return std::nullopt;
  return BridgeMessage{.kind = *kind,
                       .framePath = std::move(*framePath),
                       .document = std::move(*document),
                       .x = *x,
                       .y = *y,
                       .url = std::move(*url),
                       .title = std::move(*title)};
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] != '%') {
      decoded += text[pos];
      continue;
    }
    if (pos + 2 >= text.size())
      return std::nullopt;
    const int high = AsciiHexValue(text[pos + 1]);
    const int low = AsciiHexValue(text[pos + 2]);
    if (high < 0 || low < 0)
      return std::nullopt;
    decoded += static_cast<char>(high * 16 + low);
    pos += 2;
  }
  return decoded;
}

}  // namespace zelvora
