#include "core/tools/TabList.h"

#include <algorithm>
#include <cstdio>

#include "core/text/HtmlText.h"
#include "core/text/Utf8.h"
#include "core/tools/TreeFile.h"

namespace zelvora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kCatalogMax = 255;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "digits," after the leading TABs: the folder that names the date and time.
bool IsFolderLine(std::string_view body) {
  std::size_t pos = 0;
  while (pos < body.size() && IsDigit(body[pos]))
    ++pos;
  return pos > 0 && pos < body.size() && body[pos] == ',';
}

}  // namespace

std::string FormatTabList(std::string_view dateTime, const std::vector<TabListEntry>& entries) {
  std::string text;
  AppendTreeLine(text, 0, true, true, dateTime, {});
  for (const TabListEntry& entry : entries)
    AppendTreeLine(text, 1, false, false, entry.caption, entry.url);
  return text;
}

std::vector<std::string> ParseTabList(std::string_view text) {
  std::vector<std::string> urls;
  for (TabListEntry& entry : ParseTabListEntries(text))
    urls.push_back(std::move(entry.url));
  return urls;
}

std::vector<TabListEntry> ParseTabListEntries(std::string_view text) {
  std::vector<TabListEntry> entries;
  for (const std::string_view line : TerminatedLines(text)) {
    const std::size_t bodyStart = std::min(line.find_first_not_of('\t'), line.size());
    const std::string_view body = line.substr(bodyStart);
    if (IsFolderLine(body))
      continue;
    const std::size_t tab = body.find('\t');
    if (tab == std::string_view::npos || tab == 0)
      continue;
    entries.push_back({std::string(body.substr(0, tab)),
                       std::string(TrimBlanksAndControls(body.substr(tab + 1)))});
  }
  return entries;
}

FileWriteResult WriteTabList(const std::string& path, std::string_view dateTime,
                             const std::vector<TabListEntry>& entries) {
  return WriteFileAtomic(path, FormatTabList(dateTime, entries));
}

std::optional<std::vector<std::string>> ReadTabList(const std::string& path) {
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content)
    return std::nullopt;
  return ParseTabList(*content);
}

std::optional<std::vector<TabListEntry>> ReadTabListEntries(const std::string& path) {
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content)
    return std::nullopt;
  return ParseTabListEntries(*content);
}

std::string TabListDateTime(int year, int month, int day, int hour, int minute, int second) {
  char text[80];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}

std::optional<TabCopy> TabCopyOf(CommandAction action) {
  switch (action) {
    case CommandAction::kCopyTabTitle:
      return TabCopy{TabCopyKind::kTitle, false};
    case CommandAction::kCopyTabUrl:
      return TabCopy{TabCopyKind::kUrl, false};
    case CommandAction::kCopyTabTitleAndUrl:
      return TabCopy{TabCopyKind::kBoth, false};
    case CommandAction::kCopyAllTitles:
      return TabCopy{TabCopyKind::kTitle, true};
    case CommandAction::kCopyAllUrls:
      return TabCopy{TabCopyKind::kUrl, true};
    case CommandAction::kCopyAllTitlesAndUrls:
      return TabCopy{TabCopyKind::kBoth, true};
    default:
      return std::nullopt;
  }
}

std::string TabCopyText(const std::vector<TabListEntry>& tabs, TabCopyKind kind, bool allTabs) {
  std::string text;
  for (const TabListEntry& tab : tabs) {
    if (kind != TabCopyKind::kUrl) {
      AppendLineField(text, tab.caption);
      text += kLineEnd;
    }
    if (kind != TabCopyKind::kTitle) {
      AppendLineField(text, tab.url);
      text += kLineEnd;
    }
    if (!allTabs)
      break;
  }
  if (!allTabs && text.ends_with(kLineEnd))
    text.resize(text.size() - kLineEnd.size());
  return text;
}

std::string HistoryCatalogHtml(const std::vector<CatalogEntry>& entries) {
  std::string html;
  const std::size_t count = std::min(entries.size(), kCatalogMax);
  for (std::size_t i = 0; i < count; ++i) {
    // Titles and addresses come from the pages themselves: none of their text may become markup
    // in the History tab.
    const std::string_view url = TrimBlanksAndControls(entries[i].url);
    AppendHtmlEscaped(html, TrimBlanksAndControls(entries[i].title));
    html += "\t<a href=\"";
    AppendHtmlEscaped(html, url);
    html += "\">";
    AppendHtmlEscaped(html, url);
    html += "</a><br>";
  }
  return html;
}

}  // namespace zelvora
