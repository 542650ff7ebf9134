#include "core/shell/ProfileFile.h"

#include <algorithm>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

enum class LineKind { kOther, kSection, kKey };

struct LineInfo {
  LineKind kind = LineKind::kOther;
  std::string_view name;
  std::string_view value;
};

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

LineInfo Classify(std::string_view line) {
  const std::string_view trimmed = TrimBlanksAndControls(line);
  if (trimmed.empty() || trimmed.front() == ';')
    return {};
  if (trimmed.front() == '[') {
    // A header without its "]" still opens the section, as it always has.
    std::string_view name = trimmed.substr(1);
    name = name.substr(0, name.find(']'));
    return {LineKind::kSection, TrimBlanksAndControls(name), {}};
  }
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos)
    return {};
  const std::string_view name = TrimBlanksAndControls(trimmed.substr(0, equals));
  if (name.empty())
    return {};
  return {LineKind::kKey, name, Unquote(TrimBlanksAndControls(trimmed.substr(equals + 1)))};
}

bool IsBlankLine(std::string_view line) {
  return TrimBlanksAndControls(line).empty();
}

std::string Concat(std::string_view a, std::string_view b, std::string_view c) {
  std::string text;
  text.reserve(a.size() + b.size() + c.size());
  text.append(a).append(b).append(c);
  return text;
}

}  // namespace

std::size_t ProfileFile::FoldedHash::operator()(std::string_view text) const {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a: short names, no need for more
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(AsciiLower(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

bool ProfileFile::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsIgnoreCase(a, b);
}

ProfileFile ProfileFile::Parse(std::string_view bytes) {
  // Some editors add a mark in front of one already there; all of them go, or the first line
  // would read differently once the file is written back without them.
  while (bytes.starts_with(kByteOrderMark))
    bytes.remove_prefix(kByteOrderMark.size());
  ProfileFile file;
  Section* current = nullptr;
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    std::string_view line = bytes.substr(0, newline);
    bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);

    const LineInfo info = Classify(line);
    if (info.kind == LineKind::kSection) {
      file.sectionIndex_.try_emplace(std::string(info.name), file.sections_.size());
      current = &file.sections_.emplace_back();
    } else if (current == nullptr) {
      file.preamble_.emplace_back(line);
      continue;
    } else if (info.kind == LineKind::kKey) {
      current->keys.try_emplace(std::string(info.name), current->lines.size());
      current->lastKeyLine = current->lines.size();
    }
    current->lines.emplace_back(line);
  }
  return file;
}

void ProfileFile::IndexSections() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    sectionIndex_.try_emplace(std::string(Classify(sections_[i].lines[0]).name), i);
  }
}

void ProfileFile::IndexKeys(Section& section) {
  section.keys.clear();
  section.lastKeyLine = 0;
  for (std::size_t i = 1; i < section.lines.size(); ++i) {
    const LineInfo info = Classify(section.lines[i]);
    if (info.kind != LineKind::kKey)
      continue;
    section.keys.try_emplace(std::string(info.name), i);
    section.lastKeyLine = i;
  }
}

ProfileFile::Section* ProfileFile::FindSection(std::string_view name) {
  const auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
  const auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> ProfileFile::Find(std::string_view section,
                                                  std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr)
    return std::nullopt;
  const auto it = found->keys.find(key);
  if (it == found->keys.end())
    return std::nullopt;
  return Classify(found->lines[it->second]).value;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const auto it = sectionIndex_.find(Classify(sections_[i].lines[0]).name);
    if (it->second == i)
      names.push_back(it->first);
  }
  return names;
}

std::vector<std::string> ProfileFile::SectionHeaders() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_)
    names.emplace_back(Classify(section.lines[0]).name);
  return names;
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Section* found = FindSection(section);
  if (found == nullptr)
    return names;
  for (std::size_t i = 1; i < found->lines.size(); ++i) {
    const LineInfo info = Classify(found->lines[i]);
    if (info.kind != LineKind::kKey)
      continue;
    const auto it = found->keys.find(info.name);
    if (it->second == i)
      names.push_back(it->first);
  }
  return names;
}

bool ProfileFile::IsWritableKey(std::string_view key) {
  const std::string_view trimmed = TrimBlanksAndControls(key);
  return !trimmed.empty() && trimmed.front() != '[' && trimmed.front() != ';' &&
         key.find_first_of("=\r\n") == std::string_view::npos;
}

bool ProfileFile::IsWritableSection(std::string_view section) {
  return !TrimBlanksAndControls(section).empty() &&
         section.find_first_of("]\r\n") == std::string_view::npos;
}

std::string ProfileFile::FlattenLineBreaks(std::string_view value) {
  std::string flat;
  flat.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
      ++i;
    flat += (value[i] == '\r' || value[i] == '\n') ? ' ' : value[i];
  }
  return flat;
}

bool ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  Section* found = FindSection(section);
  if (found == nullptr) {
    sectionIndex_.try_emplace(std::string(section), sections_.size());
    Section& added = sections_.emplace_back();
    added.lines.push_back(Concat("[", section, "]"));
    added.lines.push_back(Concat(key, "=", value));
    added.keys.try_emplace(std::string(key), 1);
    added.lastKeyLine = 1;
    return true;
  }
  const auto it = found->keys.find(key);
  if (it != found->keys.end()) {
    std::string line = Concat(it->first, "=", value);
    if (found->lines[it->second] == line)
      return false;
    found->lines[it->second] = std::move(line);
    return true;
  }
  // New keys go after the last key, so that blank lines and comments that close the section
  // stay where they are. Only lines after the last key move, and none of them is a key.
  std::size_t at = found->lastKeyLine;
  if (at == 0) {
    at = found->lines.size() - 1;
    while (at > 0 && IsBlankLine(found->lines[at]))
      --at;
  }
  ++at;
  found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at),
                      Concat(key, "=", value));
  found->keys.try_emplace(std::string(key), at);
  found->lastKeyLine = at;
  return true;
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
  Section* found = FindSection(section);
  if (found == nullptr || !found->keys.contains(key))
    return false;
  // Every line of the key goes, so that a later duplicate cannot resurface once the first is gone.
  std::erase_if(found->lines, [&](const std::string& line) {
    const LineInfo info = Classify(line);
    return info.kind == LineKind::kKey && EqualsIgnoreCase(info.name, key);
  });
  IndexKeys(*found);
  return true;
}

bool ProfileFile::DeleteSection(std::string_view section) {
  if (!sectionIndex_.contains(section))
    return false;
  std::erase_if(sections_, [&](const Section& candidate) {
    return EqualsIgnoreCase(Classify(candidate.lines[0]).name, section);
  });
  IndexSections();
  return true;
}

std::string ProfileFile::Serialize() const {
  std::size_t size = 0;
  for (const std::string& line : preamble_)
    size += line.size() + kLineEnd.size();
  for (const Section& section : sections_) {
    for (const std::string& line : section.lines)
      size += line.size() + kLineEnd.size();
  }
  std::string bytes;
  bytes.reserve(size);
  const auto append = [&bytes](const std::string& line) {
    bytes += line;
    bytes += kLineEnd;
  };
  std::for_each(preamble_.begin(), preamble_.end(), append);
  for (const Section& section : sections_) {
    std::for_each(section.lines.begin(), section.lines.end(), append);
  }
  return bytes;
}

}  // namespace zelvora
