// Reading the music tags of 10,000 MP3 files against a floor of open, read of the first 64 KiB
// and close of each of the same files (target: at most 3 times the floor); and the list's
// recomputation of their names from the tags against the same floor.

#include <fcntl.h>
#include <unistd.h>

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

// A tagged MP3 of some seconds (its frames made up, as long as a short song's first 64 KiB and
// more), with a cover-less ID3v2 tag as ffmpeg writes it, copied under 10,000 names.
bool MakeSongs() {
  char pattern[] = "/tmp/zul-bench-tags-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  g_folder = pattern;
  const std::string model = g_folder + "/model.mp3";
  const AudioTags tags = {{"artist", "AC/DC"}, {"album", "Back in Black"}, {"title", "Hells Bells"},
                          {"track", "1/10"},   {"genre", "Hard Rock"},     {"disc", "1/1"},
                          {"date", "1980"}};
  if (!WriteAudio(model, "mp3", tags)) return false;
  std::ifstream in(model, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  // Audio frames after the tag, so that the file is larger than the floor's read.
  const std::string frames = bytes.substr(bytes.find("\xff\xfb"));
  while (bytes.size() < size_t{80} * 1024) bytes += frames;
  for (int i = 0; i < kFiles; ++i) {
    g_paths.push_back(g_folder + "/Song_" + std::to_string(i) + ".mp3");
    std::ofstream(g_paths.back(), std::ios::binary) << bytes;
  }
  return true;
}

void OpenRead64KiBClose() {
  std::vector<char> buffer(size_t{64} * 1024);
  for (const std::string& path : g_paths) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
    close(fd);
  }
}

void BM_ReadTags(benchmark::State& state) {
  const MetadataCaptureReader reader;
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor(OpenRead64KiBClose);
    state.ResumeTiming();
    ratio.RunWork([&] {
      for (const std::string& path : g_paths) {
        if (reader.ReadTags(path).artist.empty()) state.SkipWithError("no artist");
      }
    });
  }
  ratio.Report(state);
}
BENCHMARK(BM_ReadTags)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The list's rows of the songs, new (nothing read), named by their tags.
void BM_ListNamesByTags(benchmark::State& state) {
  const MetadataCaptureReader reader;
  FilterSettings filter;
  filter.mask = "[spur] - [interpret] - [titel][eindeutig].[typ]";
  FloorRatio ratio;
  for (auto _ : state) {
    state.PauseTiming();
    ratio.RunFloor(OpenRead64KiBClose);
    FileRows rows;
    for (int i = 0; i < kFiles; ++i)
      rows.Append(g_folder, "Song_" + std::to_string(i) + ".mp3", FileTimes{0, 0});
    state.ResumeTiming();
    ratio.RunWork([&] { rows.ComputeNewNames(filter, reader); });
    state.PauseTiming();
    if (rows.HasEmptyTag(kFiles - 1)) state.SkipWithError("no tags");
    state.ResumeTiming();
  }
  ratio.Report(state);
}
BENCHMARK(BM_ListNamesByTags)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (MakeSongs()) {
    benchmark::RunSpecifiedBenchmarks();
  } else {
    std::fprintf(stderr, "could not make the sample songs\n");
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
