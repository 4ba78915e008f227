#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/filter_settings.h"

namespace zul {

// The evaluation as the plain chain of steps: every ReplaceAll pass run literally, the range pass
// splicing the work text in place. The product's Evaluate must give the same result for every
// input; this is the yardstick the differential test and the fuzzer hold it to.
// `peak`, where given, learns the longest the work text was on the way: an evaluation that grows
// past the mask's length plus kMaxEvaluationGrowth may give up with an empty name instead.
std::string ReferenceEvaluate(const FilterSettings& filter, std::string oldName, int32_t index,
                              std::string created, std::string modified, std::string captured,
                              size_t* peak = nullptr);

}  // namespace zul
