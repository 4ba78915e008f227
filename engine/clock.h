#pragma once

#include <functional>

namespace zul {

// One reading of the local wall clock, in whole seconds.
struct LocalTime {
  int year, month, day, hour, minute, second;
};

// The clock that every evaluation reads once. The real one converts to local time at most once
// per second of wall time, so 100,000 evaluations in a row do not consult the time zone each.
LocalTime ReadClock();

// Replaces the clock (tests pin it); an empty function restores the real local clock. Returns the
// override it replaced.
std::function<LocalTime()> SetClockOverride(std::function<LocalTime()> clock);

// Pins the clock while it lives, then puts back whatever clock was in use before.
class ScopedClock {
 public:
  explicit ScopedClock(std::function<LocalTime()> clock)
      : m_previous(SetClockOverride(std::move(clock))) {}
  ~ScopedClock() { SetClockOverride(std::move(m_previous)); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  std::function<LocalTime()> m_previous;
};

}  // namespace zul
