#pragma once

#include <functional>

#include <benchmark/benchmark.h>
#include <QApplication>

namespace zul {

// The main of a benchmark program of the list: the application on the offscreen platform;
// `prepare` runs once ahead of the measurements (it makes their files), `finish` once after them,
// while the application still exists.
inline int RunWithApplication(int argc, char** argv, const std::function<void()>& prepare,
                              const std::function<void()>& finish = {}) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  prepare();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (finish) finish();
  return 0;
}

}  // namespace zul
