#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace zul {

// The display text of a time's calendar fields, taken as UTC: "%.2d.%.2d.%d   %.2d:%.2d:%.2d"
// (day, month, year, three blanks, hour, minute, second). The evaluator and the column sort read
// it at fixed positions. Empty for a time outside kFirstDated to kLastDated. A file time is shown
// as local time by passing its LocalSeconds.
std::string DateText(int64_t secondsSinceEpoch);

// A moment in seconds since the epoch as "naive" seconds of the local time zone (its wall-clock
// fields counted as if they were UTC), with the zone's daylight saving rules as TZ sets them when
// called. Times the C library cannot convert stay as they are.
int64_t LocalSeconds(int64_t secondsSinceEpoch);

// The times that have a date text: the calendar of <chrono>, the years -32767 to 32767. No file
// system stores times beyond.
inline constexpr int64_t kFirstDated =
    std::chrono::sys_seconds{
        std::chrono::sys_days{std::chrono::year::min() / std::chrono::January / 1}}
        .time_since_epoch()
        .count();
inline constexpr int64_t kLastDated =
    std::chrono::sys_seconds{
        std::chrono::sys_days{std::chrono::year::max() / std::chrono::December / 31}}
        .time_since_epoch()
        .count() +
    86399;

}  // namespace zul
