// Start-up reads the whole settings record (~130 keys) before the main window shows: it should
// take well under a millisecond, both from the profile cache and when the file is parsed anew.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/shell/SettingsFile.h"
#include "core/shell/UtilFunc.h"

namespace {

using zelvora::SettingsLoadContext;
using zelvora::TSettings;

struct SettingsFixture {
  std::string path;
  SettingsLoadContext context;
};

// A complete settings file as the program writes it, with realistic strings.
const SettingsFixture& Fixture() {
  static const SettingsFixture fixture = [] {
    SettingsFixture f;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zelvora-settings-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    f.path = (folder / "Zelvora.ini").string();
    static std::filesystem::path created;
    created = folder;
    std::atexit([] { std::filesystem::remove_all(created); });
    f.context.windowWidth = 1024;
    f.context.windowHeight = 768;
    TSettings record = zelvora::BaseDefaultSettings(f.context.platform);
    record.strings[0] = "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko)";
    record.strings[1] = "http://www.example.com/start/page.html";
    record.flags[10] = 1;
    record.integers[5] = 40;
    zelvora::SaveSettings(f.path, record);
    return f;
  }();
  return fixture;
}

void BM_LoadSettingsWarm(benchmark::State& state) {
  const SettingsFixture& f = Fixture();
  TSettings record;
  zelvora::LoadSettings(f.path, record, f.context);
  for (auto _ : state) {
    zelvora::LoadSettings(f.path, record, f.context);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_LoadSettingsWarm)->Unit(benchmark::kMicrosecond);

// FlushProfile makes the next read look at the disk again; the file has not changed, so this
// costs one stat() on top of the warm load.
void BM_LoadSettingsRecheck(benchmark::State& state) {
  const SettingsFixture& f = Fixture();
  TSettings record;
  for (auto _ : state) {
    zelvora::FlushProfile(f.path);
    zelvora::LoadSettings(f.path, record, f.context);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_LoadSettingsRecheck)->Unit(benchmark::kMicrosecond);

// The first load of a run: the file is read and parsed anew. Between loads the file is swapped
// (untimed) for an identical copy with another inode, which the cache must take as a change.
void BM_LoadSettingsReparse(benchmark::State& state) {
  const SettingsFixture& f = Fixture();
  const std::string copies[2] = {f.path + ".a", f.path + ".b"};
  const std::string swap = f.path + ".swap";
  for (const std::string& copy : copies) {
    std::filesystem::remove(copy);  // may still be the settings file's other name
    std::filesystem::copy_file(f.path, copy);
  }
  TSettings record;
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string& copy = copies[turn++ & 1];
    if (link(copy.c_str(), swap.c_str()) != 0 || rename(swap.c_str(), f.path.c_str()) != 0)
      state.SkipWithError("cannot swap the settings file");
    state.ResumeTiming();
    zelvora::FlushProfile(f.path);
    zelvora::LoadSettings(f.path, record, f.context);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_LoadSettingsReparse)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
  const SettingsFixture& f = Fixture();
  TSettings record = zelvora::BaseDefaultSettings(f.context.platform);
  int toggle = 0;
  for (auto _ : state) {
    record.integers[5] = 20 + (toggle++ & 1);  // a real change, so the file is rewritten
    benchmark::DoNotOptimize(zelvora::SaveSettings(f.path, record));
  }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

}  // namespace
