#pragma once

// GCC 12 warns -Wrestrict, wrongly, where it inlines the copy of a short literal into a
// std::string (GCC bugs 105329 and 105651). These brackets switch that one warning off around such
// code; other compilers need nothing.
#if defined(__GNUC__) && !defined(__clang__)
#define ZUL_GCC_RESTRICT_BUG_BEGIN \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define ZUL_GCC_RESTRICT_BUG_END _Pragma("GCC diagnostic pop")
#else
#define ZUL_GCC_RESTRICT_BUG_BEGIN
#define ZUL_GCC_RESTRICT_BUG_END
#endif
