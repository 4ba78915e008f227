#include "platform/case_compare.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace zul {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto* pa = reinterpret_cast<const uint8_t*>(a.data());
  const auto* pb = reinterpret_cast<const uint8_t*>(b.data());
  const int32_t la = static_cast<int32_t>(a.size());
  const int32_t lb = static_cast<int32_t>(b.size());
  int32_t ia = 0;
  int32_t ib = 0;
  while (ia < la && ib < lb) {
    UChar32 ca;
    UChar32 cb;
    U8_NEXT(pa, ia, la, ca);
    U8_NEXT(pb, ib, lb, cb);
    if (u_foldCase(ca, U_FOLD_CASE_DEFAULT) != u_foldCase(cb, U_FOLD_CASE_DEFAULT)) return false;
  }
  return ia == la && ib == lb;
}

std::string FoldCase(std::string_view name) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
  const int32_t length = static_cast<int32_t>(name.size());
  std::string folded;
  folded.reserve(name.size());
  int32_t i = 0;
  while (i < length) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      folded.append(name.data() + start, static_cast<size_t>(i - start));
      continue;
    }
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t size = 0;
    U8_APPEND_UNSAFE(buffer, size, u_foldCase(c, U_FOLD_CASE_DEFAULT));
    folded.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
  }
  return folded;
}

}  // namespace zul
