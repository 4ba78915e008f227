#pragma once

#include <time.h>

#include <benchmark/benchmark.h>

namespace zul {

// A piece of work against its floor, both run in turn in every iteration so that both meet the
// same load of the machine: the counter "over_floor" is the ratio of their CPU times. Run the
// floor while the benchmark's timing is paused and the work while it runs.
class FloorRatio {
 public:
  template <class Floor>
  void RunFloor(Floor&& floor) {
    m_floor += Measure(floor);
  }
  template <class Work>
  void RunWork(Work&& work) {
    m_work += Measure(work);
  }
  void Report(benchmark::State& state) const {
    if (m_floor > 0) state.counters["over_floor"] = m_work / m_floor;
  }

 private:
  template <class Run>
  static double Measure(Run& run) {
    const double start = CpuSeconds();
    run();
    return CpuSeconds() - start;
  }
  static double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
  }

  double m_floor = 0;
  double m_work = 0;
};

}  // namespace zul
