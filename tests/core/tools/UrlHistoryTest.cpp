#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/tools/UrlHistory.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kHour = 3600000;
constexpr std::int64_t kDay = 24 * kHour;
// 2023-11-14 22:13:20 UTC, an even second.
constexpr std::int64_t kT0 = 1700000000000;
// Central Europe: summer time from the last Sunday of March, 01:00 UTC.
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr std::int64_t kSpringForward = 1711846800000;  // 2024-03-31 01:00 UTC

// The process's time zone for one test.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = getenv("TZ"))
      saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (saved_.empty())
      unsetenv("TZ");
    else
      setenv("TZ", saved_.c_str(), 1);
    tzset();
  }

 private:
  std::string saved_;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void RunSql(const fs::path& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

std::vector<std::string> Urls(const TUrlHistory& history) {
  std::vector<std::string> urls;
  for (const THistoryEntry& entry : history.entries)
    urls.push_back(entry.Url);
  return urls;
}

// The calendar arithmetic against the C library's own UTC conversions, every day of three
// centuries at a time of day that drifts by a second a day.
TEST(UrlHistoryTimeTest, LocalCalendarMatchesTheCLibrary) {
  for (std::int64_t seconds = -2208988800; seconds < 7258118400; seconds += 86399) {
    const std::time_t t = seconds;
    std::tm utc{};
    ASSERT_NE(gmtime_r(&t, &utc), nullptr);
    const int millisecond = static_cast<int>(seconds % 1000 + 1000) % 1000;
    const LocalTime time{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                         utc.tm_min,         utc.tm_sec,     millisecond};
    const std::int64_t milliseconds = seconds * 1000 + millisecond;
    ASSERT_EQ(LocalMilliseconds(time), milliseconds) << seconds;
    const LocalTime back = FromLocalMilliseconds(milliseconds);
    ASSERT_EQ(std::vector<int>({back.year, back.month, back.day, back.hour, back.minute,
                                back.second, back.millisecond}),
              std::vector<int>({time.year, time.month, time.day, time.hour, time.minute,
                                time.second, time.millisecond}))
        << seconds;
    ASSERT_EQ(WeekDay(time), utc.tm_wday) << seconds;
  }
  EXPECT_EQ(LocalMilliseconds({1969, 12, 31, 23, 59, 59, 999}), -1);
  // The day after the last of February, leap year or not; fields past their range carry over.
  EXPECT_EQ(LocalMilliseconds({2024, 2, 30}), LocalMilliseconds({2024, 3, 1}));
  EXPECT_EQ(LocalMilliseconds({2100, 2, 29}), LocalMilliseconds({2100, 3, 1}));
  EXPECT_EQ(LocalMilliseconds({2023, 13, 1}), LocalMilliseconds({2024, 1, 1}));
}

TEST(UrlHistoryTimeTest, LocalWallClockFollowsTheTimeZone) {
  const TimeZone zone(kCentralEurope);
  const LocalTime before = ToLocalTime(kSpringForward - 1);
  EXPECT_EQ(std::vector<int>({before.month, before.day, before.hour, before.minute, before.second,
                              before.millisecond}),
            std::vector<int>({3, 31, 1, 59, 59, 999}));
  const LocalTime after = ToLocalTime(kSpringForward);
  EXPECT_EQ(std::vector<int>({after.hour, after.minute, after.second}),
            std::vector<int>({3, 0, 0}));
  EXPECT_EQ(ToUnixMilliseconds({2024, 7, 1, 12, 0, 0, 250}), 1719828000250);  // 10:00 UTC
  EXPECT_EQ(ToUnixMilliseconds({2024, 1, 15, 12, 0, 0, 0}), 1705316400000);   // 11:00 UTC
  for (std::int64_t moment = kT0; moment < kT0 + 400 * kDay; moment += 7 * kHour + 1) {
    ASSERT_EQ(ToUnixMilliseconds(ToLocalTime(moment)), moment);
  }
  const TimeZone utc("UTC0");
  const LocalTime early = ToLocalTime(-1);
  EXPECT_EQ(std::vector<int>({early.year, early.month, early.day, early.second, early.millisecond}),
            std::vector<int>({1969, 12, 31, 59, 999}));
}

class UrlHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zelvora-history-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ / std::string(kHistoryDatabaseName);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::unique_ptr<TUrlHistoryStore> Open(TUrlHistoryStore::OpenReport& report) {
    return TUrlHistoryStore::Open(path_.string(), report);
  }
  std::unique_ptr<TUrlHistoryStore> Open() {
    TUrlHistoryStore::OpenReport report;
    auto store = Open(report);
    EXPECT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.movedAside, "");
    return store;
  }

  fs::path folder_;
  fs::path path_;
  // Japan: nine hours ahead of UTC all year.
  const TimeZone zone_{"JST-9"};
};

TEST_F(UrlHistoryTest, VisitsAndTitlesMakeOneEntryPerUrl) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  store->RecordVisit("https://example.com/a", "Alpha page", kT0 + 3999, true);
  store->RecordVisit("https://example.org/b", "beta", kT0 + 10000, true);
  store->RecordVisit("file:///home/u/Example.txt", "", kT0 + 20000, false);
  store->RecordVisit("https://example.com/a", "", kT0 + 30000, true);
  store->RecordTitle("file:///home/u/Example.txt", "Example notes");
  store->RecordTitle("https://never.example/", "Never visited");
  store->RecordTitle("https://example.org/b", "");
  store->RecordVisit("https://example.org/b", "", kT0 + 40000, false);

  TUrlHistory history(*store);
  history.sortKey = TUrlHistory::kByUrl;
  ASSERT_EQ(history.Enumerate(), 3);
  // Local (nine hours ahead), cut to an even second.
  const std::int64_t local = kT0 + 9 * kHour;
  const THistoryEntry& file = history.entries[0];
  EXPECT_EQ(file.Url, "file:///home/u/Example.txt");
  EXPECT_EQ(file.Title, "Example notes");
  EXPECT_EQ(file.LastVisited, local + 20000);
  EXPECT_EQ(file.LastUpdated, 0);  // it never loaded
  EXPECT_EQ(file.Expires, local + 20000 + 90 * kDay);
  EXPECT_TRUE(file.NotCached);

  const THistoryEntry& alpha = history.entries[1];
  EXPECT_EQ(alpha.Title, "Alpha page");  // an empty title keeps the one known
  EXPECT_EQ(alpha.LastVisited, local + 30000);
  EXPECT_EQ(alpha.LastUpdated, local + 30000);
  EXPECT_FALSE(alpha.NotCached);

  const THistoryEntry& beta = history.entries[2];
  EXPECT_EQ(beta.Title, "beta");
  EXPECT_EQ(beta.LastVisited, local + 40000);
  EXPECT_EQ(beta.LastUpdated, local + 10000);  // the last visit that loaded
  EXPECT_EQ(beta.Expires, local + 40000 + 90 * kDay);
  EXPECT_TRUE(beta.NotCached);

  store->RecordVisit("https://example.com/a", "Alpha, renamed", kT0 + 50000, true);
  store.reset();  // closing writes what is queued
  store = Open();
  TUrlHistory reopened(*store);
  reopened.keyword = "Alpha";
  reopened.keywordScope = TUrlHistory::kTitle;
  ASSERT_EQ(reopened.Enumerate(), 1);
  EXPECT_EQ(reopened.entries[0].Title, "Alpha, renamed");
  EXPECT_EQ(reopened.entries[0].LastVisited, local + 50000);
  // The first visit's odd second at .999 is cut down to the even second before it.
  store->RecordVisit("https://odd.example/", "", kT0 + 3999, true);
  reopened.keyword = "odd";
  reopened.keywordScope = TUrlHistory::kUrl;
  ASSERT_EQ(reopened.Enumerate(), 1);
  EXPECT_EQ(reopened.entries[0].LastVisited, local + 2000);

  // On the day summer time starts, each moment with its own offset.
  const TimeZone central(kCentralEurope);
  store->RecordVisit("https://spring.example/1", "", kSpringForward - 3 * kHour, true);
  store->RecordVisit("https://spring.example/2", "", kSpringForward - 1, true);
  store->RecordVisit("https://spring.example/3", "", kSpringForward + 3001, true);
  store->RecordVisit("https://spring.example/4", "", kSpringForward + 20 * kHour, true);
  reopened.keyword = "spring";
  reopened.sortKey = TUrlHistory::kByUrl;
  ASSERT_EQ(reopened.Enumerate(), 4);
  std::vector<std::int64_t> visits;
  for (const THistoryEntry& entry : reopened.entries)
    visits.push_back(entry.LastVisited);
  EXPECT_EQ(visits, (std::vector<std::int64_t>{LocalMilliseconds({2024, 3, 30, 23, 0, 0}),
                                               LocalMilliseconds({2024, 3, 31, 1, 59, 58}),
                                               LocalMilliseconds({2024, 3, 31, 3, 0, 2}),
                                               LocalMilliseconds({2024, 3, 31, 23, 0, 0})}));
}

TEST_F(UrlHistoryTest, KeywordFilterAndSortsPickAndOrderTheEntries) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  store->RecordVisit("https://example.com/a", "Alpha page", kT0 + 30000, true);
  store->RecordVisit("https://example.org/b", "beta", kT0 + 10000, false);
  store->RecordVisit("file:///home/u/Example.txt", "Example notes", kT0 + 20000, true);
  using Found = std::vector<std::string>;
  const Found a{"https://example.com/a"};
  const Found b{"https://example.org/b"};
  const Found file{"file:///home/u/Example.txt"};

  TUrlHistory history(*store);
  history.sortKey = TUrlHistory::kByLastVisited;
  const auto find = [&](const char* keyword, TUrlHistory::Scope scope) {
    history.keyword = keyword;
    history.keywordScope = scope;
    history.Enumerate();
    return Urls(history);
  };
  // Case-sensitive, in the URL, the title or either.
  EXPECT_EQ(find("Example", TUrlHistory::kUrlAndTitle), file);
  EXPECT_EQ(find("example", TUrlHistory::kUrlAndTitle), (Found{b[0], a[0]}));
  EXPECT_EQ(find("example", TUrlHistory::kTitle), Found{});
  EXPECT_EQ(find("page", TUrlHistory::kTitle), a);
  EXPECT_EQ(find("page", TUrlHistory::kUrl), Found{});
  EXPECT_EQ(find("e.o", TUrlHistory::kUrl), b);
  EXPECT_EQ(find("Alpha", TUrlHistory::kUrlAndTitle), a);

  // The filter sees what passed the keyword, with the entry's title and URL.
  history.keyword = "/";
  std::vector<std::pair<std::string, std::string>> seen;
  history.filter = [&](const std::string& title, const std::string& url) {
    seen.emplace_back(title, url);
    return title != "beta";
  };
  EXPECT_EQ(history.Enumerate(), 2);
  EXPECT_EQ(Urls(history), (Found{file[0], a[0]}));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                      {"Alpha page", a[0]}, {"Example notes", file[0]}, {"beta", b[0]}}));

  history.keyword.clear();
  history.filter = nullptr;
  const auto order = [&](TUrlHistory::SortKey key, bool descending) {
    history.sortKey = key;
    history.descending = descending;
    history.Enumerate();
    return Urls(history);
  };
  // Bytes compare unsigned: capitals before small letters.
  EXPECT_EQ(order(TUrlHistory::kByTitle, false), (Found{a[0], file[0], b[0]}));
  EXPECT_EQ(order(TUrlHistory::kByTitle, true), (Found{b[0], file[0], a[0]}));
  EXPECT_EQ(order(TUrlHistory::kByUrl, false), (Found{file[0], a[0], b[0]}));
  EXPECT_EQ(order(TUrlHistory::kByLastVisited, true), (Found{a[0], file[0], b[0]}));
  EXPECT_EQ(order(TUrlHistory::kByLastUpdated, false), (Found{b[0], file[0], a[0]}));
  EXPECT_EQ(order(TUrlHistory::kByExpires, false), (Found{b[0], file[0], a[0]}));
  store->RecordVisit("https://\xc3\xa9.example/", "\xc3\xa9t\xc3\xa9", kT0, true);
  EXPECT_EQ(order(TUrlHistory::kByTitle, true).front(), "https://\xc3\xa9.example/");
}

TEST_F(UrlHistoryTest, DeletePassAndClearRemoveExactlyWhatTheyShould) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  for (int i = 0; i < 6; ++i)
    store->RecordVisit(
        "https://site.example/" + std::string(i % 2 ? "del/" : "keep/") + std::to_string(i),
        "Page " + std::to_string(i), kT0 + i * 1000, true);

  TUrlHistory pass(*store);
  std::vector<std::int64_t> seenVisits;
  // The pass sees the entries as Enumerate does. One of the accepted entries is visited again
  // while the pass runs: that newer visit stays.
  const int deleted = pass.DeleteMatching([&](const THistoryEntry& entry) {
    seenVisits.push_back(entry.LastVisited);
    if (entry.Url == "https://site.example/del/3") {
      store->RecordVisit(entry.Url, "", kT0 + 60000, true);
      store->Flush();
    }
    return entry.Url.find("/del/") != std::string::npos;
  });
  EXPECT_EQ(deleted, 2);
  std::sort(seenVisits.begin(), seenVisits.end());
  EXPECT_EQ(seenVisits.size(), 6u);
  EXPECT_EQ(seenVisits.front(), kT0 + 9 * kHour);

  TUrlHistory history(*store);
  history.sortKey = TUrlHistory::kByUrl;
  ASSERT_EQ(history.Enumerate(), 4);
  EXPECT_EQ(Urls(history), (std::vector<std::string>{
                               "https://site.example/del/3", "https://site.example/keep/0",
                               "https://site.example/keep/2", "https://site.example/keep/4"}));
  for (const char* suffix : {"", "-wal"})
    EXPECT_EQ(ReadBytes(path_.string() + suffix).find("del/1"), std::string::npos) << suffix;
  EXPECT_EQ(pass.DeleteMatching([](const THistoryEntry&) { return false; }), 0);
  EXPECT_EQ(history.Enumerate(), 4);

  // Clear takes what is still queued too, and leaves no trace of the URLs in the files.
  store->RecordVisit("https://queued.example/private", "Private", kT0, true);
  ASSERT_TRUE(store->Clear());
  EXPECT_EQ(history.Enumerate(), 0);
  for (const char* suffix : {"", "-wal"}) {
    const std::string bytes = ReadBytes(path_.string() + suffix);
    EXPECT_EQ(bytes.find("site.example"), std::string::npos) << suffix;
    EXPECT_EQ(bytes.find("queued.example"), std::string::npos) << suffix;
  }
  store->RecordVisit("https://after.example/", "", kT0, true);
  EXPECT_EQ(history.Enumerate(), 1);
}

TEST_F(UrlHistoryTest, WhatIsNotOursIsMovedAsideAndAFreshStoreStarts) {
  const mode_t oldMask = umask(022);
  const std::string garbage = "not a database\n" + std::string(5000, '\x9c');
  std::ofstream(path_, std::ios::binary) << garbage;

  TUrlHistoryStore::OpenReport report;
  auto store = Open(report);
  ASSERT_NE(store, nullptr) << report.error;
  EXPECT_TRUE(report.ok);
  const fs::path first = path_.string() + ".broken-1";
  EXPECT_EQ(report.movedAside, first.string());
  EXPECT_EQ(ReadBytes(first), garbage);
  // History is private, whatever the mask would give.
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  umask(oldMask);

  // The fresh store works and, being ours, is kept the next time.
  store->RecordVisit("https://fresh.example/", "Fresh", kT0, true);
  store.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  TUrlHistory history(*store);
  EXPECT_EQ(history.Enumerate(), 1);
  store.reset();

  // A database of a newer build: set aside under the next free name, the first one untouched.
  RunSql(path_, "PRAGMA user_version = 2");
  store = Open(report);
  ASSERT_NE(store, nullptr) << report.error;
  const fs::path second = path_.string() + ".broken-2";
  EXPECT_EQ(report.movedAside, second.string());
  EXPECT_EQ(ReadBytes(first), garbage);
  EXPECT_EQ(TUrlHistory(*store).Enumerate(), 0);
  store.reset();

  // Someone else's database.
  fs::remove(path_);
  RunSql(path_, "CREATE TABLE notes(text); INSERT INTO notes VALUES('kept');");
  store = Open(report);
  ASSERT_NE(store, nullptr) << report.error;
  EXPECT_EQ(report.movedAside, path_.string() + ".broken-3");
  store.reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(report.movedAside.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT text FROM notes", -1, &statement, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "kept");
  sqlite3_finalize(statement);
  sqlite3_close(db);

  // Ours, but with a damaged page that only the check at opening finds.
  store = Open();
  ASSERT_NE(store, nullptr);
  for (int i = 0; i < 2000; ++i)
    store->RecordVisit("https://many.example/" + std::to_string(i), "Page", kT0 + i, true);
  store.reset();
  const auto size = fs::file_size(path_);
  ASSERT_GT(size, 16 * 4096u);
  std::fstream damage(path_, std::ios::binary | std::ios::in | std::ios::out);
  damage.seekp(static_cast<std::streamoff>(size / 4096 / 2 * 4096));
  damage << std::string(4096, '\xee');
  damage.close();
  store = Open(report);
  ASSERT_NE(store, nullptr) << report.error;
  EXPECT_EQ(report.movedAside, path_.string() + ".broken-4");
  EXPECT_EQ(TUrlHistory(*store).Enumerate(), 0);
}

// A program killed without warning keeps every visit it queued more than a second before.
TEST_F(UrlHistoryTest, VisitsSurviveAKillAfterASecond) {
  struct Queued {
    std::int64_t index;
    std::int64_t nanoseconds;
  };
  const auto monotonic = [] {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  };
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeEnds[0]);
    TUrlHistoryStore::OpenReport report;
    auto store = TUrlHistoryStore::Open(path_.string(), report);
    if (store == nullptr)
      _exit(2);
    for (std::int64_t i = 0;; ++i) {
      store->RecordVisit("https://visit.example/" + std::to_string(i), "Visit", kT0 + i, true);
      const Queued queued{i, monotonic()};
      if (write(pipeEnds[1], &queued, sizeof queued) != sizeof queued)
        _exit(3);
      // Slow enough that the queue never grows long enough to be written for its length.
      usleep(2000);
    }
  }
  close(pipeEnds[1]);

  std::vector<Queued> log;
  const auto readSome = [&](int timeoutMs) {
    pollfd ready{pipeEnds[0], POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0)
      return false;
    Queued queued{};
    if (read(pipeEnds[0], &queued, sizeof queued) != sizeof queued)
      return false;
    log.push_back(queued);
    return true;
  };
  ASSERT_TRUE(readSome(5000));
  const std::int64_t killAt = log.front().nanoseconds + 1500000000;
  while (monotonic() < killAt)
    readSome(static_cast<int>((killAt - monotonic()) / 1000000) + 1);
  const std::int64_t killed = monotonic();
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status));
  while (readSome(0)) {
  }
  close(pipeEnds[0]);

  auto store = Open();
  ASSERT_NE(store, nullptr);
  TUrlHistory history(*store);
  history.Enumerate();
  const std::vector<std::string> urls = Urls(history);
  const std::set<std::string> found(urls.begin(), urls.end());
  int due = 0;
  for (const Queued& queued : log) {
    if (queued.nanoseconds > killed - 1000000000)
      continue;
    ++due;
    EXPECT_TRUE(found.count("https://visit.example/" + std::to_string(queued.index)))
        << queued.index;
  }
  EXPECT_GT(due, 50);
}

}  // namespace
}  // namespace zelvora
