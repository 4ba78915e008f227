#include "engine/text_units.h"

#include <gtest/gtest.h>

#include <climits>

namespace zul {

TEST(TextUnits, CountsCodePointsAndEachInvalidByteAlone) {
  struct Case {
    std::string_view text;
    size_t count;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"\xC3\xBC"
       "ber",
       4},                      // ü: two bytes, one character
      {"\xE2\x82\xAC", 1},      // €
      {"\xF0\x9F\x98\x80", 1},  // a four-byte character
      {"\xE4\xB8", 2},          // cut-off sequence: two characters
      {"a\xA7"
       "b",
       3},                      // a lone continuation byte
      {"\xC0\xAF", 2},          // overlong encoding of '/'
      {"\xED\xA0\x80", 3},      // an encoded surrogate
      {"\xF4\x90\x80\x80", 4},  // beyond U+10FFFF
      {std::string_view("a\0b", 3), 3},
  };
  for (const Case& c : cases) EXPECT_EQ(CharCount(c.text), c.count) << c.text;
}

TEST(TextUnits, FindsTheByteOffsetOfACharacterAndSlicesByCharacters) {
  const std::string_view text = "\xC3\xA4x\xE4\xB8\xE2\x82\xAC";  // ä x E4 B8 €
  const size_t offsets[] = {0, 2, 3, 4, 5, 8};
  for (size_t index = 0; index < 6; ++index) {
    EXPECT_EQ(ByteOffsetOfChar(text, index), offsets[index]) << index;
  }
  EXPECT_EQ(ByteOffsetOfChar(text, 99), text.size());
  EXPECT_EQ(CharSlice(text, 1, 3), "x\xE4\xB8");
  EXPECT_EQ(CharSlice(text, 4, 9), "\xE2\x82\xAC");
  EXPECT_EQ(CharSlice(text, 9, 1), "");
}

TEST(TextUnits, ReadsNumbersByTheAtolRuleAndSaturates) {
  struct Case {
    std::string_view text;
    int32_t value;
  };
  const Case cases[] = {
      {"", 0},
      {"x", 0},
      {"12", 12},
      {"  \t\n-7x", -7},
      {"+5", 5},
      {"- 5", 0},
      {"3,4", 3},
      {"0012", 12},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"99999999999999999999999", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999999", INT32_MIN},
      {"\xC2\xA0"
       "5",
       0},  // a no-break space is not white space to atol
  };
  for (const Case& c : cases) EXPECT_EQ(AtolRule(c.text), c.value) << c.text;
}

}  // namespace zul
