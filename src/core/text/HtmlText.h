#pragma once

// Text inside HTML: escaping what a page or a user wrote so that it stays text, and decoding the
// character references that files written by other programs carry.

#include <string>
#include <string_view>

namespace zelvora {

// Appends `text` with & < > " ' written as references, so that it is text in an element and in a
// quoted attribute alike.
void AppendHtmlEscaped(std::string& out, std::string_view text);

// `text` with the references &amp; &lt; &gt; &quot; &apos; (names in any case) and the
// numeric &#NNN; and &#xHH; decoded to UTF-8. A number that names no character (0, a surrogate,
// beyond U+10FFFF) becomes U+FFFD; anything else that starts with "&" stays as it is.
std::string DecodeHtmlEntities(std::string_view text);

}  // namespace zelvora
