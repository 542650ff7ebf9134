// Start-up reads every theme text before the main window shows, and applying the labels page of
// the theme editor reads them again: loading all texts from a full theme file should stay well
// under a millisecond once the file is parsed, and within a few parses of the file when it has
// just changed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/input/ThemeTexts.h"
#include "core/shell/SafeFile.h"
#include "core/shell/UtilFunc.h"

namespace {

using namespace zelvora;

struct ThemeFixture {
  std::string path;
  std::string content;
};

void AddSection(std::string& content, std::string_view section) {
  content += "[";
  content += section;
  content += "]\r\n";
}

void AddKey(std::string& content, std::string_view key, std::string_view value) {
  content += key;
  content += "=";
  content += value;
  content += "\r\n";
}

// A translated theme with every text this loader reads, plus menu, shortcut and gesture
// sections the size of the command table's, which the lookups have to share the file with.
const ThemeFixture& Theme() {
  static const ThemeFixture fixture = [] {
    ThemeFixture f;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zelvora-theme-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    f.path = (folder / "Deutsch.txt").string();
    std::string& c = f.content;
    AddSection(c, kThemeSection);
    AddKey(c, kThemeTitleKey, "Deutsch");
    AddKey(c, kThemeAuthorKey, "Jemand");
    AddSection(c, kThemeMenuSection);
    for (std::string_view name : kToolPanelTreeNames)
      AddKey(c, name, std::string(name) + "-Baum");
    for (int i = 0; i < 300; ++i)
      AddKey(c, "MenuCommand" + std::to_string(i), "&Befehl\\sNummer " + std::to_string(i));
    for (std::string_view section : {"ShortCutKey", "MouseGesture"}) {
      AddSection(c, section);
      for (int i = 0; i < 300; i += 3)
        AddKey(c, "MenuCommand" + std::to_string(i), "Ctrl+Shift+F" + std::to_string(i % 12));
    }
    AddSection(c, kThemeButtonSection);
    for (std::size_t group = 0; group < kButtonGroupCount; ++group) {
      for (std::string_view tip : BuiltInButtonTips(static_cast<ButtonGroup>(group)))
        AddKey(c, ThemeKey(tip), "Knopf " + std::string(tip));
    }
    AddSection(c, kThemeLabelSection);
    for (std::string_view label : kBuiltInControlLabels)
      AddKey(c, ThemeKey(label), "Beschriftung " + std::string(label));
    for (std::string_view page : kConfigTreePageNames)
      AddKey(c, std::string(kConfigTreeKeyPrefix) + std::string(page), "Seite");
    AddKey(c, kFileHistoryKey, "&Verlauf");
    AddSection(c, kThemeMessageSection);
    for (int i = 0; i < kThemeMessageCount; ++i)
      AddKey(c, std::to_string(i), "Meldung\\nzweite\\sZeile");
    WriteFileAtomic(f.path, f.content);
    return f;
  }();
  return fixture;
}

void BM_LoadThemeTextsWarm(benchmark::State& state) {
  const ThemeFixture& f = Theme();
  TThemeTexts texts;
  texts.Load(f.path);
  for (auto _ : state) {
    texts.Load(f.path);
    benchmark::DoNotOptimize(texts);
  }
}
BENCHMARK(BM_LoadThemeTextsWarm);

// The theme editor has just written the file: the first lookup re-reads and parses it.
void BM_LoadThemeTextsAfterWrite(benchmark::State& state) {
  const ThemeFixture& f = Theme();
  TThemeTexts texts;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WriteFileAtomic(f.path, f.content + "; " + std::to_string(++round) + "\r\n");
    FlushProfile(f.path);
    state.ResumeTiming();
    texts.Load(f.path);
    benchmark::DoNotOptimize(texts);
  }
}
BENCHMARK(BM_LoadThemeTextsAfterWrite);

}  // namespace
