#pragma once

#include <functional>

// One reading of the local wall clock, in whole seconds.
struct LocalTime {
  int year, month, day, hour, minute, second;
};

// The clock that every evaluation reads once. The real one converts to local time at most once
// per second of wall time, so 100,000 evaluations in a row do not consult the time zone each.
LocalTime ReadClock();

// Replaces the clock (tests pin it); an empty function restores the real local clock.
void SetClockOverride(std::function<LocalTime()> clock);
