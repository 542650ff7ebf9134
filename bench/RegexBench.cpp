// A constant pattern used in a loop, as the program's callers use them: compiled on every call
// against taken from the cache. The cached figure must stay at the cost of the match alone.

#include <benchmark/benchmark.h>

#include <string>

#include "core/text/Regex.h"

namespace {

constexpr std::string_view kPattern = "(?ig)/theme=\\s*([^\\r]*)";

const std::string& Subject() {
  static const std::string subject =
      "[General]\r\n/width=800\r\n/height=600\r\n/THEME= dark blue\r\n/zoom=100\r\n";
  return subject;
}

void CompiledEachTime(benchmark::State& state) {
  for (auto _ : state) {
    const zelvora::Regex regex(kPattern);
    benchmark::DoNotOptimize(regex.FindFirst(Subject()));
  }
}
BENCHMARK(CompiledEachTime);

void ThroughTheCache(benchmark::State& state) {
  const auto expected = zelvora::Regex::Cached(kPattern);
  for (auto _ : state) {
    const auto regex = zelvora::Regex::Cached(kPattern);
    if (regex != expected) {
      state.SkipWithError("the cache compiled the pattern again");
      break;
    }
    benchmark::DoNotOptimize(regex->FindFirst(Subject()));
  }
}
BENCHMARK(ThroughTheCache);

void GroupTextHelper(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(zelvora::RegexGroupText(kPattern, Subject(), 1));
  }
}
BENCHMARK(GroupTextHelper);

}  // namespace
