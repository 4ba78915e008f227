#include "core/date_text.h"

#include <charconv>

namespace zul {

namespace {

// "%.2d" for the calendar fields, which are all below 100.
char* TwoDigits(char* out, int value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

}  // namespace

// Formatted by hand and converted with <chrono> rather than snprintf and gmtime_r (which takes
// the time-zone lock): every recomputation of the names formats two texts per row.
std::string DateText(int64_t secondsSinceEpoch) {
  using namespace std::chrono;
  if (secondsSinceEpoch < kFirstDated || secondsSinceEpoch > kLastDated) return {};
  const sys_seconds time{seconds{secondsSinceEpoch}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  char text[48];
  char* out = TwoDigits(text, static_cast<int>(unsigned{date.day()}));
  *out++ = '.';
  out = TwoDigits(out, static_cast<int>(unsigned{date.month()}));
  *out++ = '.';
  out = std::to_chars(out, text + 24, int{date.year()}).ptr;
  for (int i = 0; i < 3; ++i) *out++ = ' ';
  out = TwoDigits(out, static_cast<int>(clock.hours().count()));
  *out++ = ':';
  out = TwoDigits(out, static_cast<int>(clock.minutes().count()));
  *out++ = ':';
  out = TwoDigits(out, static_cast<int>(clock.seconds().count()));
  return std::string(text, out);
}

}  // namespace zul
