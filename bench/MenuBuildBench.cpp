// Building every menu, shortcut key and gesture binding from a full theme file, as start-up and
// every theme change do.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/input/MenuBuild.h"
#include "core/shell/CommandTable.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

// A theme that names every command in "Menu", binds a key to the first 61 commands and a
// gesture to every command.
std::string WriteFullTheme() {
  const auto path = std::filesystem::temp_directory_path() /
                    ("zelvora-menu-bench-" + std::to_string(::getpid()) + ".txt");
  std::ofstream out(path, std::ios::binary);
  out << "[Mouse]\r\nGestureEnable=1\r\n[Menu]\r\n";
  for (const CommandRow& row : kCommandRows) {
    if (!row.name.empty())
      out << row.name << "=Themed\\s" << row.name << "\r\n";
  }
  out << "[ShortCutKey]\r\n";
  const char* keys[] = {"F", "Ctrl+", "Alt+", "Shift+", "Ctrl+Shift+"};
  int bound = 0;
  for (const CommandRow& row : kCommandRows) {
    if (row.name.empty() || row.kind != RowKind::kItem)
      continue;
    out << row.name << "=" << keys[bound / 24 % 5] << (bound % 24 + 1) << "\r\n";
    ++bound;
  }
  out << "[MouseGesture]\r\n";
  for (const CommandRow& row : kCommandRows) {
    if (!row.name.empty())
      out << row.name << "=LURD" << row.id % 97 << "\r\n";
  }
  return path.string();
}

void BM_BuildMenusFromFullTheme(benchmark::State& state) {
  const std::string theme = WriteFullTheme();
  TThemeTexts texts;
  texts.Load(theme);
  for (auto _ : state) {
    TMenuBuild build;
    BuildMenusFromTheme(theme, texts, build);
    benchmark::DoNotOptimize(build.model.menuBar.data());
  }
  std::filesystem::remove(theme);
}
BENCHMARK(BM_BuildMenusFromFullTheme)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelvora
