#pragma once

// Tab lists: the open tabs written as tree text (one open folder named by the date and time,
// one item per tab) and read back as the list of addresses to open.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/CommandDispatch.h"
#include "core/shell/SafeFile.h"

namespace zelvora {

inline constexpr std::string_view kLastWebListName = "LastWebList.dat";

struct TabListEntry {
  std::string url;
  std::string caption;

  bool operator==(const TabListEntry&) const = default;
};

// "1," + dateTime + CR LF, then TAB url TAB caption CR LF per entry. Line breaks and tabs inside
// an address or caption become blanks, so every entry stays one line.
std::string FormatTabList(std::string_view dateTime, const std::vector<TabListEntry>& entries);
// The addresses in order: folder lines ("\t*\d+,") are skipped, otherwise "\t*([^\t]*)\t" gives
// the address; lines without one are skipped; empty lines and a last line without CR LF are
// ignored, CR-only and LF-only line ends read as line ends.
std::vector<std::string> ParseTabList(std::string_view text);
// The same items with their captions (the text after the address's TAB, trimmed), for tabs that
// show their caption before they load.
std::vector<TabListEntry> ParseTabListEntries(std::string_view text);

// Writes atomically; the previous file stays when writing fails.
FileWriteResult WriteTabList(const std::string& path, std::string_view dateTime,
                             const std::vector<TabListEntry>& entries);
// Nothing when the file does not exist or cannot be read.
std::optional<std::vector<std::string>> ReadTabList(const std::string& path);
std::optional<std::vector<TabListEntry>> ReadTabListEntries(const std::string& path);

// The tab menu's copy commands: per tab its title, its address, or both on two lines.
enum class TabCopyKind { kTitle, kUrl, kBoth };
struct TabCopy {
  TabCopyKind kind = TabCopyKind::kTitle;
  bool allTabs = false;
};
// What a copy command of the tab menu copies; nothing for other commands.
std::optional<TabCopy> TabCopyOf(CommandAction action);
// One tab's lines are joined by CR LF with none after the last; for all tabs (`allTabs`), in tab
// order, every line ends with CR LF, as the trees' copies of several items do. Line breaks inside
// a title become blanks, so that every title stays one line.
std::string TabCopyText(const std::vector<TabListEntry>& tabs, TabCopyKind kind, bool allTabs);

// The date and time as the folder line shows them: "YYYY/MM/DD hh:mm:ss".
std::string TabListDateTime(int year, int month, int day, int hour, int minute, int second);

// The travel log of a tab as HTML: per entry, the title trimmed, TAB, <a href="url">url</a><br>,
// at most 255 entries.
struct CatalogEntry {
  std::string title;
  std::string url;
};
std::string HistoryCatalogHtml(const std::vector<CatalogEntry>& entries);

}  // namespace zelvora
