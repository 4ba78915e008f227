#include "capture/capture_time.h"

#include <chrono>

namespace zul {

std::optional<int64_t> NaiveSeconds(int year, int month, int day, int hour, int minute,
                                    int second) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                            std::chrono::day{unsigned(day)}};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || !date.ok() ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return (sys_days{date} + hours{hour} + minutes{minute} + seconds{second})
      .time_since_epoch()
      .count();
}

std::optional<int64_t> ParseExifDateTime(std::string_view text) {
  // Where each field starts, and its width.
  constexpr std::pair<size_t, size_t> kFields[] = {{0, 4},  {5, 2},  {8, 2},
                                                   {11, 2}, {14, 2}, {17, 2}};
  if (text.size() < 19) return std::nullopt;
  int values[6];
  for (size_t i = 0; i < 6; ++i) {
    int value = 0;
    for (const char c : text.substr(kFields[i].first, kFields[i].second)) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    values[i] = value;
  }
  return NaiveSeconds(values[0], values[1], values[2], values[3], values[4], values[5]);
}

std::optional<int64_t> LocalNaiveSeconds(std::time_t utc) {
  std::tm local{};
  if (localtime_r(&utc, &local) == nullptr) return std::nullopt;
  return NaiveSeconds(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

}  // namespace zul
