// A million files in 1,000 folders through the shown list: the scan against its floor (readdir
// plus one statx per file relative to its folder), the heap each row costs, and the time and the
// peak heap of a click on a column header against a plain std::sort of the names. Ratios are the
// counters "over_floor" (see bench_ratio.h).
//
// Heap is measured twice: everything malloc holds (mallinfo2, Qt's own blocks included), and the
// bytes live through operator new, counted here, whose peak shows what a sort needs on top.

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QApplication>

#include "bench/bench_main.h"
#include "bench/bench_prompter.h"
#include "bench/bench_ratio.h"
#include "bench/bench_tree.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

namespace zul {

namespace {

std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};

void* Counted(void* block) {
  if (!block) throw std::bad_alloc();
  const size_t live = g_live.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
  size_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return block;
}

void Uncounted(void* block) {
  if (!block) return;
  g_live.fetch_sub(malloc_usable_size(block));
  std::free(block);
}

}  // namespace

}  // namespace zul

void* operator new(size_t size) { return zul::Counted(std::malloc(size ? size : 1)); }
void* operator new[](size_t size) { return zul::Counted(std::malloc(size ? size : 1)); }
void operator delete(void* block) noexcept { zul::Uncounted(block); }
void operator delete[](void* block) noexcept { zul::Uncounted(block); }
void operator delete(void* block, size_t) noexcept { zul::Uncounted(block); }
void operator delete[](void* block, size_t) noexcept { zul::Uncounted(block); }

namespace zul {

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 1000;
constexpr int kRows = kFolders * kFilesPerFolder;

const BenchTree& Tree() {
  static const BenchTree tree(kFolders, kFilesPerFolder, 7);
  return tree;
}

// Everything malloc holds.
size_t MallocHeld() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The list of the last scan, shown, for the sorts.
struct ShownList {
  BenchPrompter prompter{std::nullopt, /*showProgress=*/true};
  FilterSettings filter;
  std::unique_ptr<CZulboView> view;
  size_t liveWithout = 0;  // bytes live through operator new before the list was made
};

ShownList& List() {
  static ShownList list;
  return list;
}

void BM_ScanFloor(benchmark::State& state) {
  for (auto _ : state) {
    if (WalkFloor(Tree().Root()) != kRows) state.SkipWithError("tree incomplete");
  }
}

// "Verzeichnis hinzufügen..." with subfolders into a shown list with the progress dialog, up to
// the list painted with its new rows.
void BM_ScanShownList(benchmark::State& state) {
  ShownList& list = List();
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor([] { WalkFloor(Tree().Root()); });
    list.view.reset();
    QApplication::processEvents();
    list.liveWithout = g_live;
    const size_t heldWithout = MallocHeld();
    list.view = std::make_unique<CZulboView>(list.filter, list.prompter.MakeServices());
    list.view->Options().includeSubfolders = true;
    list.view->resize(1280, 800);
    list.view->show();
    QApplication::processEvents();
    state.ResumeTiming();
    ratio.RunWork([&] {
      list.view->ScanFolder(Tree().Root());
      QApplication::processEvents();
    });
    state.PauseTiming();
    if (list.view->RowCount() != kRows) state.SkipWithError("rows missing");
    state.counters["heap_per_row"] = double(MallocHeld() - heldWithout) / kRows;
    state.counters["new_per_row"] = double(g_live - list.liveWithout) / kRows;
    state.ResumeTiming();
  }
  ratio.Report(state);
}

// One click on a column header of the scanned list, in the order the scan left it, against
// std::sort of the names in the same order. The peak is the list's heap at its highest during the
// click against the list's heap before it.
void BM_SortColumn(benchmark::State& state) {
  ShownList& list = List();
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    {
      std::vector<std::string> names;
      names.reserve(kRows);
      for (int row = 0; row < kRows; ++row) names.push_back(list.view->Text(row, ColOldName));
      ratio.RunFloor([&] { std::sort(names.begin(), names.end()); });
    }
    const size_t before = g_live - list.liveWithout;
    g_peak = g_live.load();
    state.ResumeTiming();
    ratio.RunWork([&] {
      list.view->OnColumnClick(static_cast<int>(state.range(0)));
      QApplication::processEvents();
    });
    state.PauseTiming();
    state.counters["peak_over_list"] = double(g_peak - list.liveWithout) / double(before);
    state.ResumeTiming();
  }
  ratio.Report(state);
}

// A recomputation that gives every row a name of its own, and the heap per row afterwards.
void BM_RecomputeNewNames(benchmark::State& state) {
  ShownList& list = List();
  list.filter.mask = "[name]_neu.[typ]";
  for (auto _ : state) {
    list.view->RecomputeNewNames();
    QApplication::processEvents();
  }
  state.counters["new_per_row"] = double(g_live - list.liveWithout) / kRows;
}

// In this order: the later ones work on the list of the scan.
BENCHMARK(BM_ScanFloor)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ScanShownList)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SortColumn)->Arg(ColOldName)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SortColumn)->Arg(ColModified)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RecomputeNewNames)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  return RunWithApplication(
      argc, argv, [] { Tree(); }, [] { List().view.reset(); });
}
