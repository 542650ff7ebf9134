#include "core/text/HtmlText.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

struct NamedReference {
  std::string_view name;
  char character;
};

constexpr std::array<NamedReference, 5> kNamedReferences = {{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
}};

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

void AppendUtf8(std::string& out, char32_t code) {
  if (code == 0 || code > kLastCodePoint || (code >= 0xD800 && code <= 0xDFFF))
    code = kReplacementCharacter;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The character a numeric reference's digits name ("39", "x27"); false when they are no number.
bool NumericReference(std::string_view digits, char32_t& code) {
  int base = 10;
  if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty())
    return false;
  code = 0;
  for (const char digit : digits) {
    const int value =
        base == 16 ? AsciiHexValue(digit) : (digit >= '0' && digit <= '9' ? digit - '0' : -1);
    if (value < 0)
      return false;
    // Past the last character every number means the same: no character.
    if (code <= kLastCodePoint)
      code = code * static_cast<char32_t>(base) + static_cast<char32_t>(value);
  }
  return true;
}

// What a reference (the text between "&" and ";") stands for; nothing when it is none.
std::optional<std::string> ReferenceText(std::string_view reference) {
  if (reference.starts_with('#')) {
    char32_t code = 0;
    if (!NumericReference(reference.substr(1), code))
      return std::nullopt;
    std::string text;
    AppendUtf8(text, code);
    return text;
  }
  for (const NamedReference& named : kNamedReferences) {
    if (EqualsIgnoreCase(reference, named.name))
      return std::string(1, named.character);
  }
  return std::nullopt;
}

}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
}

std::string DecodeHtmlEntities(std::string_view text) {
  // A reference longer than this is none; the limit keeps a stray "&" from searching far.
  constexpr std::size_t kReferenceMax = 12;
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t amp = std::min(text.find('&', pos), text.size());
    out.append(text.substr(pos, amp - pos));
    if (amp == text.size())
      break;
    pos = amp + 1;
    const std::size_t semicolon = text.substr(pos, kReferenceMax).find(';');
    if (semicolon == std::string_view::npos) {
      out += '&';
      continue;
    }
    const std::optional<std::string> decoded = ReferenceText(text.substr(pos, semicolon));
    if (decoded) {
      out += *decoded;
      pos += semicolon + 1;
    } else {
      out += '&';
    }
  }
  return out;
}

}  // namespace zelvora
