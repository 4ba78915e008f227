#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/bench_prompter.h"

namespace zul {

// A tree of empty files for the scan benchmarks: `folders` folders "Ordner N" of `files` files
// "Foto N.jpg" each (N counted over the whole tree, `digits` wide), in a new benchmark folder
// (see MakeBenchFolder), written at random times of the years 1990 to 2024. Removed with the
// object.
class BenchTree {
 public:
  BenchTree(int folders, int files, int digits) {
    std::mt19937 random(4711);
    m_root = MakeBenchFolder("zul-bench-tree");
    for (int folder = 0; folder < folders; ++folder) {
      const std::string path = m_root + "/Ordner " + std::to_string(folder);
      if (mkdir(path.c_str(), 0755) != 0) std::abort();
      for (int file = 0; file < files; ++file) {
        char name[64];
        std::snprintf(name, sizeof name, "/Foto %0*d.jpg", digits, folder * files + file);
        const int fd = open((path + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) std::abort();
        const time_t written = 631152000 + time_t(random() % (35L * 365 * 86400));
        const timespec times[2] = {{written, 0}, {written, 0}};
        futimens(fd, times);
        close(fd);
      }
    }
  }
  ~BenchTree() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }
  BenchTree(const BenchTree&) = delete;
  BenchTree& operator=(const BenchTree&) = delete;

  const std::string& Root() const { return m_root; }

 private:
  std::string m_root;
};

// The floor of a scan: every entry of every folder read, every file's times read once relative
// to its open folder, nothing else. Returns the number of files.
inline int WalkFloor(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  int files = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    if (entry->d_type == DT_DIR) {
      files += WalkFloor(folder + "/" + entry->d_name);
    } else {
      struct statx times {};
      statx(dirfd(dir), entry->d_name, 0, STATX_BTIME | STATX_MTIME, &times);
      benchmark::DoNotOptimize(times.stx_mtime.tv_sec);
      ++files;
    }
  }
  closedir(dir);
  return files;
}

}  // namespace zul
