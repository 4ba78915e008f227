// The check of a renaming plan against its floor, one fstatat per target relative to an open
// folder handle: 100,000 rows in 1,000 folders, and 1,000,000 rows in 10,000 folders (the same
// list ten times over) for linearity. And what a user waits for after changing the Filter on
// 100,000 rows: the recomputation of every name plus the check.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QApplication>

#include "bench/bench_main.h"
#include "bench/bench_prompter.h"
#include "core/plan_check.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"

namespace zul {

namespace {

constexpr int kFilesPerFolder = 100;

std::string g_root;

std::string FolderPath(int folder) { return g_root + "/Ordner " + std::to_string(folder); }

// Rows of the first `folders` folders: "Foto N.jpg" to become "Bild N.jpg", a name that is free.
const RenamePlan& Plan(int folders) {
  static std::vector<RenamePlan> plans(2);
  RenamePlan& plan = plans[folders > 1000 ? 1 : 0];
  if (plan.empty()) {
    for (int folder = 0; folder < folders; ++folder) {
      for (int file = 0; file < kFilesPerFolder; ++file) {
        const std::string number = std::to_string(folder * kFilesPerFolder + file);
        plan.push_back({FolderPath(folder), "Foto " + number + ".jpg", "Bild " + number + ".jpg"});
      }
    }
  }
  return plan;
}

void MakeTree(int folders) {
  std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/zul-bench-XXXXXX"
                                                                  : "/tmp/zul-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  g_root = pattern;
  for (const RenameStep& step : Plan(folders)) {
    mkdir(step.directory.c_str(), 0755);
    const int fd = open(step.FromPath().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    close(fd);
  }
}

void BM_FstatatFloor(benchmark::State& state) {
  const RenamePlan& plan = Plan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int handle = -1;
    const std::string* directory = nullptr;
    for (const RenameStep& step : plan) {
      if (!directory || step.directory != *directory) {
        if (handle >= 0) close(handle);
        handle = open(step.directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        directory = &step.directory;
      }
      struct stat info {};
      benchmark::DoNotOptimize(fstatat(handle, step.to.c_str(), &info, AT_SYMLINK_NOFOLLOW));
    }
    close(handle);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(plan.size()));
}

void BM_CheckPlan(benchmark::State& state) {
  const RenamePlan& plan = Plan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::vector<StepIssue> issues = CheckPlan(plan, SystemFileSystem());
    if (issues.back() != StepIssue::None) state.SkipWithError("unexpected issue");
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(plan.size()));
}

// A new Filter on 100,000 rows in 1,000 folders: every name evaluated, then the plan checked.
void BM_RecomputeAndCheck(benchmark::State& state) {
  BenchPrompter prompter;
  FilterSettings filter;
  filter.mask = "Bild [index].[typ]";
  CZulboView view(filter, prompter.MakeServices());
  FileRows rows;
  for (const RenameStep& step : Plan(1000)) rows.Append(step.directory, step.from, std::nullopt);
  view.Model().Append(std::move(rows));
  for (auto _ : state) {
    view.RecomputeNewNames();
    view.RecheckPlan();
    if (!view.CheckSummaryText().isEmpty()) state.SkipWithError("unexpected issue");
  }
  state.SetItemsProcessed(state.iterations() * view.RowCount());
}

BENCHMARK(BM_FstatatFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckPlan)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RecomputeAndCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  return RunWithApplication(
      argc, argv, [] { MakeTree(10000); },
      [] {
        std::error_code ignored;
        std::filesystem::remove_all(g_root, ignored);
      });
}
