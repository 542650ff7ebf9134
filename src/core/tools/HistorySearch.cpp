#include "core/tools/HistorySearch.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <unordered_map>
#include <utility>

#include "core/browser/UrlUtil.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"
#include "core/tools/Favorites.h"

namespace zelvora {

namespace {

// The date and time texts as the history date dialog stores them ("2024/12/07", "09:30").
constexpr std::string_view kDatePattern = R"((\d+)/(\d+)/(\d+)$)";
constexpr std::string_view kTimePattern = R"((\d+):(\d+)$)";
constexpr std::string_view kDefaultTimeFrom = "00:00";
constexpr std::string_view kDefaultTimeTo = "23:59";

// The hour of a visit stamp that carries no visit time.
constexpr std::uint8_t kNoVisitHour = 0xFF;

// Groups 1 to N of the first match of `pattern` in `text`, read as numbers; false when nothing
// matches or a number does not fit.
template <std::size_t N>
bool ReadNumbers(std::string_view pattern, std::string_view text, std::array<int, N>& numbers) {
  const std::optional<RegexMatch> match = Regex::Cached(pattern)->FindFirst(text);
  if (!match)
    return false;
  for (std::size_t group = 0; group < N; ++group) {
    const std::string_view digits = match->GroupText(text, static_cast<int>(group) + 1);
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, numbers[group]);
    if (error != std::errc() || stop != end)
      return false;
  }
  return true;
}

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// The day of `time`, at 00:00:00.000.
LocalTime DayOf(const LocalTime& time) {
  LocalTime day;
  day.year = time.year;
  day.month = time.month;
  day.day = time.day;
  return day;
}

// A date text (empty: today) as a day; false when it does not parse or names no real date.
bool ReadDate(std::string_view text, const LocalTime& today, LocalTime& day) {
  day = DayOf(today);
  if (text.empty())
    return true;
  std::array<int, 3> date = {0, 0, 0};
  if (!ReadNumbers(kDatePattern, text, date))
    return false;
  const auto [year, month, dayOfMonth] = date;
  if (year < 1 || year > 9999 || month < 1 || month > 12 || dayOfMonth < 1 ||
      dayOfMonth > DaysInMonth(year, month))
    return false;
  day.year = year;
  day.month = month;
  day.day = dayOfMonth;
  return true;
}

// A time text (empty: `defaultTime`) as hour and minute; false when it does not parse.
bool ReadTime(std::string_view text, std::string_view defaultTime, std::array<int, 2>& time) {
  return ReadNumbers(kTimePattern, text.empty() ? defaultTime : text, time) && time[0] <= 23 &&
         time[1] <= 59;
}

LocalTime At(const LocalTime& day, const std::array<int, 2>& time) {
  LocalTime moment = day;
  moment.hour = time[0];
  moment.minute = time[1];
  return moment;
}

bool InRange(const VisitRange& range, std::int64_t visit) {
  return range.from < visit && visit < range.to;
}

// Lets the host folders be looked up by a view of the name.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const {
    return std::hash<std::string_view>{}(name);
  }
};

bool SameDay(const LocalTime& a, const LocalTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

std::optional<VisitRange> ParseVisitRange(const VisitRangeTexts& texts, const LocalTime& today) {
  LocalTime fromDay;
  LocalTime toDay;
  std::array<int, 2> fromTime = {0, 0};
  std::array<int, 2> toTime = {23, 59};
  if (texts.alwaysToday) {
    fromDay = DayOf(today);
    toDay = fromDay;
  } else if (!ReadDate(texts.dateFrom, today, fromDay) || !ReadDate(texts.dateTo, today, toDay) ||
             !ReadTime(texts.timeFrom, kDefaultTimeFrom, fromTime) ||
             !ReadTime(texts.timeTo, kDefaultTimeTo, toTime)) {
    return std::nullopt;
  }
  // Reversed dates are swapped with the times keeping their roles, so that a From date later
  // than the To date covers the same days as the dates the right way round; reversed times of
  // one day are swapped.
  if (LocalMilliseconds(fromDay) > LocalMilliseconds(toDay)) {
    std::swap(fromDay, toDay);
  } else if (LocalMilliseconds(At(fromDay, fromTime)) > LocalMilliseconds(At(toDay, toTime))) {
    std::swap(fromTime, toTime);
  }
  LocalTime to = At(toDay, toTime);
  to.second = 59;
  to.millisecond = 999;
  return VisitRange{LocalMilliseconds(At(fromDay, fromTime)), LocalMilliseconds(to)};
}

std::optional<VisitRange> SelectionVisitRange(const VisitRangeTexts& texts,
                                              const LocalTime& today) {
  VisitRangeTexts days = texts;
  days.timeFrom.clear();
  days.timeTo.clear();
  return ParseVisitRange(days, today);
}

std::string QueryPattern(const HistoryQuery& query, bool caseInsensitive) {
  std::string pattern = caseInsensitive ? "(?i)" : "";
  pattern += query.regExp ? query.keyword : RegexEscape(query.keyword);
  return pattern;
}

std::string DayFolderName(const LocalTime& day, const std::array<std::string, 7>& weekdays) {
  return std::to_string(day.month) + "月" + std::to_string(day.day) + "日(" +
         weekdays[static_cast<std::size_t>(WeekDay(day)) % weekdays.size()] + ")";
}

int FileHistory(TTreeModel& tree, const std::vector<THistoryEntry>& entries,
                const HistoryFiling& filing, TJobState* job) {
  tree.Clear();
  if (entries.empty())
    return 0;
  TTreeItemRec folder;
  folder.IsFolder = true;
  const TreeHandle root = tree.InsertItem(kNoItem, kInsertLast, tree.SectionName(), folder);
  SetJobRange(job, entries.size());

  TreeHandle dayFolder = kNoItem;
  LocalTime folderDay;
  // The host folders of the current day folder by name: only the filing adds folders there.
  std::unordered_map<std::string, TreeHandle, NameHash, std::equal_to<>> hostFolders;
  // One record for every page, so that its value reuses its buffer.
  TTreeItemRec page;
  int filed = 0;
  std::size_t walked = 0;
  for (const THistoryEntry& entry : entries) {
    if (JobStopped(job))
      break;
    SetJobPosition(job, ++walked);
    if (filing.range && !InRange(*filing.range, entry.LastVisited))
      continue;
    const LocalTime visit = FromLocalMilliseconds(entry.LastVisited);
    if (dayFolder == kNoItem || !SameDay(visit, folderDay)) {
      dayFolder = tree.InsertItem(root, kInsertLast, DayFolderName(visit, filing.weekdays), folder);
      folderDay = visit;
      hostFolders.clear();
    }

    std::string host = HostOfUrl(entry.Url);
    bool notCached = entry.NotCached;
    if (host.empty()) {
      host = kNoHostFolderName;
      notCached = false;
    }
    // Compared as the folder keeps its name.
    const std::string_view folderName = CutAtCharBoundary(host, kTreeNameMax);
    auto hostFolder = hostFolders.find(folderName);
    if (hostFolder == hostFolders.end()) {
      hostFolder =
          hostFolders
              .emplace(folderName, tree.InsertItem(dayFolder, kInsertFirst, folderName, folder))
              .first;
    }

    const TVisitStamp stamp{
        static_cast<std::uint8_t>(notCached ? 1 : 0), static_cast<std::uint8_t>(visit.hour),
        static_cast<std::uint8_t>(visit.minute), static_cast<std::uint8_t>(visit.second)};
    page.Value.assign(entry.Url);
    page.VisitStamp = PackVisitStamp(stamp);
    tree.InsertItem(hostFolder->second, kInsertFirst,
                    ShortenText(entry.Title.empty() ? entry.Url : entry.Title, filing.nameMax),
                    page);
    ++filed;
  }

  SelectTreeItem(tree, root);
  // The folders are set even after a stop, so the partial result shows as asked.
  SetAllFoldersOpen(tree, !filing.closeFolders, nullptr);
  tree.Items().Modified = false;
  return filed;
}

bool SearchHistory(TUrlHistoryStore& store, TTreeModel& tree, const HistoryQuery& query,
                   const HistoryFiling& filing, TJobState* job) {
  const Regex regex(QueryPattern(query, query.caseInsensitive));
  if (!regex.IsValid())
    return false;
  TUrlHistory history(store);
  history.sortKey = TUrlHistory::kByLastVisited;
  // Neither box checked: every entry, whatever the keyword.
  if (query.url || query.title) {
    history.filter = [&](const std::string& title, const std::string& url) {
      if (JobStopped(job))
        return false;
      return (query.url && regex.FindFirst(url).has_value()) ||
             (query.title && regex.FindFirst(title).has_value());
    };
  }
  history.Enumerate();
  FileHistory(tree, history.entries, filing, job);
  return true;
}

bool LockItems(TTreeModel& tree, const HistoryQuery& query, TJobState* job) {
  if (query.keyword.empty())
    return false;
  const Regex regex(QueryPattern(query, false));
  if (!regex.IsValid())
    return false;
  const bool byValue = query.url || !query.title;
  const bool byName = query.title || !query.url;

  tree.ClearMarks();
  const TTreeViewItemList& items = tree.Items();
  SetJobRange(job, static_cast<std::size_t>(items.Count()));
  for (int index = 0; index < items.Count() && !JobStopped(job); ++index) {
    SetJobPosition(job, static_cast<std::size_t>(index) + 1);
    const TTreeItemRec& record = items.At(index);
    if (record.IsFolder)
      continue;
    const std::string& name = tree.Name(record.Handle);
    const bool matches = (byValue && regex.FindFirst(record.Value).has_value()) ||
                         (byName && !name.empty() && regex.FindFirst(name).has_value());
    if (!matches)
      continue;
    for (TreeHandle above = tree.Parent(record.Handle); above != kNoItem;
         above = tree.Parent(above))
      tree.SetOpen(above, true);
    tree.SetMarked(record.Handle, true);
  }

  tree.scrollX = 0;
  tree.scrollY = 0;
  const std::vector<TreeHandle> marked = tree.MarkedItems();
  if (!marked.empty())
    tree.SetCaret(marked.front());
  return true;
}

int DeleteHistoryToo(TTreeModel& tree, TUrlHistoryStore& store, TJobState* job) {
  // The visit times of the deleted items by URL (lower case) whose entries are still to go.
  std::unordered_map<std::string, std::vector<TVisitStamp>> visits;
  std::size_t pending = 0;
  for (const TTreeItemRec& record : DeleteMarkedRecords(tree, job)) {
    const TVisitStamp stamp = UnpackVisitStamp(record.VisitStamp);
    if (stamp.hour == kNoVisitHour)
      continue;
    visits[AsciiLower(record.Value)].push_back(stamp);
    ++pending;
  }
  if (pending == 0)
    return 0;

  TUrlHistory history(store);
  return history.DeleteMatching([&](const THistoryEntry& entry) {
    if (pending == 0 || JobStopped(job))
      return false;
    const auto found = visits.find(AsciiLower(entry.Url));
    if (found == visits.end())
      return false;
    const LocalTime visit = FromLocalMilliseconds(entry.LastVisited);
    std::vector<TVisitStamp>& stamps = found->second;
    const auto stamp = std::find_if(stamps.begin(), stamps.end(), [&](const TVisitStamp& each) {
      return each.hour == visit.hour && each.minute == visit.minute && each.second == visit.second;
    });
    if (stamp == stamps.end())
      return false;
    // Each deleted item takes one entry at most.
    stamps.erase(stamp);
    --pending;
    return true;
  });
}

void SelectByVisits(TTreeModel& tree, TUrlHistoryStore& store, VisitedSelection kind,
                    const std::optional<VisitRange>& range, TJobState* job) {
  if (tree.Items().Count() < 2 || tree.Caret() == kNoItem)
    return;
  tree.ClearMarks();
  TreeHandle first = tree.Caret();
  if (tree.IsFolder(first))
    first = tree.FirstChild(first);

  // The candidates by their normalised URL (several items may share one).
  std::unordered_map<std::string, std::vector<TreeHandle>> candidates;
  for (TreeHandle item = first; item != kNoItem; item = tree.NextSibling(item)) {
    const TTreeItemRec* record = tree.Record(item);
    if (record != nullptr && !record->IsFolder && !record->Value.empty())
      candidates[NormalizeUrl(record->Value)].push_back(item);
  }
  const bool selectVisited =
      kind == VisitedSelection::kVisited || kind == VisitedSelection::kVisitedRange;
  const bool ranged = range.has_value() && (kind == VisitedSelection::kNotVisitedRange ||
                                            kind == VisitedSelection::kVisitedRange);

  if (!candidates.empty()) {
    TUrlHistory history(store);
    history.Enumerate();
    SetJobRange(job, history.entries.size());
    std::size_t walked = 0;
    for (const THistoryEntry& entry : history.entries) {
      if (candidates.empty() || JobStopped(job))
        break;
      SetJobPosition(job, ++walked);
      if (ranged && !InRange(*range, entry.LastVisited))
        continue;
      const auto found = candidates.find(NormalizeUrl(entry.Url));
      if (found == candidates.end())
        continue;
      if (selectVisited) {
        for (const TreeHandle item : found->second)
          tree.SetMarked(item, true);
      }
      candidates.erase(found);
    }
  }
  if (!selectVisited) {
    for (const auto& [url, items] : candidates) {
      for (const TreeHandle item : items)
        tree.SetMarked(item, true);
    }
  }

  for (TreeHandle item = first; item != kNoItem; item = tree.NextSibling(item)) {
    if (tree.IsMarked(item)) {
      tree.SetCaret(item);
      break;
    }
  }
}

}  // namespace zelvora
