#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>

namespace zul {

// Naive seconds (see capture_reader.h) of a valid calendar date and time of day; empty for
// anything else, such as the zeros or blanks of a camera whose clock was never set.
std::optional<int64_t> NaiveSeconds(int year, int month, int day, int hour, int minute, int second);

// An EXIF date and time, "YYYY:MM:DD HH:MM:SS", in naive seconds. The separators are not checked
// (some writers use '-' or '/'); whatever follows the seconds is ignored.
std::optional<int64_t> ParseExifDateTime(std::string_view text);

// A moment in seconds since the epoch, as naive seconds of the local time zone.
std::optional<int64_t> LocalNaiveSeconds(std::time_t utc);

}  // namespace zul
