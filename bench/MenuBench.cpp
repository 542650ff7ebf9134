// The menus are rebuilt at start-up and after every theme change, before the window shows them:
// the whole model, with a theme that answers every name, should take well under 5 ms.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/shell/MenuModel.h"

namespace {

// Answers every lookup with a fresh string, as a theme file read through the profile cache does.
class EveryNameTheme final : public zelvora::MenuThemeSource {
 public:
  std::string MenuCaption(std::string_view name, std::string_view) override {
    std::string caption = "&";
    caption.append(name);
    caption.append(" (themed)  ");
    return caption;
  }
  std::string MenuBarCaption(std::string_view name, std::string_view) override {
    return std::string(name);
  }
  std::string ShortcutText(std::string_view name) override {
    std::string key = "Ctrl+Shift+";
    key.append(name.substr(0, 1));
    return key;
  }
  std::string GestureText(std::string_view) override { return "RDLU"; }
  std::string FileHistoryLabel() override { return "&File History"; }
};

void BM_BuildMenus(benchmark::State& state) {
  EveryNameTheme theme;
  zelvora::MenuBuildOptions options;
  options.theme = &theme;
  options.gesturesEnabled = true;
  std::size_t bound = 0;
  options.addShortcut = [&bound](std::uint16_t, std::string_view) { return ++bound % 2 == 0; };
  options.addGesture = [&bound](std::uint16_t, std::string_view) { ++bound; };
  for (auto _ : state) {
    zelvora::MenuModel model = zelvora::BuildMenus(options);
    benchmark::DoNotOptimize(model);
  }
  benchmark::DoNotOptimize(bound);
}
BENCHMARK(BM_BuildMenus)->Unit(benchmark::kMicrosecond);

void BM_CaptionOfCommand(benchmark::State& state) {
  EveryNameTheme theme;
  zelvora::MenuBuildOptions options;
  options.theme = &theme;
  const zelvora::MenuModel model = zelvora::BuildMenus(options);
  for (auto _ : state) {
    // The last context menu's last item: the longest search there is.
    benchmark::DoNotOptimize(zelvora::CaptionOfCommand(model, 3237));
  }
}
BENCHMARK(BM_CaptionOfCommand)->Unit(benchmark::kMicrosecond);

}  // namespace
