#include "cli/progress_line.h"

#include <cmath>
#include <utility>

namespace zul {

namespace {

constexpr std::chrono::milliseconds kQuiet{500};
// Redrawing more often would only cost time the work needs.
constexpr std::chrono::milliseconds kRedraw{200};

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool terminal, std::string what, size_t total,
                           Clock clock)
    : m_err(err),
      m_terminal(terminal),
      m_what(std::move(what)),
      m_total(total),
      m_clock(std::move(clock)),
      m_started(m_terminal ? m_clock() : std::chrono::steady_clock::time_point()) {}

ProgressLine::~ProgressLine() {
  if (m_shown) m_err << "\r\033[K" << std::flush;
}

void ProgressLine::Tell(size_t done) {
  if (!m_terminal) return;
  const auto now = m_clock();
  if (now - m_started < kQuiet || (m_shown && now - m_shownAt < kRedraw)) return;
  m_shownAt = now;
  m_shown = true;
  const double seconds = std::chrono::duration<double>(now - m_started).count();
  const auto rate = static_cast<long long>(std::llround(static_cast<double>(done) / seconds));
  m_err << "\r\033[K" << m_what << ' ' << done << " von " << m_total << " (" << rate << " je s)"
        << std::flush;
}

}  // namespace zul
