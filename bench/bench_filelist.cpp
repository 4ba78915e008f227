// The list's two heavy paths against the system calls they cannot avoid, over 100,000 files:
// filling the list (AddFile and one RecomputeNewNames) against one statx per file, and the
// renaming run against a bare renameat2 loop relative to an open folder handle.
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

#include "bench/bench_prompter.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

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
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/zul-bench-XXXXXX"
                                                                    : "/tmp/zul-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    made.path = pattern;
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

void BM_StatxFloor(benchmark::State& state) {
  const Folder& folder = TheFolder();
  for (auto _ : state) {
    for (const std::string& path : folder.fullPaths) {
      struct statx info {};
      benchmark::DoNotOptimize(statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info));
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_AddFileAndRecompute(benchmark::State& state) {
  const Folder& folder = TheFolder();
  FilterSettings filter;
  for (auto _ : state) {
    state.PauseTiming();
    auto* view = new CZulboView(filter, Bench());
    state.ResumeTiming();
    for (const std::string& path : folder.fullPaths) view->AddFile(path);
    view->RecomputeNewNames();
    state.PauseTiming();
    if (view->RowCount() != kFiles || view->Text(kFiles - 1, ColNewName) != folder.names.back())
      state.SkipWithError("wrong list");
    delete view;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
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

void BM_RenameAll(benchmark::State& state) {
  const Folder& folder = TheFolder();
  FilterSettings filter;
  CZulboView view(filter, Bench());
  std::vector<FileEntry> rows;
  rows.reserve(kFiles);
  for (int i = 0; i < kFiles; ++i)
    rows.push_back({folder.names[i], folder.newNames[i], folder.path, "", ""});
  view.Model().Append(std::move(rows));
  const int handle = open(folder.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (auto _ : state) {
    view.RenameAll();
    state.PauseTiming();
    RenameLoop(handle, folder.newNames, folder.names);
    state.ResumeTiming();
  }
  close(handle);
  state.SetItemsProcessed(state.iterations() * kFiles);
}

BENCHMARK(BM_StatxFloor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AddFileAndRecompute)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RenameatFloor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RenameAll)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(TheFolder().path, ignored);
  return 0;
}
