#include "core/text/Utf8.h"

#include <algorithm>

namespace zelvora {

namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

bool IsBlankOrControl(unsigned char c) {
  return c <= 0x20 || c == 0x7F;
}

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

}  // namespace

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size())
    return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (pos + length > text.size())
    return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[pos + i])))
      return 1;
  }
  return length;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos))
    ++count;
  return count;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes)
    return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharLengthAt(text, end);
    if (next > maxBytes)
      break;
    end = next;
  }
  return text.substr(0, end);
}

std::string_view TrimBlanksAndControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(static_cast<unsigned char>(text[begin])))
    ++begin;
  while (end > begin && IsBlankOrControl(static_cast<unsigned char>(text[end - 1])))
    --end;
  return text.substr(begin, end - begin);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ')
    --end;
  return text.substr(0, end);
}

int AsciiHexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](char c) { return AsciiLower(c); });
  return result;
}

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), [](char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
  });
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::string ShortenText(std::string_view text, int max) {
  if (max == -1 || text.size() <= static_cast<std::size_t>(std::max(max, 0))) {
    return std::string(text);
  }
  std::string result;
  int taken = 0;
  for (std::size_t pos = 0; pos < text.size() && taken < max;) {
    const std::size_t length = CharLengthAt(text, pos);
    const std::string_view character = text.substr(pos, length);
    pos += length;
    if (character == " " || character == kFullWidthSpace)
      continue;
    result += character;
    ++taken;
  }
  return result + "...";
}

}  // namespace zelvora
