// The trees' commands on a Favorite tree of 100,000 items, each one job behind the grey snapshot:
// deleting every marked item, copying every item, pasting that copy back, and opening or closing
// every folder must each stay under half a second.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "TreeBenchText.h"
#include "core/shell/WindowState.h"
#include "core/tools/Favorites.h"

namespace {

constexpr int kItemCount = 100000;

const zelvora::TreeDefaults kDefaults;

std::unique_ptr<zelvora::TTreeModel> LoadedModel() {
  static const std::string text = zelvora::bench::GenerateTreeText(kItemCount);
  auto model = std::make_unique<zelvora::TTreeModel>(zelvora::kToolFavorite);
  zelvora::InsertTreeText(*model, text, false, kDefaults, nullptr);
  return model;
}

void MarkAll(zelvora::TTreeModel& model) {
  for (zelvora::TreeHandle item = model.FirstTopLevel(); item != zelvora::kNoItem;
       item = model.NextInPreOrder(item))
    model.SetMarked(item, true);
}

void BmDeleteAllMarked100k(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto model = LoadedModel();
    MarkAll(*model);
    state.ResumeTiming();
    zelvora::DeleteMarked(*model, nullptr);
    state.PauseTiming();
    if (model->ItemCount() != 1)
      state.SkipWithError("the delete left more than the first top-level item");
    model.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BmDeleteAllMarked100k)->Unit(benchmark::kMillisecond);

void BmCopyAll100k(benchmark::State& state) {
  const auto model = LoadedModel();
  MarkAll(*model);
  for (auto _ : state) {
    const std::optional<std::string> text = zelvora::SerializeSelection(*model, nullptr);
    benchmark::DoNotOptimize(text->data());
  }
}
BENCHMARK(BmCopyAll100k)->Unit(benchmark::kMillisecond);

// The copy of the whole tree pasted at the root's first child, taking the focus (every pasted
// item marked).
void BmPasteAll100k(benchmark::State& state) {
  std::string copy;
  {
    const auto model = LoadedModel();
    MarkAll(*model);
    copy = zelvora::SerializeSelection(*model, nullptr).value_or("");
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto model = LoadedModel();
    model->SetCaret(model->FirstChild(model->FirstTopLevel()));
    state.ResumeTiming();
    const zelvora::InsertResult pasted =
        zelvora::InsertTreeText(*model, copy, true, kDefaults, nullptr);
    state.PauseTiming();
    if (pasted.added.size() != static_cast<std::size_t>(kItemCount))
      state.SkipWithError("the paste did not insert every line");
    model.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BmPasteAll100k)->Unit(benchmark::kMillisecond);

// Argument 1 opens every folder of a tree whose folders are all closed, 0 closes them all.
void BmAllFolders100k(benchmark::State& state) {
  const bool open = state.range(0) != 0;
  const auto model = LoadedModel();
  for (auto _ : state) {
    state.PauseTiming();
    zelvora::SetAllFoldersOpen(*model, !open, nullptr);
    state.ResumeTiming();
    zelvora::SetAllFoldersOpen(*model, open, nullptr);
  }
}
BENCHMARK(BmAllFolders100k)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
