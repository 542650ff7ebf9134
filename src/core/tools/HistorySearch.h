#pragma once

// The history search that fills the History tree (day folders, host folders, page items with
// their visit stamps), the lock pass that marks matching items of a tree, "Delete(History too)",
// and the visited / not-visited selections of a tree's items.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/tools/TreeFile.h"
#include "core/tools/UrlHistory.h"

namespace zelvora {

// The folder of entries without a host name.
inline constexpr std::string_view kNoHostFolderName = "My Computer";

// The visit range of the "&Date" box: both bounds excluded.
struct VisitRange {
  std::int64_t from = 0;  // LocalMilliseconds
  std::int64_t to = 0;
};
// The range texts as the settings keep them ("HistoryDateFrom" "yyyy/MM/dd", "HistoryTimeFrom"
// "HH:mm", …). Empty texts mean today, "00:00" and "23:59".
struct VisitRangeTexts {
  bool alwaysToday = true;
  std::string dateFrom;
  std::string dateTo;
  std::string timeFrom;
  std::string timeTo;
};
// With `alwaysToday` today 00:00:00.000 to 23:59:59.999; else From at its time with seconds and
// milliseconds 0, To at its time with 59.999. Reversed dates are swapped (the times keep their
// roles); on one day, reversed times are swapped. Nothing when a text does not parse or names
// no real date or time (the range is then not applied).
std::optional<VisitRange> ParseVisitRange(const VisitRangeTexts& texts, const LocalTime& today);
// The range of the visited selections: whole days, From 00:00:00.000 to To 23:59:59.999 (the
// time texts are not used); with `alwaysToday` today.
std::optional<VisitRange> SelectionVisitRange(const VisitRangeTexts& texts, const LocalTime& today);

// What the search box and its check boxes ask for.
struct HistoryQuery {
  std::string keyword;
  bool url = false;
  bool title = false;
  bool regExp = false;
  bool caseInsensitive = true;
};
// The pattern of a query: the keyword as typed with "&RegExp", else escaped to match literally;
// "(?i)" in front with `caseInsensitive` (the search only: the lock pass passes false).
std::string QueryPattern(const HistoryQuery& query, bool caseInsensitive);

// The day folder's name: month, 月, day, 日, then the abbreviated weekday in parentheses, as
// "12月7日(Mon)". `weekdays` are the locale's abbreviated names, Sunday first.
std::string DayFolderName(const LocalTime& day, const std::array<std::string, 7>& weekdays);

struct HistoryFiling {
  std::optional<VisitRange> range;
  int nameMax = 100;  // "ToolItemNameMax"
  std::array<std::string, 7> weekdays;
  bool closeFolders = false;  // "HistoryAfterCloseItem"
};
// Replaces the tree by the entries (ascending by last visit): nothing at all when there are
// none; else the root folder "History", day folders, host folders (newest first), page items
// with their visit stamps. Returns the number of items filed.
int FileHistory(TTreeModel& tree, const std::vector<THistoryEntry>& entries,
                const HistoryFiling& filing, TJobState* job);

// The whole search (job 3115): the pattern must compile (the caller checks the brackets
// first); the store is enumerated by last visit, filtered by the match mode, then filed.
// Returns false when the pattern does not compile (the tree is unchanged).
bool SearchHistory(TUrlHistoryStore& store, TTreeModel& tree, const HistoryQuery& query,
                   const HistoryFiling& filing, TJobState* job);

// The lock pass (job 3115 with "&Lock"; the Analysis tree uses it too): marks the items whose
// value (URL box), non-empty name (Title box) or either (both or neither) the pattern matches,
// opening their closed ancestors; the first marked item gets the caret. False for an empty
// keyword or a pattern that does not compile.
bool LockItems(TTreeModel& tree, const HistoryQuery& query, TJobState* job);

// "Delete(History too)": deletes the marked items as the tree's delete does, then removes from
// the store, per deleted item with a visit stamp, the one entry of its URL (ignoring case) whose
// last visit has the stamp's hour, minute and second. Returns the number of entries removed.
int DeleteHistoryToo(TTreeModel& tree, TUrlHistoryStore& store, TJobState* job);

enum class VisitedSelection {
  kNotVisited,       // 3101
  kNotVisitedRange,  // 3102
  kVisited,          // 3103
  kVisitedRange,     // 3104
};
// Marks, among the caret item (its first child when it is a folder) and its following
// siblings, the items whose URL is (or is not) in the history, counting for the range variants
// only visits inside `range`. URLs are compared normalised. Needs two records and a caret.
void SelectByVisits(TTreeModel& tree, TUrlHistoryStore& store, VisitedSelection kind,
                    const std::optional<VisitRange>& range, TJobState* job);

}  // namespace zelvora
