#include "core/input/ScriptFile.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/shell/UtilFunc.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kSeparatorName = "-";
constexpr std::string_view kSubmenuPrefix = ".";
constexpr std::string_view kSubmenuItemPrefix = "..";
constexpr std::string_view kIncludePattern = "(?i)^\\s*Include:\\s*(.*)";

// The first `count` characters of `text`; a malformed byte counts as one character.
std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t taken = 0; taken < count && end < text.size(); ++taken)
    end += CharLengthAt(text, end);
  return std::string(text.substr(0, end));
}

bool SameAt(std::string_view text, std::size_t pos, std::string_view token, bool ignoreCase) {
  const std::string_view here = text.substr(pos, token.size());
  return ignoreCase ? EqualsIgnoreCase(here, token) : here == token;
}

enum class Replaced { kNone, kSome, kTooLong };

// Every `token` in `text` replaced by `value`; `text` stays as it is when the result would grow
// past the include path limit.
Replaced ReplaceToken(std::string& text, std::string_view token, std::string_view value,
                      bool ignoreCase) {
  std::vector<std::size_t> found;
  for (std::size_t pos = 0; pos + token.size() <= text.size();) {
    if (SameAt(text, pos, token, ignoreCase)) {
      found.push_back(pos);
      pos += token.size();
    } else {
      ++pos;
    }
  }
  if (found.empty())
    return Replaced::kNone;
  const std::size_t kept = text.size() - found.size() * token.size();
  if (kept + found.size() * value.size() > kScriptIncludePathMax)
    return Replaced::kTooLong;
  std::string result;
  result.reserve(kept + found.size() * value.size());
  std::size_t from = 0;
  for (const std::size_t pos : found) {
    result.append(text, from, pos - from).append(value);
    from = pos + token.size();
  }
  result.append(text, from);
  text = std::move(result);
  return Replaced::kSome;
}

std::string WithSlash(std::string_view folder) {
  return std::string(folder) + '/';
}

// The lines of a file's content, without their line ends; a final line end starts no line.
std::vector<std::string_view> SplitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    const std::size_t newline = content.find('\n');
    std::string_view line = content.substr(0, newline);
    content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

// The same file whatever way the path names it, so that a cycle is seen through "a/../a".
std::string FileIdentity(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

}  // namespace

std::vector<ScriptMenuEntry> ScriptMenuEntries(const std::vector<std::string>& sectionNames) {
  std::vector<ScriptMenuEntry> entries;
  bool submenuOpen = false;
  for (const std::string& name : sectionNames) {
    if (entries.size() >= static_cast<std::size_t>(kScriptEntryMax))
      break;
    if (name.empty() || name == kScriptSettingsSection)
      continue;
    ScriptMenuEntry entry;
    if (name.starts_with(kSubmenuItemPrefix)) {
      if (!submenuOpen)
        continue;
      const std::string_view rest = std::string_view(name).substr(kSubmenuItemPrefix.size());
      entry.inSubmenu = true;
      if (rest == kSeparatorName) {
        entry.kind = ScriptEntryKind::kSeparator;
      } else {
        entry.caption = FirstCharacters(rest, kScriptCaptionMax);
        entry.section = name;
      }
    } else if (name.starts_with(kSubmenuPrefix)) {
      entry.kind = ScriptEntryKind::kSubmenu;
      entry.caption =
          FirstCharacters(std::string_view(name).substr(kSubmenuPrefix.size()), kScriptCaptionMax);
      submenuOpen = true;
    } else if (name == kSeparatorName) {
      entry.kind = ScriptEntryKind::kSeparator;
    } else {
      entry.caption = FirstCharacters(name, kScriptCaptionMax);
      entry.section = name;
    }
    entry.id = static_cast<std::uint16_t>(kScriptEntryFirstId + entries.size());
    entries.push_back(std::move(entry));
  }
  return entries;
}

ScriptLanguage ClassifyScriptLanguage(std::string_view language) {
  if (EqualsIgnoreCase(language, kShortCutLanguage))
    return ScriptLanguage::kShortCut;
  if (EqualsIgnoreCase(language, kDefaultScriptLanguage) || EqualsIgnoreCase(language, "JScript"))
    return ScriptLanguage::kJavaScript;
  return ScriptLanguage::kOther;
}

TScriptFile TScriptFile::Read(const std::string& path) {
  TScriptFile file;
  file.path_ = path;
  if (path.empty())
    return file;
  if (const auto content = ReadWholeFile(path)) {
    file.exists_ = true;
    file.profile_ = ProfileFile::Parse(*content);
  }
  return file;
}

std::vector<ScriptMenuEntry> TScriptFile::MenuEntries() const {
  return ScriptMenuEntries(CapProfileNameList(profile_.SectionHeaders()));
}

Script TScriptFile::ScriptOf(std::string_view section, const ScriptFolders& folders) const {
  Script script;
  script.language = std::string(profile_.Find(section, kScriptLanguageKey).value_or(""));
  if (script.language.empty())
    script.language =
        std::string(profile_.Find(kScriptSettingsSection, kScriptLanguageKey).value_or(""));
  if (script.language.empty())
    script.language = kDefaultScriptLanguage;

  std::vector<std::string> chain{FileIdentity(path_)};
  int includes = 0;
  for (int key = 0; key <= kScriptLineKeyMax; ++key) {
    const auto line = profile_.Find(section, std::to_string(key));
    if (!line || line->empty())
      break;
    AppendLine(*line, folders, 0, chain, includes, script.code);
  }
  return script;
}

void TScriptFile::AppendLine(std::string_view line, const ScriptFolders& folders, int depth,
                             std::vector<std::string>& chain, int& includes,
                             std::string& code) const {
  const auto include = RegexGroupText(kIncludePattern, line, 1);
  if (!include) {
    code.append(line).append("\r\n");
    return;
  }
  // What cannot be included contributes nothing, like a file that cannot be read.
  if (depth >= kScriptIncludeDepthMax || includes >= kScriptIncludeMax)
    return;
  ++includes;
  const std::string path = ExpandIncludePath(TrimBlanksAndControls(*include), folders);
  const std::string identity = FileIdentity(path);
  if (std::find(chain.begin(), chain.end(), identity) != chain.end())
    return;
  const auto content = ReadWholeFile(path);
  if (!content)
    return;
  chain.push_back(identity);
  for (const std::string_view included : SplitLines(*content))
    AppendLine(included, folders, depth + 1, chain, includes, code);
  chain.pop_back();
}

std::string TScriptFile::ExpandIncludePath(std::string_view path,
                                           const ScriptFolders& folders) const {
  const std::string selfFolder = std::filesystem::path(path_).parent_path().string();
  const std::array<std::pair<std::string_view, std::string>, 3> builtIn = {{
      {"$ZelvoraDir$", WithSlash(folders.program)},
      {"$UserDir$", WithSlash(folders.user)},
      {"$SelfDir$", WithSlash(selfFolder.empty() ? "." : selfFolder)},
  }};
  std::string expanded(path);
  for (int round = 0; round < kScriptExpansionRounds; ++round) {
    bool changed = false;
    // The first name between two dollar signs that is one of the user's variables.
    for (std::size_t start = expanded.find('$'); start != std::string::npos && !changed;) {
      const std::size_t end = expanded.find('$', start + 1);
      if (end == std::string::npos)
        break;
      const std::string name = expanded.substr(start + 1, end - start - 1);
      const auto value = name.empty() || EqualsIgnoreCase(name, kScriptLanguageKey)
                             ? std::nullopt
                             : profile_.Find(kScriptSettingsSection, name);
      if (value && !value->empty()) {
        const Replaced replaced = ReplaceToken(expanded, "$" + name + "$", *value, false);
        if (replaced == Replaced::kTooLong)
          return expanded;
        changed = true;
      }
      start = end;
    }
    for (const auto& [token, folder] : builtIn) {
      const Replaced replaced = ReplaceToken(expanded, token, folder, true);
      if (replaced == Replaced::kTooLong)
        return expanded;
      changed = changed || replaced == Replaced::kSome;
    }
    if (!changed)
      break;
  }
  return expanded;
}

FileWriteResult CreateScriptFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error))
    return {true, {}};
  return WriteFileAtomic(path, kNewScriptContent);
}

}  // namespace zelvora
