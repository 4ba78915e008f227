#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/clock.h"

namespace zul {

// Which time a date or time placeholder shows.
enum class DateSource { Now, Created, Modified, Captured };

// Which part of that time it shows, and how.
enum class DateValue {
  Date,           // day first
  DateYearFirst,  // year first
  Year2,
  Year4,
  Month2,
  Month,  // without leading zero
  Day,    // without leading zero
  Day2,
  Time,
  Hour2,
  Minute2,
  Second2,
};

struct DatePlaceholder {
  std::string_view text;
  DateSource source;
  DateValue value;
};

// All date and time placeholders in the order of their replacement: the current time's group,
// the creation time's, the last-write time's, the capture time's. No placeholder text contains
// another.
extern const std::array<DatePlaceholder, 139> kDatePlaceholders;

// Appends the value of a current-time placeholder.
void AppendNowValue(std::string& out, DateValue value, const LocalTime& now);

// Appends the value of a file-time placeholder, cut out of the date text at the fixed character
// positions of "dd.mm.yyyy   hh.mm.ss". Nothing is checked; short texts give short or empty
// values, and an empty text gives an empty value.
void AppendFileTimeValue(std::string& out, DateValue value, std::string_view text);

}  // namespace zul
