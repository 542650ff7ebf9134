// A Favorite tree grows to 100,000 items over years of use. Loading it, writing it and deleting
// half of it are each one job behind the grey snapshot and must stay well under a second; the
// model must not take more than a few tens of MiB. The trees' commands on such a tree (copy,
// paste, delete, opening and closing every folder) are timed beside them, in FavoritesBench.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchFolder.h"
#include "TreeBenchText.h"
#include "core/shell/WindowState.h"
#include "core/tools/TreeFile.h"

namespace {

constexpr int kItemCount = 100000;

const zelvora::TreeDefaults kDefaults;

// Heap in use: the arena's blocks and the large blocks malloc maps on its own.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

const std::string& TreeText() {
  static const std::string text = zelvora::bench::GenerateTreeText(kItemCount);
  return text;
}

std::unique_ptr<zelvora::TTreeModel> LoadedModel() {
  auto model = std::make_unique<zelvora::TTreeModel>(zelvora::kToolFavorite);
  zelvora::InsertTreeText(*model, TreeText(), false, kDefaults, nullptr);
  return model;
}

void BmParse100k(benchmark::State& state) {
  const std::string& text = TreeText();
  const std::size_t heapBefore = HeapInUse();
  std::size_t modelBytes = 0;
  for (auto _ : state) {
    auto model = std::make_unique<zelvora::TTreeModel>(zelvora::kToolFavorite);
    zelvora::InsertTreeText(*model, text, false, kDefaults, nullptr);
    state.PauseTiming();
    if (model->ItemCount() != static_cast<std::size_t>(kItemCount))
      state.SkipWithError("the tree did not load whole");
    modelBytes = HeapInUse() - heapBefore;
    model.reset();
    state.ResumeTiming();
  }
  state.counters["model_MiB"] = static_cast<double>(modelBytes) / (1024.0 * 1024.0);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BmParse100k)->Unit(benchmark::kMillisecond);

// A folder of 100,000 children: each item goes after the last one.
void BmFlatFolder100k(benchmark::State& state) {
  std::string text = "1,Flat\r\n";
  for (int i = 0; i < kItemCount; ++i)
    text += "\thttp://www.example.org/" + std::to_string(i) + "\tItem\r\n";
  for (auto _ : state) {
    zelvora::TTreeModel model(zelvora::kToolFavorite);
    zelvora::InsertTreeText(model, text, false, kDefaults, nullptr);
    benchmark::DoNotOptimize(model.ItemCount());
  }
}
BENCHMARK(BmFlatFolder100k)->Unit(benchmark::kMillisecond);

void BmWrite100k(benchmark::State& state) {
  const zelvora::bench::BenchFolder folder;
  if (!folder.Made()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = folder.File("Favorite.dat");
  const auto model = LoadedModel();
  for (auto _ : state) {
    if (zelvora::WriteTreeFile(*model, path, nullptr).status !=
        zelvora::TreeWriteStatus::kWritten) {
      state.SkipWithError("the tree file could not be written");
      break;
    }
  }
}
BENCHMARK(BmWrite100k)->Unit(benchmark::kMillisecond);

// Every other item in display order marked, then deleted in one go.
void BmDeleteHalf100k(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto model = LoadedModel();
    bool mark = false;
    for (zelvora::TreeHandle item = model->FirstChild(model->FirstTopLevel());
         item != zelvora::kNoItem; item = model->NextInPreOrder(item)) {
      model->SetMarked(item, mark);
      mark = !mark;
    }
    state.ResumeTiming();
    model->DeleteItems(model->MarkedItems());
    state.PauseTiming();
    model.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BmDeleteHalf100k)->Unit(benchmark::kMillisecond);

}  // namespace
