#include "engine/text_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "engine/filter_settings.h"
#include "engine/text_units.h"

namespace zul {

TEST(ReplaceAll, IsExactLeftToRightAndDoesNotRescanInsertedText) {
  struct Case {
    std::string text, search, replacement, result;
  };
  const Case cases[] = {
      {"foto_Foto.jpg", "foto", "Bild", "Bild_Foto.jpg"},
      {"aaaa", "aa", "a", "aa"},
      {"abc", "", "x", "abc"},
      {"a.b", ".", "", "ab"},
      {"aaa", "a", "aa", "aaaaaa"},
      {"", "a", "b", ""},
      {"\xC3\xA4\xE4", "\xE4", "x", "\xC3\xA4x"},  // bytes match exactly
  };
  for (Case c : cases) {
    ReplaceAll(c.text, c.search, c.replacement);
    EXPECT_EQ(c.text, c.result) << c.search;
  }
}

TEST(ConvertCase, FollowsTheModes) {
  struct Case {
    std::string part;
    int32_t mode;
    bool words;
    std::string result;
  };
  const Case cases[] = {
      {"mein erstes-foto_am strand", WordsUpper, true, "Mein Erstes-Foto_Am Strand"},
      {"jpg", FirstUpper, false, "Jpg"},
      {"\xC3\xBC"
       "bersicht",
       Upper, true,
       "\xC3\x9C"
       "BERSICHT"},
      {"\xC3\x84RGER.TXT", Lower, true, "\xC3\xA4rger.txt"},
      {"stra\xC3\x9F"
       "e",
       Upper, true,
       "STRA\xC3\x9F"
       "E"},  // ß has no simple upper case
      {"a  b", WordsUpper, true, "A  b"},
      {"x--y", WordsUpper, true, "X--y"},
      {"2te", WordsUpper, true, "2te"},
      {"foto 2te", WordsUpper, true, "Foto 2te"},
      {"mEIN foto", WordsUpper, true, "MEIN Foto"},
      {"a1b", WordsUpper, true, "A1B"},
      {"a\xC2\xA7"
       "b",
       WordsUpper, true,
       "A\xC2\xA7"
       "B"},  // § separates
      {"a\xA7"
       "b",
       WordsUpper, true,
       "A\xA7"
       "b"},  // a lone byte A7 does not
      {"ab-", WordsUpper, true, "Ab-"},
      {"\xC3\xA4pfel", FirstUpper, true, "\xC3\x84pfel"},
      {"mein foto", WordsUpper, false, "mein foto"},
      {"MiXeD", Unchanged, true, "MiXeD"},
      {"MiXeD", -1, true, "MiXeD"},
      {"MiXeD", 7, true, "MiXeD"},
      {"\xE4\xB8x\xFF", Upper, true, "\xE4\xB8X\xFF"},  // invalid bytes are kept
      {"\xE4x", FirstUpper, true, "\xE4x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertCase(c.part, c.mode, c.words), c.result) << c.part << " mode " << c.mode;
  }
  for (int32_t mode = -1; mode <= 5; ++mode) EXPECT_EQ(ConvertCase("", mode, true), "");
}

TEST(FillNumber, FillsWithTheWholeTextUpToTheWidth) {
  struct Case {
    int32_t value, digits;
    std::string fill, result;
  };
  const Case cases[] = {
      {1, 3, "0", "001"},
      {10, 3, "0", "010"},
      {1000, 3, "0", "1000"},
      {-5, 0, "0", "-5"},
      {7, 4, "ab", "abab7"},
      {-5, 4, "0", "00-5"},
      {7, 2, "_", "_7"},
      {7, 1, "_", "7"},
      {7, -3, "0", "7"},
      {7, 5, "", "7"},
      {7, 3, "\xC3\xA4",
       "\xC3\xA4\xC3\xA4"
       "7"},  // the fill counts characters
      {INT32_MIN, 0, "0", "-2147483648"},
      // Copies joined count as the bytes then stand: "\x80", then "\xC3\x80" at every joint.
      {7, 5, "\x80\xC3",
       "\x80\xC3\x80\xC3\x80\xC3"
       "7"},
  };
  for (const Case& c : cases) EXPECT_EQ(FillNumber(c.value, c.digits, c.fill), c.result);
  EXPECT_EQ(FillNumber(7, INT32_MAX, "0"), std::string(kMaxFilledWidth - 1, '0') + "7");

  // Against the loop as it reads, on fills whose copies join in every way they can.
  const char bytes[] = {'\x80', '\xBF', '\xC3', '\xE4', '\xB8', '\xF0', '\x90', '\xF1', 'a'};
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    std::string fill;
    for (int n = std::uniform_int_distribution<int>(1, 5)(random); n > 0; --n) {
      fill += bytes[std::uniform_int_distribution<size_t>(0, sizeof bytes - 1)(random)];
    }
    const int32_t digits = std::uniform_int_distribution<int32_t>(0, 40)(random);
    const int32_t value = std::uniform_int_distribution<int32_t>(-999, 999)(random);
    std::string expected = std::to_string(value);
    while (CharCount(expected) < static_cast<size_t>(digits)) expected.insert(0, fill);
    ASSERT_EQ(FillNumber(value, digits, fill), expected) << digits;
  }
}

}  // namespace zul
