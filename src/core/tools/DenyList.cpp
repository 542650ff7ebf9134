#include "core/tools/DenyList.h"

#include <optional>

#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The blanks that separate the fields of a line (what "\s" means in an ASCII pattern; line
// ends never reach here).
bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool IsFlagChar(char c) {
  return c == 'r' || c == 'R' || (c >= '0' && c <= '9');
}

// "\" read as "/" and every run of "/" as one, so "a\\b", "a//b" and "a/b" are the same place.
std::string NormaliseSlashes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '\\')
      c = '/';
    if (c == '/' && !result.empty() && result.back() == '/')
      continue;
    result += c;
  }
  return result;
}

// Calls `onLine` for each line, ended by CR LF, CR or LF (a last line without an end too).
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
}

struct DenyLine {
  std::string_view flags;
  std::string_view pattern;
  std::string_view replacement;
};

// Flags (a run of "r" and digits), then up to two blank-separated fields: the pattern and the
// replacement. A line with more fields is not an entry at all.
std::optional<DenyLine> SplitDenyLine(std::string_view line) {
  DenyLine parts;
  std::size_t pos = 0;
  while (pos < line.size() && IsFlagChar(line[pos]))
    ++pos;
  parts.flags = line.substr(0, pos);
  std::string_view* fields[] = {&parts.pattern, &parts.replacement};
  for (std::string_view* field : fields) {
    while (pos < line.size() && IsFieldBlank(line[pos]))
      ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !IsFieldBlank(line[pos]))
      ++pos;
    *field = line.substr(start, pos - start);
  }
  while (pos < line.size() && IsFieldBlank(line[pos]))
    ++pos;
  if (pos != line.size())
    return std::nullopt;
  return parts;
}

std::optional<DenyEntry> CompileDenyLine(std::string_view line) {
  const std::optional<DenyLine> parts = SplitDenyLine(line);
  if (!parts || parts->pattern.empty())
    return std::nullopt;
  bool isRegex = false;
  std::string digits;
  for (const char c : parts->flags) {
    if (c == 'r' || c == 'R')
      isRegex = true;
    else
      digits += c;
  }
  DenyEntry entry;
  // No flags at all is a plain "let it through"; flags of only "r" name no action.
  if (parts->flags.empty())
    entry.code = kDenyNone;
  else
    entry.code = digits.empty() ? -1 : digits[0] - '0';
  entry.pattern =
      isRegex ? std::string(parts->pattern) : RegexEscape(NormaliseSlashes(parts->pattern));
  entry.replacement = std::string(parts->replacement);
  // Each entry gets its own compiled pattern: a long list would only churn the shared cache.
  auto compiled = std::make_shared<const Regex>(entry.pattern);
  if (compiled->IsValid())
    entry.compiled = std::move(compiled);
  return entry;
}

// CR LF for every line end, as the file has always been written.
std::string WithCrLf(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  bool first = true;
  ForEachLine(text, [&](std::string_view line) {
    if (!first)
      result += "\r\n";
    first = false;
    result += line;
  });
  return result;
}

}  // namespace

std::string ReadDenyList(const std::string& path) {
  LockedRead read = ReadFileLocked(path);
  if (read.status != LockedReadStatus::kOk)
    return {};
  return std::move(read.content);
}

bool SaveDenyList(const std::string& path, std::string_view text) {
  // An editor hands over its own line ends; only a change of content is worth a write.
  const std::string wanted = WithCrLf(text);
  const std::string stored = WithCrLf(ReadWholeFile(path).value_or(""));
  // Compared exactly: a pattern whose case alone was edited is a different pattern.
  if (TrimBlanksAndControls(wanted) == TrimBlanksAndControls(stored))
    return true;
  return WriteFileAtomic(path, wanted).ok;
}

std::vector<DenyEntry> CompileDenyList(std::string_view text) {
  std::vector<DenyEntry> entries;
  if (TrimBlanksAndControls(text).empty())
    return entries;
  ForEachLine(text, [&](std::string_view rawLine) {
    const std::string_view line = TrimBlanksAndControls(rawLine);
    if (line.empty() || line.starts_with(';'))
      return;
    if (std::optional<DenyEntry> entry = CompileDenyLine(line))
      entries.push_back(std::move(*entry));
  });
  return entries;
}

int CheckDenyList(const std::vector<DenyEntry>& entries, std::string& url) {
  if (entries.empty())
    return kDenyNone;
  const std::string subject = NormaliseSlashes(TrimBlanksAndControls(url));
  for (const DenyEntry& entry : entries) {
    if (entry.code < 0 || !entry.compiled || !entry.compiled->FindFirst(subject))
      continue;
    if (entry.code == kDenyRedirect)
      url = entry.replacement;
    return entry.code;
  }
  return kDenyNone;
}

namespace {

DenyOutcome RedirectOrStop(std::string replacement) {
  if (replacement.empty())
    return {DenyStep::kStop, {}};
  return {DenyStep::kRedirect, std::move(replacement)};
}

}  // namespace

DenyOutcome DenyNavigation(const std::vector<DenyEntry>& entries, std::string_view url,
                           bool tabShowedNothing) {
  std::string checked(url);
  switch (CheckDenyList(entries, checked)) {
    case kDenyStop:
      return {DenyStep::kStop, {}};
    case kDenyClose:
      return {DenyStep::kCloseTab, {}};
    case kDenyCloseNew:
      return tabShowedNothing ? DenyOutcome{DenyStep::kCloseTab, {}} : DenyOutcome{};
    case kDenyRedirect:
      return RedirectOrStop(std::move(checked));
    default:
      return {};
  }
}

DenyOutcome DenyCompletedDocument(const std::vector<DenyEntry>& entries,
                                  std::string_view firstUrl) {
  std::string checked(firstUrl);
  switch (CheckDenyList(entries, checked)) {
    case kDenyClose:
      return {DenyStep::kCloseTab, {}};
    case kDenyRedirect:
      return RedirectOrStop(std::move(checked));
    default:
      return {};
  }
}

}  // namespace zelvora
