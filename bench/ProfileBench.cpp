// The settings file is read key by key at start-up and written key by key when the settings are
// saved. Reading every key through the cache should cost at most about twice one parse of the
// file: compare BM_ReadAllKeysWarm with BM_ParseFromDisk.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/shell/ProfileFile.h"
#include "core/shell/SafeFile.h"
#include "core/shell/UtilFunc.h"

namespace {

using zelvora::ProfileFile;

struct SettingsFixture {
  std::string path;
  std::string content;
  std::vector<std::pair<std::string, std::string>> keys;  // section, key
};

// A settings file shaped like the real one: one big dialog section and two small ones.
const SettingsFixture& Settings() {
  static const SettingsFixture fixture = [] {
    SettingsFixture f;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zelvora-profile-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    f.path = (folder / "Zelvora.ini").string();
    const std::pair<const char*, int> sections[] = {
        {"ConfigDialog", 100}, {"Zelvora", 20}, {"Rebar", 5}};
    for (const auto& [section, count] : sections) {
      f.content += std::string("[") + section + "]\r\n";
      for (int i = 0; i < count; ++i) {
        const std::string key =
            std::string(i % 3 == 0 ? "TabOpenMax" : "ShowStatusBar") + std::to_string(i);
        const std::string value =
            i % 5 == 0 ? "http://www.example.com/start/page.html" : std::to_string(i * 7);
        f.content += key + "=" + value + "\r\n";
        f.keys.emplace_back(section, key);
      }
      f.content += "\r\n";
    }
    zelvora::WriteFileAtomic(f.path, f.content);
    return f;
  }();
  return fixture;
}

void BM_ParseFromMemory(benchmark::State& state) {
  const SettingsFixture& f = Settings();
  for (auto _ : state) {
    ProfileFile file = ProfileFile::Parse(f.content);
    benchmark::DoNotOptimize(file);
  }
}
BENCHMARK(BM_ParseFromMemory);

// What loading costs the cache: stat, read and parse.
void BM_ParseFromDisk(benchmark::State& state) {
  const SettingsFixture& f = Settings();
  for (auto _ : state) {
    std::optional<std::string> content = zelvora::ReadWholeFile(f.path);
    ProfileFile file = ProfileFile::Parse(*content);
    benchmark::DoNotOptimize(file);
  }
}
BENCHMARK(BM_ParseFromDisk);

void BM_ReadAllKeysWarm(benchmark::State& state) {
  const SettingsFixture& f = Settings();
  zelvora::ReadProfileString(f.path, "Rebar", "warm", "");
  for (auto _ : state) {
    for (const auto& [section, key] : f.keys) {
      benchmark::DoNotOptimize(zelvora::ReadProfileString(f.path, section, key, ""));
    }
  }
  state.counters["keys"] = static_cast<double>(f.keys.size());
}
BENCHMARK(BM_ReadAllKeysWarm);

void BM_ReadAllIntsWarm(benchmark::State& state) {
  const SettingsFixture& f = Settings();
  zelvora::ReadProfileInt(f.path, "Rebar", "warm", 0);
  for (auto _ : state) {
    for (const auto& [section, key] : f.keys) {
      benchmark::DoNotOptimize(zelvora::ReadProfileInt(f.path, section, key, 0));
    }
  }
}
BENCHMARK(BM_ReadAllIntsWarm);

// Saving the settings: every key rewritten inside one batch, so the file is written once.
void BM_WriteAllKeysInBatch(benchmark::State& state) {
  const SettingsFixture& f = Settings();
  int round = 0;
  for (auto _ : state) {
    ++round;
    zelvora::ProfileUpdate batch(f.path);
    for (const auto& [section, key] : f.keys) {
      zelvora::WriteProfileInt(f.path, section, key, round);
    }
    if (!batch.Commit())
      state.SkipWithError(batch.ErrorText().c_str());
  }
}
BENCHMARK(BM_WriteAllKeysInBatch)->Unit(benchmark::kMicrosecond);

}  // namespace
