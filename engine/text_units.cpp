#include "engine/text_units.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <limits>

namespace zul {

size_t CharBytes(std::string_view text, size_t offset) {
  const auto byte = static_cast<uint8_t>(text[offset]);
  if (byte < 0x80) return 1;
  const char* start = text.data() + offset;
  const auto length = static_cast<int32_t>(std::min(text.size() - offset, size_t{U8_MAX_LENGTH}));
  int32_t i = 0;
  UChar32 c;
  U8_NEXT(start, i, length, c);
  // U8_NEXT swallows the valid prefix of a cut-off sequence as one unit; here each such byte
  // stands alone.
  return c < 0 ? 1 : static_cast<size_t>(i);
}

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharBytes(text, i)) ++count;
  return count;
}

size_t ByteOffsetOfChar(std::string_view text, size_t charIndex) {
  size_t i = 0;
  for (; i < text.size() && charIndex > 0; --charIndex) i += CharBytes(text, i);
  return i;
}

std::string_view CharSlice(std::string_view text, size_t first, size_t count) {
  const size_t begin = ByteOffsetOfChar(text, first);
  const std::string_view rest = text.substr(begin);
  return rest.substr(0, ByteOffsetOfChar(rest, count));
}

int32_t AtolRule(std::string_view text) {
  size_t i = 0;
  auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulates the magnitude up to one past the positive limit, which is the negative limit.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace zul
