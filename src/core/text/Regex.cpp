#include "core/text/Regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// \C could end a match inside a character, which the byte positions promise never happens.
constexpr uint32_t kCompileOptions = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C;

// A user pattern must not be able to take the process's memory; past this the match just fails.
constexpr uint32_t kHeapLimitKiB = 64 * 1024;

constexpr std::string_view kOptionLetters = "imsxg-";

constexpr std::size_t kNone = std::string_view::npos;

// End of a "\Q...\E" run that starts at `pos` (the whole rest when "\E" is missing).
std::size_t QuotedEnd(std::string_view pattern, std::size_t pos) {
  const std::size_t close = pattern.find("\\E", pos + 2);
  return close == kNone ? pattern.size() : close + 2;
}

// End of whatever starts at `pos` inside which brackets and "(?" are literal: an escape, a
// quoted run or a "(?#...)" comment. `pos` itself when none starts there.
std::size_t InertEnd(std::string_view pattern, std::size_t pos) {
  if (pattern[pos] == '\\') {
    if (pattern.substr(pos + 1, 1) == "Q")
      return QuotedEnd(pattern, pos);
    return std::min(pos + 2, pattern.size());
  }
  if (pattern.substr(pos, 3) == "(?#") {
    const std::size_t close = pattern.find(')', pos + 3);
    return close == kNone ? pattern.size() : close + 1;
  }
  return pos;
}

// End of a POSIX class name like "[:alpha:]" at `pos` inside a character class, following the
// compiler's own rule for telling one from a literal '['; kNone when it is not one.
std::size_t PosixNameEnd(std::string_view pattern, std::size_t pos) {
  const char terminator = pattern[pos + 1];
  for (std::size_t i = pos + 2; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] == '\\' && (next == ']' || next == '\\')) {
      ++i;
    } else if ((pattern[i] == '[' && next == terminator) || pattern[i] == ']') {
      return kNone;
    } else if (pattern[i] == terminator && next == ']') {
      return i + 2;
    }
  }
  return kNone;
}

// Index of the ']' that closes the character class opened at `open`; kNone when unclosed.
std::size_t ClassEnd(std::string_view pattern, std::size_t open) {
  std::size_t i = open + 1;
  if (i < pattern.size() && pattern[i] == '^')
    ++i;
  if (i < pattern.size() && pattern[i] == ']')
    ++i;  // a ']' first in the class is literal
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\\') {
      i = InertEnd(pattern, i);
    } else if (c == ']') {
      return i;
    } else if (c == '[' && i + 1 < pattern.size() &&
               std::string_view(":.=").find(pattern[i + 1]) != kNone) {
      const std::size_t end = PosixNameEnd(pattern, i);
      i = end == kNone ? i + 1 : end;
    } else {
      ++i;
    }
  }
  return kNone;
}

// The pattern as PCRE2 reads it, and where its rewritten option settings came from, so that an
// error offset in it can be told in the user's own pattern.
struct Translation {
  struct Rewrite {
    std::size_t translatedStart;
    std::size_t translatedEnd;
    std::size_t originalStart;
    std::size_t originalEnd;
  };

  std::string text;
  std::vector<Rewrite> rewrites;

  std::size_t OriginalOffset(std::size_t offset) const {
    std::size_t shiftFrom = 0;
    std::size_t shiftTo = 0;
    for (const Rewrite& rewrite : rewrites) {
      if (offset < rewrite.translatedStart)
        break;
      if (offset < rewrite.translatedEnd)
        return rewrite.originalStart;
      shiftFrom = rewrite.translatedEnd;
      shiftTo = rewrite.originalEnd;
    }
    return shiftTo + (offset - shiftFrom);
  }
};

// Length of the option setting "(?letters)" or "(?letters:" at `pos` that uses "g", which
// PCRE2 does not know; 0 when there is none. Anything else after "(?" is left to PCRE2.
std::size_t GreedyOptionLength(std::string_view pattern, std::size_t pos) {
  if (pattern.substr(pos, 2) != "(?")
    return 0;
  std::size_t end = pos + 2;
  while (end < pattern.size() && kOptionLetters.find(pattern[end]) != kNone)
    ++end;
  if (end >= pattern.size() || (pattern[end] != ')' && pattern[end] != ':'))
    return 0;
  const std::string_view letters = pattern.substr(pos + 2, end - pos - 2);
  if (letters.find('g') == kNone || letters.find('-') != letters.rfind('-'))
    return 0;
  return end + 1 - pos;
}

// "g" on means greedy, which is PCRE2's "U" (ungreedy) switched off, and the other way round.
std::string RewriteGreedyOption(std::string_view setting) {
  const std::string_view letters = setting.substr(2, setting.size() - 3);
  std::string on;
  std::string off;
  bool afterMinus = false;
  for (const char letter : letters) {
    if (letter == '-') {
      afterMinus = true;
    } else if (letter == 'g') {
      (afterMinus ? on : off) += 'U';
    } else {
      (afterMinus ? off : on) += letter;
    }
  }
  std::string rewritten = "(?" + on;
  if (!off.empty())
    rewritten += "-" + off;
  rewritten += setting.back();
  return rewritten;
}

Translation TranslatePattern(std::string_view pattern) {
  Translation result;
  result.text.reserve(pattern.size() + 4);
  std::size_t i = 0;
  while (i < pattern.size()) {
    std::size_t end = InertEnd(pattern, i);
    if (end == i && pattern[i] == '[') {
      const std::size_t close = ClassEnd(pattern, i);
      end = close == kNone ? pattern.size() : close + 1;
    }
    if (end != i) {
      result.text.append(pattern.substr(i, end - i));
      i = end;
      continue;
    }
    if (const std::size_t length = GreedyOptionLength(pattern, i); length != 0) {
      const std::size_t translatedStart = result.text.size();
      result.text += RewriteGreedyOption(pattern.substr(i, length));
      result.rewrites.push_back({translatedStart, result.text.size(), i, i + length});
      i += length;
      continue;
    }
    result.text += pattern[i++];
  }
  return result;
}

// Line breaks are CR, LF or CR LF: the program's texts come with either.
pcre2_compile_context* CompileContext() {
  static const std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)>
      context = [] {
        pcre2_compile_context* created = pcre2_compile_context_create(nullptr);
        if (created != nullptr)
          pcre2_set_newline(created, PCRE2_NEWLINE_ANYCRLF);
        return std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)>(
            created, &pcre2_compile_context_free);
      }();
  return context.get();
}

pcre2_match_context* MatchContext() {
  static const std::unique_ptr<pcre2_match_context, decltype(&pcre2_match_context_free)> context =
      [] {
        pcre2_match_context* created = pcre2_match_context_create(nullptr);
        if (created != nullptr)
          pcre2_set_heap_limit(created, kHeapLimitKiB);
        return std::unique_ptr<pcre2_match_context, decltype(&pcre2_match_context_free)>(
            created, &pcre2_match_context_free);
      }();
  return context.get();
}

// One match block per thread: compiled patterns are shared between threads, match state not.
pcre2_match_data* ThreadMatchData() {
  thread_local const std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
      pcre2_match_data_create(kRegexMaxGroups + 1, nullptr), &pcre2_match_data_free);
  return data.get();
}

PCRE2_SPTR Bytes(std::string_view text) {
  return reinterpret_cast<PCRE2_SPTR>(text.data());
}

// Most recently used first; the index keys view the patterns kept by the entries themselves.
struct RegexCache {
  std::mutex mutex;
  std::list<std::shared_ptr<const Regex>> order;
  std::unordered_map<std::string_view, std::list<std::shared_ptr<const Regex>>::iterator> index;

  std::shared_ptr<const Regex> Find(std::string_view pattern) {
    const auto found = index.find(pattern);
    if (found == index.end())
      return nullptr;
    order.splice(order.begin(), order, found->second);
    return *found->second;
  }
};

}  // namespace

RegexSpan RegexMatch::Group(int group) const {
  if (group < 0 || group > kRegexMaxGroups)
    return {};
  return spans[static_cast<std::size_t>(group)];
}

std::string_view RegexMatch::GroupText(std::string_view subject, int group) const {
  const RegexSpan span = Group(group);
  if (!span.matched || span.position > subject.size() + 1)
    return {};
  return subject.substr(span.position - 1, span.length);
}

void Regex::CodeDeleter::operator()(pcre2_real_code_8* code) const {
  pcre2_code_free(code);
}

Regex::Regex(std::string_view pattern) : pattern_(pattern) {
  const Translation translation = TranslatePattern(pattern);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(Bytes(translation.text), translation.text.size(),
                                   kCompileOptions, &errorCode, &errorOffset, CompileContext());
  if (code == nullptr) {
    std::array<PCRE2_UCHAR, 256> message{};
    if (pcre2_get_error_message(errorCode, message.data(), message.size()) < 0)
      message[0] = 0;
    errorPosition_ = translation.OriginalOffset(errorOffset) + 1;
    error_ = reinterpret_cast<const char*>(message.data());
    error_ += " at position " + std::to_string(errorPosition_);
    return;
  }
  // Without JIT (unsupported platform, no executable memory) matching still works, only slower.
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  code_.reset(code);
}

Regex::~Regex() = default;

std::optional<RegexMatch> Regex::FindFrom(std::string_view subject, std::size_t offset) const {
  pcre2_match_data* data = ThreadMatchData();
  if (!code_ || data == nullptr || offset > subject.size())
    return std::nullopt;
  int rc =
      pcre2_match(code_.get(), Bytes(subject), subject.size(), offset, 0, data, MatchContext());
  // A deeply nested match can outgrow the JIT's stack; the interpreter has the heap.
  if (rc == PCRE2_ERROR_JIT_STACKLIMIT) {
    rc = pcre2_match(code_.get(), Bytes(subject), subject.size(), offset, PCRE2_NO_JIT, data,
                     MatchContext());
  }
  // No match, or a match or memory limit reached by a runaway pattern: nothing is found.
  if (rc < 0)
    return std::nullopt;
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
  // 0 means more groups than kept: every kept pair was written. Otherwise pairs from `rc` on may
  // hold a previous match's values.
  const std::size_t pairs = rc == 0 ? pcre2_get_ovector_count(data) : static_cast<std::size_t>(rc);
  RegexMatch match;
  for (std::size_t k = 0; k < pairs && k < match.spans.size(); ++k) {
    const PCRE2_SIZE start = ovector[2 * k];
    const PCRE2_SIZE end = ovector[2 * k + 1];
    if (start == PCRE2_UNSET)
      continue;
    match.spans[k] = {start + 1, end - start, true};
  }
  return match;
}

std::optional<RegexMatch> Regex::FindFirst(std::string_view subject) const {
  return FindFrom(subject, 0);
}

std::optional<RegexMatch> Regex::FindNext(std::string_view subject,
                                          const RegexMatch& previous) const {
  if (previous.Position() == 0)
    return std::nullopt;
  std::size_t offset = previous.Position() - 1 + previous.Length();
  if (previous.Length() == 0) {
    if (offset >= subject.size())
      return std::nullopt;
    // CR LF is one line break: stepping between its halves would let "$" match there again.
    offset += subject.substr(offset, 2) == "\r\n" ? 2 : CharLengthAt(subject, offset);
  }
  return FindFrom(subject, offset);
}

std::string Regex::Replace(std::string_view subject, std::string_view templ, bool all) const {
  std::string result;
  std::size_t copied = 0;
  for (auto match = FindFirst(subject); match; match = FindNext(subject, *match)) {
    const std::size_t start = match->Position() - 1;
    result.append(subject.substr(copied, start - copied));
    result += ExpandRegexTemplate(templ, subject, *match);
    copied = start + match->Length();
    if (!all)
      break;
  }
  result.append(subject.substr(copied));
  return result;
}

std::string Regex::ReplaceFirst(std::string_view subject, std::string_view templ) const {
  return Replace(subject, templ, false);
}

std::string Regex::ReplaceAll(std::string_view subject, std::string_view templ) const {
  return Replace(subject, templ, true);
}

std::shared_ptr<const Regex> Regex::Cached(std::string_view pattern) {
  static RegexCache cache;
  {
    const std::lock_guard lock(cache.mutex);
    if (auto found = cache.Find(pattern))
      return found;
  }
  // Compiled outside the lock so one slow pattern does not hold up every other thread.
  auto compiled = std::make_shared<const Regex>(pattern);
  const std::lock_guard lock(cache.mutex);
  if (auto found = cache.Find(pattern))
    return found;
  cache.order.push_front(compiled);
  cache.index.emplace(compiled->Pattern(), cache.order.begin());
  if (cache.order.size() > kRegexCacheSize) {
    cache.index.erase(cache.order.back()->Pattern());
    cache.order.pop_back();
  }
  return compiled;
}

std::string ExpandRegexTemplate(std::string_view templ, std::string_view subject,
                                const RegexMatch& match) {
  std::string result;
  result.reserve(templ.size());
  for (std::size_t i = 0; i < templ.size(); ++i) {
    const char next = i + 1 < templ.size() ? templ[i + 1] : '\0';
    if (templ[i] == '$' && ((next >= '0' && next <= '9') || next == '&')) {
      result += match.GroupText(subject, next == '&' ? 0 : next - '0');
      ++i;
    } else {
      result += templ[i];
    }
  }
  return result;
}

std::string RegexEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    // A backslash before any ASCII character that is not a letter, digit or '_' makes it
    // literal, so escaping all of them needs no list of metacharacters (and covers "(?x)"
    // blanks). Bytes of multi-byte characters are never special.
    const bool word = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                      (byte >= 'a' && byte <= 'z') || byte == '_';
    if (byte < 0x80 && !word)
      result += '\\';
    result += c;
  }
  return result;
}

RegexBracketCheck CheckRegexBrackets(std::string_view pattern) {
  std::size_t depth = 0;
  std::size_t i = 0;
  while (i < pattern.size()) {
    if (const std::size_t end = InertEnd(pattern, i); end != i) {
      i = end;
    } else if (pattern[i] == '[') {
      const std::size_t close = ClassEnd(pattern, i);
      if (close == kNone)
        return {RegexBracketError::kUnclosedClass, i + 1};
      i = close + 1;
    } else {
      if (pattern[i] == '(') {
        ++depth;
      } else if (pattern[i] == ')') {
        if (depth == 0)
          return {RegexBracketError::kUnopenedParen, i + 1};
        --depth;
      }
      ++i;
    }
  }
  if (depth > 0)
    return {RegexBracketError::kUnclosedParen, 0};
  return {};
}

bool RegexContains(std::string_view pattern, std::string_view subject) {
  return Regex::Cached(pattern)->FindFirst(subject).has_value();
}

std::optional<std::string> RegexGroupText(std::string_view pattern, std::string_view subject,
                                          int group) {
  const auto match = Regex::Cached(pattern)->FindFirst(subject);
  if (!match || !match->Group(group).matched)
    return std::nullopt;
  return std::string(match->GroupText(subject, group));
}

std::string RegexReplaceAll(std::string_view pattern, std::string_view subject,
                            std::string_view templ) {
  return Regex::Cached(pattern)->ReplaceAll(subject, templ);
}

}  // namespace zelvora
