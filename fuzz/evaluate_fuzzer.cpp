// Feeds arbitrary bytes to Evaluate and holds its result to the plain chain of steps.
// Input layout: eight 32-bit numbers (index, start, step, digits, nameCase, extCase, random state,
// clock seconds), then seven texts separated by 0x00: mask, old name, created, modified, captured,
// search text, replacement, and the fill text as the rest.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/clock.h"
#include "engine/filter_settings.h"
#include "engine/random.h"
#include "engine/tests/reference_evaluate.h"

namespace zul {

namespace {

int32_t TakeNumber(const uint8_t*& data, size_t& size) {
  uint32_t value = 0;
  const size_t n = size < 4 ? size : 4;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return static_cast<int32_t>(value);
}

}  // namespace

}  // namespace zul

using namespace zul;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t index = TakeNumber(data, size);
  FilterSettings filter;
  filter.start = TakeNumber(data, size);
  filter.step = TakeNumber(data, size);
  filter.digits = TakeNumber(data, size);
  filter.nameCase = TakeNumber(data, size) % 6;
  filter.extCase = TakeNumber(data, size) % 6;
  const auto state = static_cast<uint32_t>(TakeNumber(data, size));
  const auto seconds = static_cast<uint32_t>(TakeNumber(data, size));

  std::vector<std::string> texts;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (int i = 0; i < 7; ++i) {
    const size_t end = rest.find('\0');
    texts.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  filter.mask = texts[0];
  filter.searchText = texts[5];
  filter.replaceText = texts[6];
  filter.fillText = std::string(rest);
  // A NUL in a filter text empties the name (tested on its own): keep the fill working.
  std::erase(filter.fillText, '\0');

  const LocalTime now{static_cast<int>(seconds % 3000),   static_cast<int>(seconds % 12) + 1,
                      static_cast<int>(seconds % 31) + 1, static_cast<int>(seconds % 24),
                      static_cast<int>(seconds % 60),     static_cast<int>(seconds / 60 % 60)};
  SetClockOverride([now] { return now; });
  SetRandomState(state);
  size_t peak = 0;
  const std::string expected =
      ReferenceEvaluate(filter, texts[1], index, texts[2], texts[3], texts[4], &peak);
  SetRandomState(state);
  const std::string result = filter.Evaluate(texts[1], index, texts[2], texts[3], texts[4]);
  // Past the growth limit the evaluation may give up with an empty name.
  const bool mayGiveUp = peak > filter.mask.size() + kMaxEvaluationGrowth;
  if (result != expected && !(mayGiveUp && result.empty())) std::abort();
  return 0;
}
