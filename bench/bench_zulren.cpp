// zulren --apply on a folder of 100,000 files, reading the folder, the check and the journal
// included, against a bare readdir + renameat2 loop over the same files (the floor), and against
// mmv and perl's rename doing the same renaming. Every iteration runs all four in turn on the
// same files, so that they meet the same load; the counters are wall-time ratios to the floor.
// perl's rename gets the names on its standard input: it reads no folder of its own.
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "document/filter_file.h"

extern char** environ;

namespace zul {

namespace {

constexpr int kFiles = 100000;
constexpr char kPrefix[] = "x_";

struct Folder {
  std::string root;   // the benchmark's own folder, removed at the end
  std::string files;  // the files to rename
  std::string state;  // XDG_STATE_HOME of zulren, for its journal
  std::string filter;
  std::string names;  // every name, each ended by NUL, for perl's rename
};

std::string MakeTemp() {
  const char* chosen = std::getenv("ZUL_BENCH_FOLDER");
  std::string pattern = std::string(chosen && *chosen ? chosen : "/dev/shm") + "/zulren-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

Folder& TheFolder() {
  static Folder folder = [] {
    Folder made;
    made.root = MakeTemp();
    made.files = made.root + "/fotos";
    made.state = made.root + "/state";
    made.filter = made.root + "/vorsilbe.fil";
    std::filesystem::create_directories(made.files);
    std::filesystem::create_directories(made.state);
    for (int i = 0; i < kFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Foto %06d.jpg", i);
      const int fd = open((made.files + "/" + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd < 0) std::abort();
      close(fd);
      made.names.append(name).push_back('\0');
    }
    FilterSettings filter;
    filter.mask = std::string(kPrefix) + "[name].[typ]";
    std::string bytes;
    WriteTo(filter, bytes);
    FILE* file = std::fopen(made.filter.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    return made;
  }();
  return folder;
}

// Renames every entry of the folder: to kPrefix + name (`forth`), or back by removing it.
void RenameLoop(const std::string& path, bool forth) {
  DIR* dir = opendir(path.c_str());
  if (!dir) std::abort();
  const int fd = dirfd(dir);
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
  for (const std::string& name : names) {
    const std::string to = forth ? kPrefix + name : name.substr(sizeof kPrefix - 1);
    if (renameat2(fd, name.c_str(), fd, to.c_str(), RENAME_NOREPLACE) != 0) std::abort();
  }
  closedir(dir);
}

// Runs a program in `cwd` with `input` on its standard input; its output goes nowhere.
void Run(const std::vector<std::string>& arguments, const std::string& cwd,
         const std::string& input = {}) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[0]);
  for (size_t written = 0; written < input.size();) {
    const ssize_t count = write(pipeEnds[1], input.data() + written, input.size() - written);
    if (count <= 0) std::abort();
    written += static_cast<size_t>(count);
  }
  close(pipeEnds[1]);
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::abort();
}

template <class Work>
double Seconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ZulrenApply(benchmark::State& state) {
  const Folder& folder = TheFolder();
  setenv("XDG_STATE_HOME", folder.state.c_str(), 1);
  double floor = 0;
  double zulren = 0;
  double mmv = 0;
  double rename = 0;
  for (auto _ : state) {
    floor += Seconds([&] { RenameLoop(folder.files, true); });
    RenameLoop(folder.files, false);
    const double seconds = Seconds([&] {
      Run({ZULREN_PATH, "--apply", folder.filter, folder.files}, folder.root);
    });
    zulren += seconds;
    state.SetIterationTime(seconds);
    RenameLoop(folder.files, false);
    mmv += Seconds([&] { Run({"mmv", "-r", "*", std::string(kPrefix) + "#1"}, folder.files); });
    RenameLoop(folder.files, false);
    rename += Seconds([&] {
      Run({"rename", "-0", std::string("s/^/") + kPrefix + "/"}, folder.files, folder.names);
    });
    RenameLoop(folder.files, false);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["floor_ms"] = floor / iterations * 1e3;
  state.counters["zulren_over_floor"] = zulren / floor;
  state.counters["mmv_over_floor"] = mmv / floor;
  state.counters["rename_over_floor"] = rename / floor;
  state.SetItemsProcessed(state.iterations() * kFiles);
}

BENCHMARK(BM_ZulrenApply)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(TheFolder().root, ignored);
  return 0;
}
