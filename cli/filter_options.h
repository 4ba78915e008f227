#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/filter_settings.h"

namespace zul {

class FileSystem;

// The fields of a Filter given as options of zulren; each one given replaces that field of the
// filter file (or of the default Filter where there is none).
struct FilterOverrides {
  std::optional<std::string> mask;
  std::optional<std::string> searchText;
  std::optional<std::string> replaceText;
  std::optional<int32_t> nameCase;
  std::optional<int32_t> extCase;
  std::optional<int32_t> start;
  std::optional<int32_t> step;
  std::optional<std::string> fillText;
  std::optional<int32_t> digits;

  void ApplyTo(FilterSettings& filter) const;
};

// Whether `name` ("--mask") is the option of a Filter field.
bool IsFilterFieldOption(const std::string& name);

// Takes `value` for the field option `name` into `overrides`; false, with a German message naming
// the option in `error`, for a value the field cannot hold: a text with a line break (a filter
// file holds each text on one line), a number that is none or out of range, an unknown case mode.
bool ParseFilterFieldOption(const std::string& name, const std::string& value,
                            FilterOverrides& overrides, std::string& error);

// Writes `filter` as a filter file that the window opens. A file at `path` that is not a filter
// file is kept: false, with a German message in `error`, as on a failed write.
[[nodiscard]] bool SaveFilterFile(FileSystem& files, const std::string& path,
                                  const FilterSettings& filter, std::string& error);

}  // namespace zul
