// Reading the capture date of 10,000 JPEG files against a floor of open, read of the first
// 64 KiB and close of each of the same files; and the list's recomputation of their names with
// the capture group against the same floor.

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_ratio.h"
#include "capture/capture_reader.h"
#include "capture/testing/sample_files.h"
#include "core/file_rows.h"

namespace zul {

namespace {

constexpr int kFiles = 10'000;

std::string g_folder;
std::vector<std::string> g_paths;

// A photo of a phone's low resolution (noise keeps the JPEG as large as a photo would be) with a
// camera's EXIF data, copied under 10,000 names.
bool MakePhotos() {
  char pattern[] = "/tmp/zul-bench-capture-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  g_folder = pattern;
  const std::string model = g_folder + "/model.jpg";
  if (!WriteNoisyImage(model, 400, 300) || !WriteExif(model, CameraTags())) return false;
  std::ifstream in(model, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  for (int i = 0; i < kFiles; ++i) {
    g_paths.push_back(g_folder + "/IMG_" + std::to_string(i) + ".jpg");
    std::ofstream(g_paths.back(), std::ios::binary) << bytes;
  }
  return bytes.size() > size_t{64} * 1024;
}

void OpenRead64KiBClose() {
  std::vector<char> buffer(size_t{64} * 1024);
  for (const std::string& path : g_paths) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
    close(fd);
  }
}

void BM_OpenRead64KiBCloseFloor(benchmark::State& state) {
  for (auto _ : state) OpenRead64KiBClose();
}
BENCHMARK(BM_OpenRead64KiBCloseFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadCaptureTime(benchmark::State& state) {
  const MetadataCaptureReader reader;
  for (auto _ : state) {
    for (const std::string& path : g_paths) {
      if (!reader.ReadCaptureTime(path)) state.SkipWithError("no capture time");
    }
  }
}
BENCHMARK(BM_ReadCaptureTime)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The list's rows of the photos, new (nothing read), named by when they were taken.
void BM_ListNamesByCaptureTime(benchmark::State& state) {
  const MetadataCaptureReader reader;
  FilterSettings filter;
  filter.mask = "[rfdatum]_[fzeit]_[index].[typ]";
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor(OpenRead64KiBClose);
    FileRows rows;
    for (int i = 0; i < kFiles; ++i)
      rows.Append(g_folder, "IMG_" + std::to_string(i) + ".jpg", FileTimes{0, 0});
    state.ResumeTiming();
    ratio.RunWork([&] { rows.ComputeNewNames(filter, reader); });
    state.PauseTiming();
    if (rows.CaptureIsStandIn(kFiles - 1)) state.SkipWithError("no capture time");
    state.ResumeTiming();
  }
  ratio.Report(state);
}
BENCHMARK(BM_ListNamesByCaptureTime)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (MakePhotos()) {
    benchmark::RunSpecifiedBenchmarks();
  } else {
    std::fprintf(stderr, "could not make the sample photos\n");
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
