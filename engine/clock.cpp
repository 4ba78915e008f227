#include "clock.h"

#include <ctime>

namespace {

std::function<LocalTime()>& Override() {
  static std::function<LocalTime()> clock;
  return clock;
}

LocalTime ConvertNow() {
  // Converting consults the time-zone rules; one conversion per second of wall time suffices.
  thread_local time_t convertedSecond = -1;
  thread_local LocalTime converted{};
  const time_t now = time(nullptr);
  if (now != convertedSecond) {
    tm local{};
    localtime_r(&now, &local);
    converted = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour,        local.tm_min,     local.tm_sec};
    convertedSecond = now;
  }
  return converted;
}

}  // namespace

LocalTime ReadClock() {
  if (Override()) return Override()();
  return ConvertNow();
}

void SetClockOverride(std::function<LocalTime()> clock) { Override() = std::move(clock); }
