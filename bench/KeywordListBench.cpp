// The keyword lists are read at start-up and on every reload command; a list that was never cut
// down can grow to 100,000 lines and must still load in a few milliseconds.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "BenchFolder.h"
#include "core/tools/KeywordList.h"

namespace {

constexpr int kLineCount = 100000;

void BmLoad100kLines(benchmark::State& state) {
  const zelvora::bench::BenchFolder folder;
  if (!folder.Made()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = folder.File("HistoryKey.txt");

  zelvora::TKeywordList list;
  for (int i = 0; i < kLineCount; ++i)
    list.items.push_back("keyword number " + std::to_string(i) + " with some words after it");
  if (!list.Save(path).ok) {
    state.SkipWithError("the list file could not be written");
  } else {
    for (auto _ : state) {
      zelvora::TKeywordList loaded;
      if (!loaded.Load(path) || loaded.items.size() != static_cast<std::size_t>(kLineCount)) {
        state.SkipWithError("the list did not load whole");
        break;
      }
      benchmark::DoNotOptimize(loaded.items.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
  }
}
BENCHMARK(BmLoad100kLines)->Unit(benchmark::kMillisecond);

}  // namespace
