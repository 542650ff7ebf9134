#include "core/tools/KeywordList.h"

#include <algorithm>

#include "core/shell/UtilFunc.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The section of the search list that holds the current entry rather than being one.
constexpr std::string_view kSearchSelectSection = ".";

// The box of each list in the keyword menu, by list index (-1: no box).
constexpr std::array<int, 6> kMenuBoxOfList = {2, 0, 1, 3, -1, 5};
constexpr int kMenuBoxCount = 6;
constexpr int kMenuActionCount = 5;

// The lines of a list file, ended by CR LF, LF or a lone CR; empty ones left out.
std::vector<std::string> NonEmptyLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
    if (lineEnd > start)
      lines.emplace_back(text.substr(start, lineEnd - start));
    if (end == std::string_view::npos)
      break;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

// `message` with every "%1" replaced by `position`.
std::string WithPosition(std::string_view message, int position) {
  const std::string number = std::to_string(position);
  std::string result;
  result.reserve(message.size() + number.size());
  std::size_t start = 0;
  for (std::size_t found = message.find("%1"); found != std::string_view::npos;
       found = message.find("%1", start)) {
    result.append(message.substr(start, found - start));
    result += number;
    start = found + 2;
  }
  result.append(message.substr(start));
  return result;
}

}  // namespace

const KeywordListFiles* KeywordListOf(int index) {
  for (const KeywordListFiles& list : kKeywordLists) {
    if (list.index == index)
      return &list;
  }
  return nullptr;
}

bool TKeywordList::Load(const std::string& path) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content)
    return false;
  items = NonEmptyLines(*content);
  selected = -1;
  changed = false;
  return true;
}

FileWriteResult TKeywordList::Save(const std::string& path) const {
  std::size_t size = 0;
  for (const std::string& item : items)
    size += item.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& item : items) {
    bytes += item;
    bytes += "\r\n";
  }
  return WriteFileAtomic(path, bytes);
}

void TKeywordList::Add(int maximum) {
  Settle();
  if (!changed)
    return;
  const auto found = std::find_if(items.begin(), items.end(), [this](const std::string& item) {
    return EqualsIgnoreCase(item, text);
  });
  if (found == items.end()) {
    items.insert(items.begin(), text);
    if (selected >= 0)
      ++selected;
  } else if (selected != 0) {
    // Erased before inserting, so the iterator is not used after the vector moved.
    items.erase(found);
    items.insert(items.begin(), text);
    selected = 0;
  }
  const std::size_t keep = static_cast<std::size_t>(std::max(maximum, 0));
  if (items.size() > keep)
    items.resize(keep);
  if (selected >= static_cast<int>(items.size()))
    selected = -1;
  changed = false;
}

void TKeywordList::DeleteSelected() {
  if (selected < 0 || selected >= static_cast<int>(items.size()))
    return;
  items.erase(items.begin() + selected);
  // The edit field now shows a list item (or nothing), so there is no typed text left to take.
  changed = false;
  if (items.empty()) {
    selected = -1;
    text.clear();
    return;
  }
  selected = std::min(selected, static_cast<int>(items.size()) - 1);
  text = items[static_cast<std::size_t>(selected)];
}

void TKeywordList::Settle() {
  if (text.empty())
    changed = false;
}

void TKeywordList::Select(int index) {
  if (index < 0 || index >= static_cast<int>(items.size()))
    return;
  selected = index;
  text = items[static_cast<std::size_t>(index)];
  changed = false;
}

int KeywordMenuBox(int list) {
  if (list < 0 || list >= static_cast<int>(kMenuBoxOfList.size()))
    return -1;
  return kMenuBoxOfList[static_cast<std::size_t>(list)];
}

int KeywordCommandId(int list, KeywordAction action) {
  const int box = KeywordMenuBox(list);
  const int actionNumber = static_cast<int>(action);
  if (box < 0 || actionNumber < 0 || actionNumber >= kMenuActionCount - 1)
    return -1;
  return kKeywordCommandBase + kMenuActionCount * box + actionNumber;
}

std::optional<KeywordCommand> DecodeKeywordCommand(int id) {
  const int offset = id - kKeywordCommandBase;
  if (offset < 0 || offset >= kMenuBoxCount * kMenuActionCount - 1)
    return std::nullopt;
  const int box = offset / kMenuActionCount;
  const int action = offset % kMenuActionCount;
  if (action == kMenuActionCount - 1)
    return std::nullopt;
  const auto list = std::find(kMenuBoxOfList.begin(), kMenuBoxOfList.end(), box);
  if (list == kMenuBoxOfList.end())
    return std::nullopt;
  return KeywordCommand{static_cast<int>(list - kMenuBoxOfList.begin()),
                        static_cast<KeywordAction>(action)};
}

std::optional<int> ReloadCommandList(int id) {
  switch (id) {
    case 3127:
      return kListAddress;
    case 3121:
      return kListHistoryKey;
    case 3124:
      return kListAnalysisKey;
    case 3130:
      return kListSearchBar;
    case 3136:
      return kListSearchDialog;
    default:
      return std::nullopt;
  }
}

SearchList ReadSearchList(const std::string& path) {
  SearchList list;
  for (std::string& name : ProfileSectionNames(path)) {
    if (!EqualsIgnoreCase(name, kSearchSelectSection))
      list.entries.push_back(std::move(name));
  }
  if (list.entries.empty())
    return list;
  const std::string select = ReadProfileString(path, kSearchSelectSection, "Select", "");
  const auto found = std::find(list.entries.begin(), list.entries.end(), select);
  list.selected = found == list.entries.end() ? 0 : static_cast<int>(found - list.entries.begin());
  return list;
}

SearchEntry ReadSearchEntry(const std::string& path, std::string_view name) {
  return {std::string(name), ReadProfileString(path, name, "Front", ""),
          ReadProfileString(path, name, "Back", "")};
}

bool WriteSearchSelect(const std::string& path, std::string_view name) {
  const bool written = WriteProfileString(path, kSearchSelectSection, "Select", name);
  return FlushProfile(path) && written;
}

FileWriteResult WriteSearchListAs(const std::string& currentFile, const std::string& path) {
  // Read whole before anything is written, so that writing a list onto itself keeps it.
  const std::optional<std::string> current =
      currentFile.empty() ? std::nullopt : ReadWholeFile(currentFile);
  FileWriteResult result = WriteFileAtomic(path, current ? *current : "[.]\r\nSelect=\r\n");
  // The ini layer may hold the old list; make its next read look at the new file.
  if (result.ok)
    FlushProfile(path);
  return result;
}

std::string SearchUrl(const SearchEntry& entry, std::string_view keyword) {
  std::string url;
  url.reserve(entry.front.size() + keyword.size() + entry.back.size());
  url += entry.front;
  url += keyword;
  url += entry.back;
  return url;
}

std::string RegexCheckMessage(int code, int position, const std::array<std::string, 3>& messages) {
  switch (static_cast<RegexBracketError>(code)) {
    case RegexBracketError::kUnclosedParen:
      return messages[0];
    case RegexBracketError::kUnclosedClass:
      return WithPosition(messages[1], position);
    case RegexBracketError::kUnopenedParen:
      return WithPosition(messages[2], position);
    default:
      return {};
  }
}

}  // namespace zelvora
