// Feeds "pattern \0 subject \0 template" through the whole dialect: compiling, finding every
// match, replacing, escaping and the bracket check must neither crash nor break their promises.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/text/Regex.h"

namespace {

using zelvora::Regex;
using zelvora::RegexBracketError;

// The part of `input` up to the next NUL, which `input` then drops.
std::string_view TakePart(std::string_view& input) {
  const std::size_t end = input.find('\0');
  const std::string_view part = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return part;
}

void FindAll(const Regex& regex, std::string_view subject) {
  std::size_t count = 0;
  std::size_t lastEnd = 0;
  for (auto match = regex.FindFirst(subject); match; match = regex.FindNext(subject, *match)) {
    Check(match->Position() >= 1 && match->Position() - 1 >= lastEnd);
    Check(match->Position() - 1 + match->Length() <= subject.size());
    for (int group = 1; group <= zelvora::kRegexMaxGroups; ++group) {
      const auto span = match->Group(group);
      Check(!span.matched || span.position - 1 + span.length <= subject.size());
    }
    lastEnd = match->Position() - 1 + match->Length();
    Check(++count <= subject.size() + 1);
  }
}

void CheckEscape(std::string_view text) {
  const Regex escaped(zelvora::RegexEscape(text));
  if (!escaped.IsValid()) {
    // Only text that is not UTF-8 cannot be a pattern.
    Check(escaped.Error().find("UTF-8 error") != std::string::npos);
    return;
  }
  const auto match = escaped.FindFirst(text);
  Check(match && match->Position() == 1 && match->Length() == text.size());
}

void CheckBrackets(std::string_view pattern) {
  const auto result = zelvora::CheckRegexBrackets(pattern);
  switch (result.error) {
    case RegexBracketError::kNone:
    case RegexBracketError::kUnclosedParen:
      Check(result.position == 0);
      break;
    case RegexBracketError::kUnclosedClass:
      Check(result.position >= 1 && pattern[result.position - 1] == '[');
      break;
    case RegexBracketError::kUnopenedParen:
      Check(result.position >= 1 && pattern[result.position - 1] == ')');
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view whole(reinterpret_cast<const char*>(data), size);
  std::string_view rest = whole;
  const std::string_view pattern = TakePart(rest);
  const std::string_view subject = TakePart(rest);
  const std::string_view templ = rest;

  const Regex regex(pattern);
  Check(regex.IsValid() == regex.Error().empty());
  Check(regex.ErrorPosition() <= pattern.size() + 1);
  FindAll(regex, subject);
  const std::string replaced = regex.ReplaceAll(subject, templ);
  if (!regex.IsValid())
    Check(replaced == subject);
  regex.ReplaceFirst(subject, templ);
  Check(Regex::Cached(pattern)->IsValid() == regex.IsValid());

  CheckEscape(whole);
  CheckBrackets(pattern);
  return 0;
}
