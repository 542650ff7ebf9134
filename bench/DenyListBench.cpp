// One deny-list check per navigation: a URL against a long list must stay far below a
// millisecond, whether nothing matches or only the last entry does.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/tools/DenyList.h"

namespace {

constexpr int kEntryCount = 1000;

// Half plain addresses, half expressions, the last entry the one the matching URL hits.
std::vector<zelvora::DenyEntry> LongList() {
  std::string text = "; a list as users grow them\r\n";
  for (int i = 0; i < kEntryCount - 1; ++i) {
    const std::string n = std::to_string(i);
    if (i % 2 == 0)
      text += "2 http://ads" + n + ".example.com/banner\\img//\r\n";
    else
      text += "r1 ^https?:/(www\\.)?track" + n + "\\.example\\.(com|net)/.*\\?id=\\d+\r\n";
  }
  text += "r4 ^https?:/last\\.example/ http://safe.example/\r\n";
  return zelvora::CompileDenyList(text);
}

void BmCheckNoMatch(benchmark::State& state) {
  const std::vector<zelvora::DenyEntry> entries = LongList();
  const std::string original =
      "https://www.example.org/news/2026/12/06/a-long-article-title.html?ref=home&page=2";
  for (auto _ : state) {
    std::string url = original;
    benchmark::DoNotOptimize(zelvora::CheckDenyList(entries, url));
  }
}
BENCHMARK(BmCheckNoMatch)->Unit(benchmark::kMicrosecond);

void BmCheckLastEntryMatches(benchmark::State& state) {
  const std::vector<zelvora::DenyEntry> entries = LongList();
  const std::string original = "https://last.example/some/page.html?x=1";
  for (auto _ : state) {
    std::string url = original;
    if (zelvora::CheckDenyList(entries, url) != zelvora::kDenyRedirect)
      state.SkipWithError("the last entry did not match");
    benchmark::DoNotOptimize(url);
  }
}
BENCHMARK(BmCheckLastEntryMatches)->Unit(benchmark::kMicrosecond);

}  // namespace
