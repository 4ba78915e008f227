// The list's two heavy paths against the system calls they cannot avoid, over 100,000 files:
// filling the shown list (AddFile and one RecomputeNewNames, up to the list painted) against one
// statx per file by its full path, and the renaming run, journal included, without feedback and
// with the progress dialog, against a bare renameat2 loop relative to an open folder handle, timed
// in the same iteration (counter "over_floor").
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QApplication>

#include "bench/bench_main.h"
#include "bench/bench_prompter.h"
#include "bench/bench_ratio.h"
#include "core/run_journal.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

namespace zul {

namespace {

// Every run here must succeed: no question is answered.
Services Bench() {
  static BenchPrompter prompter;
  return prompter.MakeServices();
}

constexpr int kFiles = 100000;

struct Folder {
  std::string path;
  std::vector<std::string> names;
  std::vector<std::string> newNames;
  std::vector<std::string> fullPaths;
};

Folder& TheFolder() {
  static Folder folder = [] {
    Folder made;
    made.path = MakeBenchFolder("zul-bench");
    for (int i = 0; i < kFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Foto %06d.jpg", i);
      made.names.emplace_back(name);
      std::snprintf(name, sizeof name, "Bild %06d.jpg", i);
      made.newNames.emplace_back(name);
      made.fullPaths.push_back(made.path + "/" + made.names.back());
      const int fd = open(made.fullPaths.back().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd < 0) std::abort();
      close(fd);
    }
    return made;
  }();
  return folder;
}

// Renames every file of the folder from one name list to the other.
void RenameLoop(int folder, const std::vector<std::string>& from,
                const std::vector<std::string>& to) {
  for (size_t i = 0; i < from.size(); ++i) {
    if (renameat2(folder, from[i].c_str(), folder, to[i].c_str(), RENAME_NOREPLACE) != 0)
      std::abort();
  }
}

// One statx per file by its full path.
void StatxLoop(const Folder& folder) {
  for (const std::string& path : folder.fullPaths) {
    struct statx info {};
    benchmark::DoNotOptimize(statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info));
  }
}

void BM_StatxFloor(benchmark::State& state) {
  const Folder& folder = TheFolder();
  for (auto _ : state) StatxLoop(folder);
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_AddFileAndRecompute(benchmark::State& state) {
  const Folder& folder = TheFolder();
  FilterSettings filter;
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor([&] { StatxLoop(folder); });
    auto* view = new CZulboView(filter, Bench());
    view->resize(1280, 800);
    view->show();
    QApplication::processEvents();
    state.ResumeTiming();
    ratio.RunWork([&] {
      for (const std::string& path : folder.fullPaths) view->AddFile(path);
      view->RecomputeNewNames();
      QApplication::processEvents();
    });
    state.PauseTiming();
    if (view->RowCount() != kFiles || view->Text(kFiles - 1, ColNewName) != folder.names.back())
      state.SkipWithError("wrong list");
    delete view;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
  ratio.Report(state);
}

void BM_RenameatFloor(benchmark::State& state) {
  const Folder& folder = TheFolder();
  const int handle = open(folder.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (auto _ : state) {
    RenameLoop(handle, folder.names, folder.newNames);
    state.PauseTiming();
    RenameLoop(handle, folder.newNames, folder.names);
    state.ResumeTiming();
  }
  close(handle);
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// The rows "Foto …" to be renamed to "Bild …".
FileRows FreshRows(const Folder& folder) {
  FileRows rows;
  for (int i = 0; i < kFiles; ++i) {
    rows.Append(folder.path, folder.names[i], std::nullopt);
    rows.SetNewName(i, folder.newNames[i]);
  }
  return rows;
}

// Arg 0: without feedback; arg 1: in a shown list with the program's progress dialog, which
// appears after half a second and keeps the window painted. The floor, a bare renameat2 loop,
// runs in the same iteration, so that both meet the same load. RenameAll includes what follows
// the run: the rows following their files and the names recomputed.
void BM_RenameAll(benchmark::State& state) {
  const Folder& folder = TheFolder();
  FilterSettings filter;
  BenchPrompter prompter(std::nullopt, /*showProgress=*/state.range(0) == 1);
  CZulboView view(filter, prompter.MakeServices());
  if (state.range(0) == 1) {
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();
  }
  const int handle = open(folder.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  FloorRatio ratio;
  std::vector<int> all(kFiles);
  for (int i = 0; i < kFiles; ++i) all[static_cast<size_t>(i)] = i;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor([&] { RenameLoop(handle, folder.names, folder.newNames); });
    RenameLoop(handle, folder.newNames, folder.names);
    view.Model().RemoveRows(all);
    view.Model().Append(FreshRows(folder));
    QApplication::processEvents();
    state.ResumeTiming();
    ratio.RunWork([&] { view.RenameAll(); });
    state.PauseTiming();
    if (view.Text(kFiles - 1, ColOldName) != folder.newNames.back())
      state.SkipWithError("the rows did not follow");
    RenameLoop(handle, folder.newNames, folder.names);
    state.ResumeTiming();
  }
  close(handle);
  state.SetItemsProcessed(state.iterations() * kFiles);
  ratio.Report(state);
  struct stat journal {};
  if (stat((BenchJournals::Folder().Path() + "/" + kLastJournal).c_str(), &journal) != 0)
    state.SkipWithError("no journal");
  state.counters["journal_bytes_per_file"] = static_cast<double>(journal.st_size) / kFiles;
}

BENCHMARK(BM_StatxFloor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AddFileAndRecompute)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RenameatFloor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RenameAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  return RunWithApplication(
      argc, argv, [] {},
      [] {
        std::error_code ignored;
        std::filesystem::remove_all(TheFolder().path, ignored);
      });
}
