#include "engine/clock.h"

#include "engine/clock_internal.h"

#include <utility>

namespace zul {

namespace {

std::function<LocalTime()>& Override() {
  static std::function<LocalTime()> clock;
  return clock;
}

time_t RealWallSeconds() { return time(nullptr); }

time_t (*wallSeconds)() = RealWallSeconds;
thread_local uint64_t conversions = 0;

LocalTime ConvertNow() {
  // Converting consults the time-zone rules; one conversion per second of wall time suffices.
  thread_local time_t convertedSecond = -1;
  thread_local LocalTime converted{};
  const time_t now = wallSeconds();
  if (now != convertedSecond) {
    tm local{};
    localtime_r(&now, &local);
    converted = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour,        local.tm_min,     local.tm_sec};
    convertedSecond = now;
    ++conversions;
  }
  return converted;
}

}  // namespace

LocalTime ReadClock() {
  if (Override()) return Override()();
  return ConvertNow();
}

std::function<LocalTime()> SetClockOverride(std::function<LocalTime()> clock) {
  return std::exchange(Override(), std::move(clock));
}

time_t (*SetWallSecondsSource(time_t (*source)()))() {
  return std::exchange(wallSeconds, source != nullptr ? source : RealWallSeconds);
}

uint64_t LocalTimeConversions() { return conversions; }

}  // namespace zul
