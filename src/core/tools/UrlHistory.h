#pragma once

// The URL history: every page the program showed, kept in an SQLite database in the per-user
// folder ("History.db"), one row per URL with its title, last visit, last update, expiry and
// whether it loaded. Pages record their visits through the store's writer, which writes them in
// batches off the user-interface thread; a search, a selection or a delete pass reads the store
// through a TUrlHistory of its own.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

inline constexpr std::string_view kHistoryDatabaseName = "History.db";

// A wall-clock time of the local time zone.
struct LocalTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};
// Milliseconds from 1970-01-01 00:00 of the local calendar (no time zone involved): local times
// compare and subtract as numbers.
std::int64_t LocalMilliseconds(const LocalTime& time);
LocalTime FromLocalMilliseconds(std::int64_t milliseconds);
// A moment (milliseconds since the Unix epoch, UTC) as the local wall-clock time, and back.
LocalTime ToLocalTime(std::int64_t unixMilliseconds);
std::int64_t ToUnixMilliseconds(const LocalTime& time);
// 0 Sunday … 6 Saturday.
int WeekDay(const LocalTime& time);

// One history entry as a pass sees it. Times are local, in LocalMilliseconds, cut to an even
// second (the two-second resolution of the store's entries); 0 when there is none.
struct THistoryEntry {
  std::string Url;
  std::string Title;
  std::int64_t LastVisited = 0;
  // The last visit that loaded the page: how old the engine's cached copy is.
  std::int64_t LastUpdated = 0;
  // The last visit plus 90 days.
  std::int64_t Expires = 0;
  // The page did not load (or loaded with an error): no cached copy stands behind the entry.
  bool NotCached = false;
};

// The database and its writer. Thread-safe: visits are queued from any thread and written by
// the store's own thread; passes open their own connection.
class TUrlHistoryStore {
 public:
  struct OpenReport {
    bool ok = false;
    // A file that was no history database of ours (corrupt, foreign, a newer schema) was moved
    // aside to this path and a fresh store started; empty otherwise.
    std::string movedAside;
    std::string error;
  };
  // Opens (or creates, mode 0600) the database at `path` in WAL mode, its schema versioned.
  static std::unique_ptr<TUrlHistoryStore> Open(const std::string& path, OpenReport& report);
  ~TUrlHistoryStore();

  const std::string& Path() const { return path_; }

  // Queues a visit (`unixMilliseconds` UTC). Written within a second; never blocks on the disk.
  void RecordVisit(std::string_view url, std::string_view title, std::int64_t unixMilliseconds,
                   bool cached);
  // Queues the title of a URL visited before (titles often arrive after the load).
  void RecordTitle(std::string_view url, std::string_view title);
  // Waits until everything queued so far is written.
  void Flush();

  // Removes every entry (and waits for the queue first).
  bool Clear();

 private:
  TUrlHistoryStore() = default;
  struct Writer;
  std::string path_;
  std::unique_ptr<Writer> writer_;
  friend class TUrlHistory;
};

// One pass over the store: enumerate (with a plain keyword, a filter, a sort) or delete.
class TUrlHistory {
 public:
  explicit TUrlHistory(TUrlHistoryStore& store);

  enum SortKey : std::uint8_t { kByTitle = 0, kByUrl, kByLastVisited, kByLastUpdated, kByExpires };
  enum Scope : std::uint8_t { kUrlAndTitle = 0, kTitle, kUrl };

  // A plain, case-sensitive substring that the URL (kUrl), the title (kTitle) or either of them
  // (kUrlAndTitle) must hold; empty: every entry.
  std::string keyword;
  Scope keywordScope = kUrlAndTitle;
  // Decides per entry (title, URL) after the keyword; absent: every entry.
  std::function<bool(const std::string& title, const std::string& url)> filter;
  SortKey sortKey = kByTitle;
  bool descending = false;

  // One pass (what is queued is written first); the entries sorted as asked. Returns their number.
  int Enumerate();
  std::vector<THistoryEntry> entries;

  // One pass that deletes every entry `accept` says yes to; an entry visited again while the pass
  // runs is kept. Returns the number deleted.
  int DeleteMatching(const std::function<bool(const THistoryEntry& entry)>& accept);

 private:
  TUrlHistoryStore& store_;
};

}  // namespace zelvora
