// Folder scan, column sort, Delete and a drag step of the file list against their floors: the
// scan against readdir plus one statx per file relative to its folder over the same tree, the
// others against a plain std::sort of the same 100,000 names.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QAction>
#include <QApplication>
#include <QItemSelection>

#include "app/commands.h"
#include "app/main_frame.h"
#include "bench/bench_main.h"
#include "bench/bench_prompter.h"
#include "bench/bench_ratio.h"
#include "bench/bench_tree.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

namespace zul {

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kRows = 100'000;

const BenchTree& Tree() {
  static const BenchTree tree(kFolders, kFilesPerFolder, 6);
  return tree;
}

// Shows a window as the desktop does and lets it paint.
void ShowWindow(QWidget& window) {
  window.resize(1280, 800);
  window.show();
  QApplication::processEvents();
}

void BM_ScanFloor(benchmark::State& state) {
  for (auto _ : state) {
    const int files = WalkFloor(Tree().Root());
    if (files != kRows) state.SkipWithError("tree incomplete");
  }
}
BENCHMARK(BM_ScanFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// "Verzeichnis hinzufügen..." with subfolders: 100,000 rows, 1,001 per-folder recomputations.
// Arg 0: a hidden list without feedback. Arg 1: with the progress dialog of the program, the list
// shown and the window's events processed, up to the list painted with its new rows.
void BM_ScanFolder(benchmark::State& state) {
  const bool shown = state.range(0) == 1;
  BenchPrompter prompter(std::nullopt, /*showProgress=*/shown);
  FilterSettings filter;
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor([] { WalkFloor(Tree().Root()); });
    auto view = std::make_unique<CZulboView>(filter, prompter.MakeServices());
    view->Options().includeSubfolders = true;
    if (shown) ShowWindow(*view);
    state.ResumeTiming();
    ratio.RunWork([&] {
      view->ScanFolder(Tree().Root());
      if (shown) QApplication::processEvents();
    });
    state.PauseTiming();
    if (view->RowCount() != kRows) state.SkipWithError("rows missing");
    view.reset();
    state.ResumeTiming();
  }
  ratio.Report(state);
}
BENCHMARK(BM_ScanFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The process's resident memory, in bytes, as the system counts it.
double ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE));
}

// The same folder added through the shown main window's command, as the user does it. The
// resident memory the window grows by is counted at the first iteration, before any freed heap of
// an earlier window can be reused.
void BM_AddFolderThroughTheWindow(benchmark::State& state) {
  BenchPrompter prompter(std::nullopt, /*showProgress=*/true);
  prompter.chosenFolder = Tree().Root();
  FloorRatio ratio;
  double residentPerRow = -1;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor([] { WalkFloor(Tree().Root()); });
    auto frame = std::make_unique<CMainFrame>(prompter.MakeServices());
    frame->View().Options().includeSubfolders = true;
    ShowWindow(*frame);
    const double residentBefore = ResidentBytes();
    state.ResumeTiming();
    ratio.RunWork([&] {
      frame->Action(CmdAddFolder)->trigger();
      QApplication::processEvents();
    });
    state.PauseTiming();
    if (residentPerRow < 0) residentPerRow = (ResidentBytes() - residentBefore) / kRows;
    if (frame->View().RowCount() != kRows) state.SkipWithError("rows missing");
    frame.reset();
    state.ResumeTiming();
  }
  ratio.Report(state);
  state.counters["resident_per_row"] = residentPerRow;
}
BENCHMARK(BM_AddFolderThroughTheWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 100,000 files in random order, with names of 20 bytes or more and random times.
std::vector<FileRecord> MakeFiles() {
  std::mt19937 random(4711);
  std::vector<FileRecord> files;
  files.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    FileRecord file;
    file.name = "Urlaub " + std::to_string(random() % 1'000'000) + " Foto.jpg";
    file.directory = "/home/benutzer/Bilder/Urlaub";
    // 1990 to 2024
    const int64_t time = 631152000 + int64_t(random() % (35L * 365 * 86400));
    file.times = FileTimes{time, time};
    files.push_back(std::move(file));
  }
  return files;
}

const std::vector<FileRecord>& Files() {
  static const std::vector<FileRecord> files = MakeFiles();
  return files;
}

const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> made;
    for (const FileRecord& file : Files()) made.push_back(file.name);
    return made;
  }();
  return names;
}

void BM_PlainSortOfNames(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = Names();
    state.ResumeTiming();
    std::sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_PlainSortOfNames)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The list's questions are answered with "Ja".
std::unique_ptr<CZulboView> MakeView(FilterSettings& filter) {
  static BenchPrompter prompter(Prompter::Answer::Yes);
  auto view = std::make_unique<CZulboView>(filter, prompter.MakeServices());
  FileRows rows;
  for (const FileRecord& file : Files()) rows.Append(file);
  view->Model().Append(std::move(rows));
  return view;
}

// One click on a column header of a list of 100,000 rows in random order, against std::sort of
// the names.
void BM_SortColumn(benchmark::State& state) {
  FilterSettings filter;
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> names = Names();
    ratio.RunFloor([&] { std::sort(names.begin(), names.end()); });
    auto view = MakeView(filter);
    state.ResumeTiming();
    ratio.RunWork([&] { view->OnColumnClick(static_cast<int>(state.range(0))); });
    state.PauseTiming();
    view.reset();
    state.ResumeTiming();
  }
  ratio.Report(state);
}
BENCHMARK(BM_SortColumn)
    ->Arg(ColOldName)
    ->Arg(ColModified)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

QItemSelection EverySecondRow(const CZulboView& view) {
  QItemSelection selection;
  for (int row = 0; row < kRows; row += 2)
    selection.append(
        QItemSelectionRange(view.Model().index(row, 0), view.Model().index(row, ColCount - 1)));
  return selection;
}

// Delete with every second row of 100,000 selected, answered with "Ja".
void BM_DeleteEverySecondRow(benchmark::State& state) {
  FilterSettings filter;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = MakeView(filter);
    view->selectionModel()->select(EverySecondRow(*view), QItemSelectionModel::Select);
    state.ResumeTiming();
    view->OnKeyDown(Qt::Key_Delete);
    state.PauseTiming();
    if (view->RowCount() != kRows / 2) state.SkipWithError("wrong rows removed");
    view.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteEverySecondRow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One drag step of one row down with every second row of 100,000 selected: 50,000 moves.
void BM_DragStepEverySecondRow(benchmark::State& state) {
  FilterSettings filter;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = MakeView(filter);
    view->resize(800, 600);
    view->show();
    view->selectionModel()->select(EverySecondRow(*view), QItemSelectionModel::Select);
    const QPoint row1 = view->visualRect(view->Model().index(1, 0)).center();
    view->OnBeginDrag(0);
    state.ResumeTiming();
    view->OnMouseMove(row1);
    state.PauseTiming();
    if (view->Text(1, ColOldName) != Files()[0].name) state.SkipWithError("rows not moved");
    view.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DragStepEverySecondRow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  return RunWithApplication(argc, argv, [] { Tree(); });
}
