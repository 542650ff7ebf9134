// The history search on a store of 100,000 visits over thirty days and 2,000 hosts, end to end:
// the store enumerated by last visit, each entry filtered by a regular expression over URL and
// title, the matches filed into the History tree. It must stay under 300 ms.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BenchFolder.h"
#include "core/shell/WindowState.h"
#include "core/tools/HistorySearch.h"

namespace {

constexpr int kVisitCount = 100000;
constexpr int kHostCount = 2000;
constexpr std::int64_t kDayMilliseconds = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kSpan = 30 * kDayMilliseconds;

// The store, written once in a folder of its own that goes at exit.
class VisitStore {
 public:
  VisitStore() {
    if (!folder_.Made())
      return;
    zelvora::TUrlHistoryStore::OpenReport report;
    store_ = zelvora::TUrlHistoryStore::Open(folder_.File(zelvora::kHistoryDatabaseName), report);
    if (store_ == nullptr)
      return;
    const std::int64_t start =
        zelvora::ToUnixMilliseconds(zelvora::LocalTime{2024, 11, 1, 0, 0, 0, 0});
    for (int i = 0; i < kVisitCount; ++i) {
      const int host = (i * 7919) % kHostCount;
      const std::string url = "https://www.host" + std::to_string(host) + ".example/section" +
                              std::to_string(i % 50) + "/page" + std::to_string(i) + ".html";
      // Every seventh title is a news page.
      const std::string title = (i % 7 == 0 ? "News " : "Page ") + std::to_string(i) +
                                " of section " + std::to_string(i % 50);
      store_->RecordVisit(url, title, start + kSpan / kVisitCount * i, i % 3 != 0);
    }
    store_->Flush();
  }
  zelvora::TUrlHistoryStore* Get() { return store_.get(); }

 private:
  // Declared first: the store goes before its folder.
  zelvora::bench::BenchFolder folder_;
  std::unique_ptr<zelvora::TUrlHistoryStore> store_;
};

zelvora::TUrlHistoryStore* Store() {
  static VisitStore store;
  return store.Get();
}

// Argument 0: a pattern that about a third of the entries match (pages ending in 0, 3 or 6 by
// URL, news pages by title); 1: one that every entry matches, so all 100,000 are filed.
void BmRegexSearch100k(benchmark::State& state) {
  zelvora::TUrlHistoryStore* store = Store();
  if (store == nullptr) {
    state.SkipWithError("the store could not be made");
    return;
  }
  zelvora::HistoryQuery query;
  query.keyword = state.range(0) == 0 ? R"(page\d*[036]\.html$|^news )" : R"(host\d+\.)";
  query.url = true;
  query.title = true;
  query.regExp = true;
  zelvora::HistoryFiling filing;
  filing.weekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // One tree for every run, as the History tree is: each search replaces the last one's items.
  zelvora::TTreeModel tree(zelvora::kToolHistory);
  for (auto _ : state) {
    if (!zelvora::SearchHistory(*store, tree, query, filing, nullptr))
      state.SkipWithError("the pattern did not compile");
  }
  state.counters["tree items"] = static_cast<double>(tree.ItemCount());
}
BENCHMARK(BmRegexSearch100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
