#include "core/date_text.h"

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>

namespace zul {

namespace {

// "%.2d" for the calendar fields, which are all below 100.
char* TwoDigits(char* out, int value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

// The zone's offset from UTC at a moment, from the C library.
std::optional<int64_t> OffsetAt(int64_t secondsSinceEpoch) {
  const auto time = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  return static_cast<int64_t>(local.tm_gmtoff);
}

}  // namespace

// localtime_r takes the C library's time-zone lock and is slow beside the formatting, and a list
// converts two times per row. Offsets change only at a zone's transitions, at most a few a year:
// where the offset is the same at both ends of a quarter hour, it is taken for the whole of it.
// The cache is dropped when TZ changes, so tests and users who change it see the new zone.
int64_t LocalSeconds(int64_t secondsSinceEpoch) {
  constexpr int64_t kSpan = 900;
  struct Cache {
    std::optional<std::string> zone;
    int64_t span = INT64_MIN;
    int64_t offset = 0;
  };
  thread_local Cache cache;
  const char* zone = std::getenv("TZ");
  if (zone == nullptr ? cache.zone.has_value() : cache.zone != std::string_view(zone)) {
    cache.zone = zone == nullptr ? std::nullopt : std::optional<std::string>(zone);
    cache.span = INT64_MIN;
  }
  if (secondsSinceEpoch < kFirstDated || secondsSinceEpoch > kLastDated) return secondsSinceEpoch;
  const int64_t span =
      secondsSinceEpoch >= 0 ? secondsSinceEpoch / kSpan : (secondsSinceEpoch - kSpan + 1) / kSpan;
  if (span == cache.span) return secondsSinceEpoch + cache.offset;
  const std::optional<int64_t> first = OffsetAt(span * kSpan);
  const std::optional<int64_t> last = OffsetAt(span * kSpan + kSpan - 1);
  if (first && last && *first == *last) {
    cache.span = span;
    cache.offset = *first;
    return secondsSinceEpoch + *first;
  }
  const std::optional<int64_t> exact = OffsetAt(secondsSinceEpoch);
  return exact ? secondsSinceEpoch + *exact : secondsSinceEpoch;
}

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
