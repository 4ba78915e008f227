#include "platform/case_compare.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

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
