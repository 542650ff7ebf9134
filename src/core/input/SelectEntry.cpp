#include "core/input/SelectEntry.h"

#include <filesystem>
#include <system_error>

#include "core/shell/ProfileFile.h"
#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"
#include "core/tools/KeywordList.h"

namespace zelvora {

namespace {

// The section that names the current entry; it is never an entry itself.
constexpr std::string_view kSelectSection = ".";

bool FlagOn(const std::string& path, std::string_view section, std::string_view key) {
  return ReadProfileInt(path, section, key, 0) == 1;
}

// "Front" or "Back" as a template: the escapes first, so that a "\n" the selection itself
// carries is not decoded, then every "%1" in one pass, so that a "%1" in the selection stays.
std::string ExpandTemplate(std::string_view pattern, std::string_view text) {
  const std::string decoded = DecodeCaptionEscapes(pattern, true);
  std::string result;
  result.reserve(decoded.size() + text.size());
  std::size_t start = 0;
  for (std::size_t found = decoded.find("%1"); found != std::string::npos;
       found = decoded.find("%1", start)) {
    result.append(decoded, start, found - start);
    result += text;
    start = found + 2;
  }
  result.append(decoded, start);
  return result;
}

}  // namespace

SelectEntry ReadSelectEntry(const std::string& path, std::string_view name) {
  SelectEntry entry;
  entry.name = std::string(name);
  entry.front = ReadProfileString(path, name, "Front", "");
  entry.back = ReadProfileString(path, name, "Back", "");
  entry.regExp = FlagOn(path, name, "RegExp");
  entry.source = FlagOn(path, name, "Source");
  return entry;
}

SelectEntry ReadCurrentSelectEntry(const std::string& path) {
  const SearchList list = ReadSearchList(path);
  if (list.selected < 0)
    return {};
  return ReadSelectEntry(path, list.entries[static_cast<std::size_t>(list.selected)]);
}

FileWriteResult WriteSelectEntry(const std::string& path, const SelectEntry& entry) {
  if (!ProfileFile::IsWritableSection(entry.name) || EqualsIgnoreCase(entry.name, kSelectSection))
    return {false, "\"" + entry.name + "\" cannot name an entry of the select list"};
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    FileWriteResult created = WriteSearchListAs(std::string(), path);
    if (!created.ok)
      return created;
  }
  ProfileUpdate update(path);
  bool accepted = WriteProfileString(path, entry.name, "Front", entry.front);
  accepted = WriteProfileString(path, entry.name, "Back", entry.back) && accepted;
  accepted = WriteProfileInt(path, entry.name, "RegExp", entry.regExp ? 1 : 0) && accepted;
  accepted = WriteProfileInt(path, entry.name, "Source", entry.source ? 1 : 0) && accepted;
  if (!update.Commit())
    return {false, update.ErrorText()};
  if (!accepted)
    return {false, "the entry \"" + entry.name + "\" could not be written to " + path};
  return {true, {}};
}

std::string EditSelection(std::string_view text, const SelectEntry& entry) {
  if (text.empty())
    return {};
  if (!entry.regExp)
    return entry.front + std::string(text) + entry.back;
  return ExpandTemplate(entry.front, text) + std::string(text) + ExpandTemplate(entry.back, text);
}

}  // namespace zelvora
