#pragma once

// The program's regular-expression dialect: Perl syntax on PCRE2 in UTF-8 mode, with the inline
// modifier "g" for greedy quantifiers ("(?i-g)" makes every following quantifier lazy). Every
// position here is a 1-based BYTE position in the subject or pattern, so callers can cut the
// UTF-8 text directly. A subject with invalid UTF-8 is searched as it is: invalid bytes simply
// never match a character.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct pcre2_real_code_8;

namespace zelvora {

// Sub-expressions reported per match; a pattern may have more, but only these are kept.
inline constexpr int kRegexMaxGroups = 15;

// Compiled patterns kept by Regex::Cached; user patterns push out the least recently used.
inline constexpr std::size_t kRegexCacheSize = 256;

struct RegexSpan {
  std::size_t position = 0;  // 1-based byte position; 0 when the group took no part
  std::size_t length = 0;    // in bytes
  bool matched = false;
};

struct RegexMatch {
  // [0] is the whole match, [1] to [15] the sub-expressions.
  std::array<RegexSpan, kRegexMaxGroups + 1> spans;

  std::size_t Position() const { return spans[0].position; }
  std::size_t Length() const { return spans[0].length; }
  // An unset span for a group number out of range.
  RegexSpan Group(int group) const;
  // The group's text in the subject the match came from; empty for an unset group.
  std::string_view GroupText(std::string_view subject, int group) const;
};

class Regex {
 public:
  explicit Regex(std::string_view pattern);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  bool IsValid() const { return code_ != nullptr; }
  // The compiler's message followed by " at position N"; empty for a valid pattern.
  const std::string& Error() const { return error_; }
  // 1-based byte position in the pattern where compiling stopped; 0 for a valid pattern.
  std::size_t ErrorPosition() const { return errorPosition_; }
  const std::string& Pattern() const { return pattern_; }

  // Nothing is found by an invalid pattern.
  std::optional<RegexMatch> FindFirst(std::string_view subject) const;
  // Searches on after `previous` (found in the same subject). After an empty match the search
  // starts one whole character further on, so looping over FindNext always ends.
  std::optional<RegexMatch> FindNext(std::string_view subject, const RegexMatch& previous) const;

  // The subject with the first (or every) match replaced by the expanded template; the subject
  // unchanged when nothing matches or the pattern is invalid.
  std::string ReplaceFirst(std::string_view subject, std::string_view templ) const;
  std::string ReplaceAll(std::string_view subject, std::string_view templ) const;

  // The compiled pattern for `pattern` from a process-wide cache, so constant patterns compile
  // once. The same text gives the same object while it stays among the most recently used
  // kRegexCacheSize patterns. Invalid patterns are cached too (their error is kept).
  static std::shared_ptr<const Regex> Cached(std::string_view pattern);

 private:
  std::optional<RegexMatch> FindFrom(std::string_view subject, std::size_t offset) const;
  std::string Replace(std::string_view subject, std::string_view templ, bool all) const;

  struct CodeDeleter {
    void operator()(pcre2_real_code_8* code) const;
  };

  std::string pattern_;
  std::unique_ptr<pcre2_real_code_8, CodeDeleter> code_;
  std::string error_;
  std::size_t errorPosition_ = 0;
};

// Expands "$1" to "$9" to the groups' texts and "$0" or "$&" to the whole match; an unset group
// gives empty text, and a "$" followed by anything else stays as it is.
std::string ExpandRegexTemplate(std::string_view templ, std::string_view subject,
                                const RegexMatch& match);

// `text` with every character that could mean something in a pattern escaped, so the result
// matches `text` literally (also inside "(?x)").
std::string RegexEscape(std::string_view text);

// The bracket check run on a user pattern before compiling it, so the user is told where a
// bracket is missing. The numeric values are the codes the messages are chosen by.
enum class RegexBracketError {
  kNone = 0,
  kUnclosedParen = 1,  // a '(' never closed; position 0
  kUnclosedClass = 2,  // a '[' without its ']'; position of the '['
  kUnopenedParen = 3,  // a ')' without a '('; position of the ')'
};

struct RegexBracketCheck {
  RegexBracketError error = RegexBracketError::kNone;
  std::size_t position = 0;  // 1-based byte position in the pattern
};

RegexBracketCheck CheckRegexBrackets(std::string_view pattern);

// Helpers over the cache for the program's constant patterns. An invalid pattern finds nothing.
bool RegexContains(std::string_view pattern, std::string_view subject);
// The text of `group` (0 for the whole match) in the first match; nullopt when nothing matches
// or the group took no part.
std::optional<std::string> RegexGroupText(std::string_view pattern, std::string_view subject,
                                          int group);
std::string RegexReplaceAll(std::string_view pattern, std::string_view subject,
                            std::string_view templ);

}  // namespace zelvora
