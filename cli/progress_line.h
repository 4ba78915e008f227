#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace zul {

// One line on the terminal that tells how far a long piece of work has come: what, how many of
// how many, and how many per second. Silent for the first half second, so that short work shows
// nothing, and silent where the output is no terminal; the line is wiped when the work ends.
class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  ProgressLine(std::ostream& err, bool terminal, std::string what, size_t total,
               Clock clock = std::chrono::steady_clock::now);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // `done` items are finished.
  void Tell(size_t done);

 private:
  std::ostream& m_err;
  const bool m_terminal;
  const std::string m_what;
  const size_t m_total;
  const Clock m_clock;
  const std::chrono::steady_clock::time_point m_started;
  std::chrono::steady_clock::time_point m_shownAt;
  bool m_shown = false;
};

}  // namespace zul
