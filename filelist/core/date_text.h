#pragma once

#include <cstdint>
#include <optional>
#include <string>

class FileSystem;

// The display text of a time, in UTC: "%.2d.%.2d.%d   %.2d:%.2d:%.2d" (day, month, year, three
// blanks, hour, minute, second). The evaluator and the column sort read it at fixed positions.
std::string DateText(int64_t secondsSinceEpoch);

// The texts of the creation and the last-write time of a file; both empty when it cannot be
// examined.
struct DateTexts {
  std::string created;
  std::string modified;
};
DateTexts FileDateTexts(FileSystem& files, const std::string& path);
