// Times Evaluate on the masks the list meets most, against the floor every listed file costs
// anyway: one statx of a file whose metadata is cached. Targets: the default mask at most 0.3x
// one statx, the date-heavy mask at most 1x. Run with --benchmark_counters_tabular=true; the
// "statx_ratio" counter of each Evaluate benchmark is its time per call divided by that of one
// statx, both taken as the thread's CPU time (system time included) so that other load on the
// machine does not skew the ratio.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine/filter_settings.h"

namespace zul {

namespace {

double ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Names of 20 to 60 bytes as folders hold them, some with umlauts.
const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = {
      "IMG_20230714_153012_HDR.jpg",
      "Urlaub 2007 - Strand von Rimini (1).jpg",
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): the split ends the hex escape
      "Pr\xC3\xBC"
      "fungsunterlagen_Mathematik_Klausur.pdf",
      "Gr\xC3\xB6\xC3\x9F"
      "e \xC3\x84nderungen im \xC3\x9C"
      "berblick.docx",
      "2021-03-04 Rechnung Stadtwerke M\xC3\xBCnchen.pdf",
      "track07_Die_\xC3\x84rzte_-_Schrei_nach_Liebe.mp3",
      "Sicherung_Datenbank_kunden_v12.sql.gz",
      "DSC01234 Hochzeit Anna und J\xC3\xBCrgen.JPG",
      "Bewerbung_Lebenslauf_final_wirklich_final_2.odt",
      "notes-2024-week-17.txt",
  };
  return names;
}

constexpr const char* kCreated = "05.03.2007   09:07:02";
constexpr const char* kModified = "15.11.2006   23:59:00";

// The mean time of one statx, measured once with the same clock so the ratios share a unit.
double StatxNanoseconds() {
  static const double nanoseconds = [] {
    char path[] = "/tmp/zul_bench_statxXXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) std::abort();
    close(fd);
    struct statx buffer;
    constexpr int kWarm = 10000, kRuns = 200000;
    for (int i = 0; i < kWarm; ++i) {
      statx(AT_FDCWD, path, 0, STATX_BASIC_STATS | STATX_BTIME, &buffer);
    }
    const double begin = ThreadCpuNanoseconds();
    for (int i = 0; i < kRuns; ++i) {
      statx(AT_FDCWD, path, 0, STATX_BASIC_STATS | STATX_BTIME, &buffer);
      benchmark::DoNotOptimize(buffer);
    }
    const double end = ThreadCpuNanoseconds();
    unlink(path);
    return (end - begin) / kRuns;
  }();
  return nanoseconds;
}

void BM_Statx(benchmark::State& state) {
  char path[] = "/tmp/zul_bench_statxXXXXXX";
  const int fd = mkstemp(path);
  close(fd);
  struct statx buffer;
  for (auto _ : state) {
    statx(AT_FDCWD, path, 0, STATX_BASIC_STATS | STATX_BTIME, &buffer);
    benchmark::DoNotOptimize(buffer);
  }
  unlink(path);
}
BENCHMARK(BM_Statx);

void RunEvaluate(benchmark::State& state, const FilterSettings& filter) {
  const std::vector<std::string>& names = Names();
  const std::string created = kCreated;
  const std::string modified = kModified;
  size_t row = 0;
  const double begin = ThreadCpuNanoseconds();
  for (auto _ : state) {
    const std::string& name = names[row % names.size()];
    benchmark::DoNotOptimize(filter.Evaluate(name, static_cast<int32_t>(row), created, modified));
    ++row;
  }
  const double perCall = (ThreadCpuNanoseconds() - begin) / static_cast<double>(row);
  state.counters["ns_per_call"] = perCall;
  state.counters["statx_ns"] = StatxNanoseconds();
  state.counters["statx_ratio"] = perCall / StatxNanoseconds();
}

void BM_EvaluateDefault(benchmark::State& state) { RunEvaluate(state, FilterSettings()); }
BENCHMARK(BM_EvaluateDefault);

void BM_EvaluateIndexed(benchmark::State& state) {
  FilterSettings filter;
  filter.mask = "[index]-[name].[typ]";
  filter.digits = 4;
  RunEvaluate(state, filter);
}
BENCHMARK(BM_EvaluateIndexed);

void BM_EvaluateDateHeavy(benchmark::State& state) {
  FilterSettings filter;
  filter.mask = "[rdatum]_[zeit]_[redatum]_[azeit]_[name][1,3].[typ]";
  RunEvaluate(state, filter);
}
BENCHMARK(BM_EvaluateDateHeavy);

}  // namespace

}  // namespace zul

using namespace zul;

BENCHMARK_MAIN();
