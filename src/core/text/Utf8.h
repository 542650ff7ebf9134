#pragma once

// Text helpers for UTF-8 byte strings. Wherever the program counts characters, a multi-byte
// UTF-8 sequence counts as one character; malformed bytes count as one character each, so no
// input can make these functions read past the end or loop forever.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvora {

// Byte length of the character that starts at `pos` (1 for a malformed or truncated sequence,
// 0 at or past the end).
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// Number of characters in `text`.
std::size_t CharCount(std::string_view text);

// The longest prefix of `text` of at most `maxBytes` bytes that does not split a character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

// Blanks and control characters (bytes 0x00 to 0x20 and 0x7F) removed from both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

// Trailing blanks (0x20) removed.
std::string_view TrimTrailingBlanks(std::string_view text);

// ASCII case folding, as the file formats compare names.
char AsciiLower(char c);
// The value of a hexadecimal digit (either case), -1 for any other character.
int AsciiHexValue(char c);
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Shortens a title for display: unchanged when `max` is -1 or the text is at most `max` bytes;
// otherwise the first `max` characters, blanks (and the full-width blank U+3000) dropped
// without being counted, followed by "...".
std::string ShortenText(std::string_view text, int max);

}  // namespace zelvora
