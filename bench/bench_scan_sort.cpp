// Folder scan, column sort, Delete and a drag step of the file list against their floors: the
// scan against readdir plus one statx per file over the same tree, the others against a plain
// std::sort of the same 100,000 names.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QItemSelection>

#include "bench/bench_prompter.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kRows = 100'000;

std::string g_treeRoot;

// 1,000 folders of 100 files each under one root.
void MakeTree() {
  char pattern[] = "/tmp/zul-bench-scan-XXXXXX";
  g_treeRoot = mkdtemp(pattern);
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string path = g_treeRoot + "/Ordner " + std::to_string(folder);
    mkdir(path.c_str(), 0755);
    for (int file = 0; file < kFilesPerFolder; ++file) {
      const std::string name =
          path + "/Foto " + std::to_string(folder * kFilesPerFolder + file) + ".jpg";
      close(open(name.c_str(), O_CREAT | O_WRONLY, 0644));
    }
  }
}

// The floor: every entry read, every file examined once, nothing else.
int WalkFloor(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  int files = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string path = folder + "/" + entry->d_name;
    if (entry->d_type == DT_DIR) {
      files += WalkFloor(path);
    } else {
      struct statx times {};
      statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &times);
      benchmark::DoNotOptimize(times.stx_mtime.tv_sec);
      ++files;
    }
  }
  closedir(dir);
  return files;
}

void BM_ScanFloor(benchmark::State& state) {
  for (auto _ : state) {
    const int files = WalkFloor(g_treeRoot);
    if (files != kRows) state.SkipWithError("tree incomplete");
  }
}
BENCHMARK(BM_ScanFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// "Verzeichnis hinzufügen..." with subfolders: 100,000 rows, 1,001 per-folder recomputations.
// Arg 0: without feedback; arg 1: with the timed progress dialog of the program.
void BM_ScanFolder(benchmark::State& state) {
  BenchPrompter prompter(std::nullopt, /*showProgress=*/state.range(0) == 1);
  FilterSettings filter;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<CZulboView>(filter, prompter.MakeServices());
    view->Options().includeSubfolders = true;
    state.ResumeTiming();
    view->ScanFolder(g_treeRoot);
    state.PauseTiming();
    if (view->RowCount() != kRows) state.SkipWithError("rows missing");
    view.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ScanFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 100,000 rows in random order, with names of 20 bytes or more and random dates.
std::vector<FileEntry> MakeRows() {
  std::mt19937 random(4711);
  std::vector<FileEntry> rows;
  rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    FileEntry row;
    row.oldName = "Urlaub " + std::to_string(random() % 1'000'000) + " Foto.jpg";
    row.newName = row.oldName;
    row.directory = "/home/benutzer/Bilder/Urlaub";
    char date[64];
    std::snprintf(date, sizeof date, "%.2d.%.2d.%d   %.2d:%.2d:%.2d", int(random() % 28 + 1),
                  int(random() % 12 + 1), int(1990 + random() % 35), int(random() % 24),
                  int(random() % 60), int(random() % 60));
    row.created = date;
    row.modified = date;
    rows.push_back(std::move(row));
  }
  return rows;
}

const std::vector<FileEntry>& Rows() {
  static const std::vector<FileEntry> rows = MakeRows();
  return rows;
}

void BM_PlainSortOfNames(benchmark::State& state) {
  std::vector<std::string> names;
  for (const FileEntry& row : Rows()) names.push_back(row.oldName);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = names;
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
  view->Model().Append(std::vector<FileEntry>(Rows()));
  return view;
}

// One click on a column header of a list of 100,000 rows in random order.
void BM_SortColumn(benchmark::State& state) {
  FilterSettings filter;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = MakeView(filter);
    state.ResumeTiming();
    view->OnColumnClick(static_cast<int>(state.range(0)));
    state.PauseTiming();
    view.reset();
    state.ResumeTiming();
  }
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
    if (view->Text(1, ColOldName) != Rows()[0].oldName) state.SkipWithError("rows not moved");
    view.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DragStepEverySecondRow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  MakeTree();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(g_treeRoot);
  return 0;
}
