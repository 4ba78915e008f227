#pragma once

#include <cstdint>

namespace zul {

// The letter-case rule of the name or the extension part. Any other value leaves the part
// unchanged (the -1 of an unselected combo, or 4 for the extension).
enum CaseMode : int32_t {
  Unchanged = 0,
  Lower = 1,
  Upper = 2,
  FirstUpper = 3,
  WordsUpper = 4,
};

}  // namespace zul
