#include "core/tools/UrlHistory.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace zelvora {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;

// Written into every history database this program creates; a database without it is someone
// else's and is never written to.
constexpr int kApplicationId = 0x5A6C5648;
// The layout below. A file with another version came from another build and is moved aside.
constexpr int kSchemaVersion = 1;
// Times are UTC milliseconds since 1970; `cached` is 1 when the last visit loaded the page.
constexpr const char* kCreateTable =
    "CREATE TABLE history("
    " url TEXT NOT NULL UNIQUE,"
    " title TEXT NOT NULL DEFAULT '',"
    " last_visited INTEGER NOT NULL,"
    " last_updated INTEGER NOT NULL,"
    " expires INTEGER NOT NULL,"
    " cached INTEGER NOT NULL)";

// A visit refreshes the row of its URL. Its title replaces the old one unless it is empty (the
// title often arrives later, on its own). `last_updated` is the last visit that loaded the page,
// so it tells how old the copy in the engine's cache is; a failed load leaves it as it was.
constexpr const char* kRecordVisit =
    "INSERT INTO history(url, title, last_visited, last_updated, expires, cached)"
    " VALUES(?1, ?2, ?3, ?4, ?5, ?6)"
    " ON CONFLICT(url) DO UPDATE SET"
    " title = CASE WHEN excluded.title <> '' THEN excluded.title ELSE history.title END,"
    " last_visited = excluded.last_visited,"
    " last_updated = CASE WHEN excluded.cached THEN excluded.last_updated"
    " ELSE history.last_updated END,"
    " expires = excluded.expires,"
    " cached = excluded.cached";
constexpr const char* kRecordTitle = "UPDATE history SET title = ?2 WHERE url = ?1";

// An entry's expiry is its last visit plus this. The store prunes nothing by it: every entry
// stays until it is deleted or the history is cleared. It is kept because the passes show the
// entries with the three times the history always had, and can sort and delete by the expiry.
constexpr std::int64_t kExpiryAfterVisit = 90 * kMillisecondsPerDay;

// Queued changes are written at the latest this long after the first of them, so a visit is on
// the disk well within a second even when the write itself is slow; a longer queue goes at once.
constexpr auto kWriteDelay = std::chrono::milliseconds(500);
constexpr std::size_t kBatchSize = 1000;
// How long a connection waits for another one's write (a delete pass, the writer) to finish.
constexpr int kBusyTimeoutMs = 10000;

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}
std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  return a - FloorDiv(a, b) * b;
}

// Days from 1970-01-01 of the proleptic Gregorian calendar; months outside 1…12 and days
// outside the month carry over.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += FloorDiv(month - 1, 12);
  month = FloorMod(month - 1, 12) + 1;
  // Years start in March here, so the leap day is the last day of the year.
  if (month <= 2)
    --year;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + (day - 1);
}

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::string_view Text(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr)
    return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

std::string Message(sqlite3* db, std::string_view what) {
  return std::string(what) + ": " + sqlite3_errmsg(db);
}

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
  return Statement(statement);
}

// Each connection is used by one thread at a time (the writer's, a pass's), so SQLite need not
// lock it around every call.
Database Connect(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  const int rc =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  Database database(db);
  if (rc != SQLITE_OK) {
    error = db != nullptr ? Message(db, path) : path + ": " + sqlite3_errstr(rc);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return database;
}

// A pass's connection. It reads the whole file, so it maps the file rather than copying it page
// by page. Deleted entries are overwritten in the file, not merely unlinked: deleting history is
// about privacy.
Database ConnectPass(const std::string& path) {
  std::string error;
  Database db = Connect(path, error);
  if (db != nullptr)
    Exec(db.get(), "PRAGMA mmap_size = 268435456; PRAGMA secure_delete = ON");
  return db;
}

// After a delete the log still holds the rows as they were, until it is copied into the
// database and emptied.
void EmptyLog(sqlite3* db) {
  Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
}

// SQLite would create the file with the usual 0644; history is private, so it starts as 0600 (the
// journal files SQLite adds take the database file's mode).
bool CreatePrivateFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  if (errno == EEXIST)
    return true;
  error = path + ": " + std::strerror(errno);
  return false;
}

enum class Verdict { kOurs, kEmpty, kNotOurs, kUnusable };

bool NotADatabase(int rc) {
  return (rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT;
}

// Reads one number; the first read of the file is where SQLite finds out whether it is a
// database at all.
int ReadNumber(sqlite3* db, const char* sql, std::int64_t& value) {
  Statement statement = Prepare(db, sql);
  if (statement == nullptr)
    return sqlite3_errcode(db);
  const int rc = sqlite3_step(statement.get());
  if (rc != SQLITE_ROW)
    return rc;
  value = sqlite3_column_int64(statement.get(), 0);
  return SQLITE_OK;
}

Verdict Inspect(sqlite3* db, std::string& error) {
  std::int64_t applicationId = 0;
  std::int64_t version = 0;
  std::int64_t objects = 0;
  for (const auto& [sql, value] : {std::pair{"SELECT count(*) FROM sqlite_schema", &objects},
                                   std::pair{"PRAGMA application_id", &applicationId},
                                   std::pair{"PRAGMA user_version", &version}}) {
    const int rc = ReadNumber(db, sql, *value);
    if (NotADatabase(rc))
      return Verdict::kNotOurs;
    if (rc != SQLITE_OK) {
      error = Message(db, "Reading the history");
      return Verdict::kUnusable;
    }
  }
  if (objects == 0)
    return Verdict::kEmpty;
  if (applicationId != kApplicationId || version != kSchemaVersion)
    return Verdict::kNotOurs;

  Statement check = Prepare(db, "PRAGMA quick_check(1)");
  const int rc = check != nullptr ? sqlite3_step(check.get()) : sqlite3_errcode(db);
  if (rc == SQLITE_ROW)
    return Text(check.get(), 0) == "ok" ? Verdict::kOurs : Verdict::kNotOurs;
  if (NotADatabase(rc))
    return Verdict::kNotOurs;
  error = Message(db, "Checking the history");
  return Verdict::kUnusable;
}

bool CreateSchema(sqlite3* db) {
  const std::string sql = std::string("BEGIN IMMEDIATE;") + kCreateTable +
                          ";PRAGMA application_id = " + std::to_string(kApplicationId) +
                          ";PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";COMMIT";
  if (Exec(db, sql.c_str()))
    return true;
  Exec(db, "ROLLBACK");
  return false;
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// Renames the database and its journals to the first free "<path>.broken-<n>" (the journals keep
// their suffix after it, so the set still opens as one database). Returns the new path, or
// nothing when the database could not be moved. A journal left behind is an error too (with the
// path returned, since the database did move): SQLite would read it into a fresh database.
std::string MoveAside(const std::string& path, std::string& error) {
  std::string aside;
  for (int n = 1; aside.empty() || Exists(aside); ++n)
    aside = path + ".broken-" + std::to_string(n);
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    error = path + ": " + std::strerror(errno);
    return {};
  }
  for (const char* journal : {"-wal", "-shm", "-journal"}) {
    if (Exists(path + journal) &&
        std::rename((path + journal).c_str(), (aside + journal).c_str()) != 0) {
      error = path + journal + ": " + std::strerror(errno);
      break;
    }
  }
  return aside;
}

}  // namespace

std::int64_t LocalMilliseconds(const LocalTime& time) {
  const std::int64_t days = DaysFromCivil(time.year, time.month, time.day);
  return days * kMillisecondsPerDay +
         ((static_cast<std::int64_t>(time.hour) * 60 + time.minute) * 60 + time.second) * 1000 +
         time.millisecond;
}

LocalTime FromLocalMilliseconds(std::int64_t milliseconds) {
  const std::int64_t days = FloorDiv(milliseconds, kMillisecondsPerDay);
  const std::int64_t ofDay = milliseconds - days * kMillisecondsPerDay;
  const CivilDate date = CivilFromDays(days);
  LocalTime time;
  time.year = static_cast<int>(date.year);
  time.month = date.month;
  time.day = date.day;
  time.hour = static_cast<int>(ofDay / 3600000);
  time.minute = static_cast<int>(ofDay / 60000 % 60);
  time.second = static_cast<int>(ofDay / 1000 % 60);
  time.millisecond = static_cast<int>(ofDay % 1000);
  return time;
}

LocalTime ToLocalTime(std::int64_t unixMilliseconds) {
  const std::time_t seconds = static_cast<std::time_t>(FloorDiv(unixMilliseconds, 1000));
  std::tm parts{};
  if (localtime_r(&seconds, &parts) == nullptr)
    return {};
  LocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.millisecond = static_cast<int>(FloorMod(unixMilliseconds, 1000));
  return time;
}

std::int64_t ToUnixMilliseconds(const LocalTime& time) {
  std::tm parts{};
  parts.tm_year = time.year - 1900;
  parts.tm_mon = time.month - 1;
  parts.tm_mday = time.day;
  parts.tm_hour = time.hour;
  parts.tm_min = time.minute;
  parts.tm_sec = time.second;
  parts.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&parts)) * 1000 + time.millisecond;
}

int WeekDay(const LocalTime& time) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(FloorMod(DaysFromCivil(time.year, time.month, time.day) + 4, 7));
}

// The writer's thread owns the connection and its statements; callers only touch the queue.
struct TUrlHistoryStore::Writer {
  struct Change {
    std::string url;
    std::string title;
    std::int64_t time = 0;
    bool cached = false;
    bool visit = false;  // else a title that arrived on its own
  };

  Writer(Database database, Statement visitStatement, Statement titleStatement)
      : db(std::move(database)),
        visit(std::move(visitStatement)),
        title(std::move(titleStatement)),
        thread([this] { Run(); }) {}
  ~Writer() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    wake.notify_one();
    thread.join();
  }

  void Queue(Change change) {
    bool notify = false;
    {
      std::lock_guard lock(mutex);
      if (queue.empty())
        due = std::chrono::steady_clock::now() + kWriteDelay;
      queue.push_back(std::move(change));
      // Only an empty queue leaves the thread waiting without a time limit.
      notify = queue.size() == 1 || queue.size() == kBatchSize;
    }
    if (notify)
      wake.notify_one();
  }

  void Flush() {
    std::unique_lock lock(mutex);
    if (queue.empty() && !writing)
      return;
    const std::uint64_t ticket = ++flushAsked;
    wake.notify_one();
    written.wait(lock, [&] { return flushServed >= ticket; });
  }

  void Run() {
    std::unique_lock lock(mutex);
    for (;;) {
      if (queue.empty()) {
        if (flushServed < flushAsked) {
          flushServed = flushAsked;
          written.notify_all();
        } else if (stopping) {
          return;
        } else {
          wake.wait(lock);
        }
        continue;
      }
      const bool now = stopping || flushServed < flushAsked || queue.size() >= kBatchSize;
      if (!now && wake.wait_until(lock, due) == std::cv_status::no_timeout)
        continue;

      std::deque<Change> batch;
      batch.swap(queue);
      const std::uint64_t serving = flushAsked;
      writing = true;
      lock.unlock();
      const bool ok = Write(batch);
      lock.lock();
      writing = false;
      flushServed = serving;
      written.notify_all();
      if (ok)
        continue;
      // Nothing is dropped while the program runs: the batch goes back in front of what came
      // meanwhile and is tried again. Only when closing there is no later.
      if (stopping) {
        flushServed = flushAsked;
        written.notify_all();
        return;
      }
      batch.insert(batch.end(), std::make_move_iterator(queue.begin()),
                   std::make_move_iterator(queue.end()));
      queue.swap(batch);
      due = std::chrono::steady_clock::now() + kWriteDelay;
    }
  }

  bool Write(const std::deque<Change>& batch) {
    if (!Exec(db.get(), "BEGIN IMMEDIATE"))
      return false;
    for (const Change& change : batch) {
      sqlite3_stmt* statement = change.visit ? visit.get() : title.get();
      sqlite3_bind_text(statement, 1, change.url.data(), static_cast<int>(change.url.size()),
                        SQLITE_STATIC);
      sqlite3_bind_text(statement, 2, change.title.data(), static_cast<int>(change.title.size()),
                        SQLITE_STATIC);
      if (change.visit) {
        sqlite3_bind_int64(statement, 3, change.time);
        sqlite3_bind_int64(statement, 4, change.cached ? change.time : 0);
        sqlite3_bind_int64(statement, 5, change.time + kExpiryAfterVisit);
        sqlite3_bind_int(statement, 6, change.cached ? 1 : 0);
      }
      const int rc = sqlite3_step(statement);
      sqlite3_reset(statement);
      if (rc != SQLITE_DONE) {
        Exec(db.get(), "ROLLBACK");
        return false;
      }
    }
    if (Exec(db.get(), "COMMIT"))
      return true;
    Exec(db.get(), "ROLLBACK");
    return false;
  }

  Database db;
  Statement visit;
  Statement title;

  std::mutex mutex;
  std::condition_variable wake;     // the thread waits here for work
  std::condition_variable written;  // Flush waits here for the thread
  // A deque: growing it never moves what is queued, so a caller never waits on a long copy.
  std::deque<Change> queue;
  std::chrono::steady_clock::time_point due;
  std::uint64_t flushAsked = 0;
  std::uint64_t flushServed = 0;
  bool writing = false;
  bool stopping = false;
  std::thread thread;  // last: it starts once everything above is in place
};

std::unique_ptr<TUrlHistoryStore> TUrlHistoryStore::Open(const std::string& path,
                                                         OpenReport& report) {
  report = {};
  Database db;
  for (int moved = 0;; ++moved) {
    if (!CreatePrivateFile(path, report.error))
      return nullptr;
    db = Connect(path, report.error);
    if (db == nullptr)
      return nullptr;
    const Verdict verdict = Inspect(db.get(), report.error);
    if (verdict == Verdict::kUnusable)
      return nullptr;
    if (verdict == Verdict::kEmpty && !CreateSchema(db.get())) {
      report.error = Message(db.get(), "Creating the history");
      return nullptr;
    }
    if (verdict != Verdict::kNotOurs)
      break;
    // The fresh file after a move is empty; one that is not has been put there by someone else.
    if (moved > 0) {
      report.error = path + ": replaced by another program while the history was opened";
      return nullptr;
    }
    db.reset();
    report.movedAside = MoveAside(path, report.error);
    if (report.movedAside.empty() || !report.error.empty())
      return nullptr;
  }

  // A commit is in the log file as soon as it returns, which a crash of the program cannot undo;
  // only a crash of the whole system can take the last commits since the log was last synced.
  Exec(db.get(), "PRAGMA journal_mode = WAL");
  Exec(db.get(), "PRAGMA synchronous = NORMAL");
  Statement visit = Prepare(db.get(), kRecordVisit);
  Statement title = Prepare(db.get(), kRecordTitle);
  if (visit == nullptr || title == nullptr) {
    report.error = Message(db.get(), "Preparing the history");
    return nullptr;
  }

  std::unique_ptr<TUrlHistoryStore> store(new TUrlHistoryStore);
  store->path_ = path;
  store->writer_ = std::make_unique<Writer>(std::move(db), std::move(visit), std::move(title));
  report.ok = true;
  return store;
}

TUrlHistoryStore::~TUrlHistoryStore() = default;

void TUrlHistoryStore::RecordVisit(std::string_view url, std::string_view title,
                                   std::int64_t unixMilliseconds, bool cached) {
  writer_->Queue({std::string(url), std::string(title), unixMilliseconds, cached, true});
}

void TUrlHistoryStore::RecordTitle(std::string_view url, std::string_view title) {
  if (!title.empty())
    writer_->Queue({std::string(url), std::string(title), 0, false, false});
}

void TUrlHistoryStore::Flush() {
  writer_->Flush();
}

bool TUrlHistoryStore::Clear() {
  Flush();
  Database db = ConnectPass(path_);
  if (db == nullptr || !Exec(db.get(), "DELETE FROM history"))
    return false;
  EmptyLog(db.get());
  return true;
}

TUrlHistory::TUrlHistory(TUrlHistoryStore& store) : store_(store) {}

namespace {

// Stored times as a pass shows them: local, cut to an even second; 0 stays "none". The C library
// takes a lock and walks the zone's rules for every conversion, three per entry; instead the
// offset from UTC is asked once per UTC day and added, and only a day in which the offset
// changes is converted moment by moment.
class EntryClock {
 public:
  std::int64_t EntryTime(std::int64_t unixMilliseconds) {
    if (unixMilliseconds == 0)
      return 0;
    const std::int64_t offset = Offset(FloorDiv(unixMilliseconds, kMillisecondsPerDay));
    const std::int64_t local = offset != kChanging
                                   ? unixMilliseconds + offset
                                   : LocalMilliseconds(ToLocalTime(unixMilliseconds));
    return local - FloorMod(local, 2000);
  }

 private:
  static constexpr std::int64_t kChanging = INT64_MIN;

  // Entries come roughly in the order of their first visit, so the day of the time before is
  // the likeliest.
  std::int64_t Offset(std::int64_t day) {
    if (day != lastDay_) {
      const auto [known, added] = offsets_.try_emplace(day, kChanging);
      if (added)
        known->second = DayOffset(day);
      lastDay_ = day;
      lastOffset_ = known->second;
    }
    return lastOffset_;
  }

  static std::int64_t DayOffset(std::int64_t day) {
    const std::time_t first = static_cast<std::time_t>(day * (kMillisecondsPerDay / 1000));
    const std::time_t last = first + kMillisecondsPerDay / 1000 - 1;
    std::tm atFirst{};
    std::tm atLast{};
    if (localtime_r(&first, &atFirst) == nullptr || localtime_r(&last, &atLast) == nullptr ||
        atFirst.tm_gmtoff != atLast.tm_gmtoff)
      return kChanging;
    return static_cast<std::int64_t>(atFirst.tm_gmtoff) * 1000;
  }

  std::unordered_map<std::int64_t, std::int64_t> offsets_;
  std::int64_t lastDay_ = INT64_MIN;
  std::int64_t lastOffset_ = kChanging;
};

// Sorts the keys with the entries' positions (a step moves a few bytes, not an entry), then
// moves each entry once to its place. String keys compare byte by byte, unsigned.
template <typename Key>
void SortBy(std::vector<THistoryEntry>& entries, bool descending, Key key) {
  using Sorted = std::pair<std::invoke_result_t<Key, const THistoryEntry&>, std::size_t>;
  std::vector<Sorted> order;
  order.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    order.emplace_back(key(entries[i]), i);
  if (descending)
    std::sort(order.begin(), order.end(),
              [](const Sorted& a, const Sorted& b) { return b.first < a.first; });
  else
    std::sort(order.begin(), order.end(),
              [](const Sorted& a, const Sorted& b) { return a.first < b.first; });
  std::vector<THistoryEntry> sorted;
  sorted.reserve(entries.size());
  for (const Sorted& place : order)
    sorted.push_back(std::move(entries[place.second]));
  entries = std::move(sorted);
}

constexpr const char* kReadEntries =
    "SELECT url, title, last_visited, last_updated, expires, cached FROM history";

// One clock per time column, each remembering the day it saw last.
struct EntryClocks {
  EntryClock visited;
  EntryClock updated;
  EntryClock expires;
};

THistoryEntry ReadEntry(sqlite3_stmt* statement, std::string_view url, std::string_view title,
                        EntryClocks& clocks) {
  THistoryEntry entry;
  entry.Url = url;
  entry.Title = title;
  entry.LastVisited = clocks.visited.EntryTime(sqlite3_column_int64(statement, 2));
  entry.LastUpdated = clocks.updated.EntryTime(sqlite3_column_int64(statement, 3));
  entry.Expires = clocks.expires.EntryTime(sqlite3_column_int64(statement, 4));
  entry.NotCached = sqlite3_column_int(statement, 5) == 0;
  return entry;
}

}  // namespace

int TUrlHistory::Enumerate() {
  entries.clear();
  // Visits recorded up to now belong in the result.
  store_.Flush();
  Database db = ConnectPass(store_.path_);
  Statement read = db != nullptr ? Prepare(db.get(), kReadEntries) : nullptr;
  if (read == nullptr)
    return 0;
  EntryClocks clocks;
  while (sqlite3_step(read.get()) == SQLITE_ROW) {
    const std::string_view url = Text(read.get(), 0);
    const std::string_view title = Text(read.get(), 1);
    if (!keyword.empty()) {
      const bool inUrl = keywordScope != kTitle && url.find(keyword) != std::string_view::npos;
      const bool inTitle = keywordScope != kUrl && title.find(keyword) != std::string_view::npos;
      if (!inUrl && !inTitle)
        continue;
    }
    THistoryEntry entry = ReadEntry(read.get(), url, title, clocks);
    if (filter && !filter(entry.Title, entry.Url))
      continue;
    entries.push_back(std::move(entry));
  }

  switch (sortKey) {
    case kByTitle:
      SortBy(entries, descending, [](const THistoryEntry& e) { return std::string_view(e.Title); });
      break;
    case kByUrl:
      SortBy(entries, descending, [](const THistoryEntry& e) { return std::string_view(e.Url); });
      break;
    case kByLastVisited:
      SortBy(entries, descending, [](const THistoryEntry& e) { return e.LastVisited; });
      break;
    case kByLastUpdated:
      SortBy(entries, descending, [](const THistoryEntry& e) { return e.LastUpdated; });
      break;
    case kByExpires:
      SortBy(entries, descending, [](const THistoryEntry& e) { return e.Expires; });
      break;
  }
  return static_cast<int>(entries.size());
}

int TUrlHistory::DeleteMatching(const std::function<bool(const THistoryEntry& entry)>& accept) {
  store_.Flush();
  Database db = ConnectPass(store_.path_);
  Statement read = db != nullptr ? Prepare(db.get(), kReadEntries) : nullptr;
  if (read == nullptr)
    return 0;
  // The URL and the visit the callback saw: a URL visited again meanwhile is a newer entry.
  std::vector<std::pair<std::string, std::int64_t>> accepted;
  EntryClocks clocks;
  while (sqlite3_step(read.get()) == SQLITE_ROW) {
    THistoryEntry entry = ReadEntry(read.get(), Text(read.get(), 0), Text(read.get(), 1), clocks);
    if (accept(entry))
      accepted.emplace_back(std::move(entry.Url), sqlite3_column_int64(read.get(), 2));
  }
  read.reset();
  if (accepted.empty())
    return 0;

  Statement remove = Prepare(db.get(), "DELETE FROM history WHERE url = ?1 AND last_visited = ?2");
  if (remove == nullptr || !Exec(db.get(), "BEGIN IMMEDIATE"))
    return 0;
  int deleted = 0;
  for (const auto& [url, visited] : accepted) {
    sqlite3_bind_text(remove.get(), 1, url.data(), static_cast<int>(url.size()), SQLITE_STATIC);
    sqlite3_bind_int64(remove.get(), 2, visited);
    const int rc = sqlite3_step(remove.get());
    sqlite3_reset(remove.get());
    if (rc != SQLITE_DONE) {
      Exec(db.get(), "ROLLBACK");
      return 0;
    }
    deleted += sqlite3_changes(db.get());
  }
  if (!Exec(db.get(), "COMMIT")) {
    Exec(db.get(), "ROLLBACK");
    return 0;
  }
  EmptyLog(db.get());
  return deleted;
}

}  // namespace zelvora
