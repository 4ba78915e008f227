#include "engine/filter_settings.h"

#include <climits>

#include "engine/gcc_restrict_bug.h"
#include "engine/tests/engine_fixture.h"

namespace zul {

using Evaluation = EngineTest;

ZUL_GCC_RESTRICT_BUG_BEGIN
TEST(FilterSettings, StartsWithTheDefaultsAndCopiesEveryField) {
  const FilterSettings fresh;
  EXPECT_EQ(fresh.mask, "[name].[typ]");
  EXPECT_EQ(fresh.searchText, "");
  EXPECT_EQ(fresh.replaceText, "");
  EXPECT_EQ(fresh.nameCase, 0);
  EXPECT_EQ(fresh.extCase, 0);
  EXPECT_EQ(fresh.start, 1);
  EXPECT_EQ(fresh.step, 1);
  EXPECT_EQ(fresh.fillText, "0");
  EXPECT_EQ(fresh.digits, 0);

  FilterSettings source;
  source.mask = "m";
  source.searchText = "s";
  source.replaceText = "r";
  source.nameCase = 7;
  source.extCase = -1;
  source.start = INT32_MIN;
  source.step = INT32_MAX;
  source.fillText = "ab";
  source.digits = 12;
  FilterSettings copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.mask, "m");
  EXPECT_EQ(copy.searchText, "s");
  EXPECT_EQ(copy.replaceText, "r");
  EXPECT_EQ(copy.nameCase, 7);
  EXPECT_EQ(copy.extCase, -1);
  EXPECT_EQ(copy.start, INT32_MIN);
  EXPECT_EQ(copy.step, INT32_MAX);
  EXPECT_EQ(copy.fillText, "ab");
  EXPECT_EQ(copy.digits, 12);
}

TEST_F(Evaluation, ExpandsTheMaskStepByStep) {
  struct Case {
    std::string mask;
    std::string oldName;
    std::string result;
    void (*adjust)(FilterSettings&);
  };
  auto none = [](FilterSettings&) {};
  const Case cases[] = {
      {"[name].[typ]", "Brief.txt", "Brief.txt", none},
      {"[name].[typ]", "README", ".README", none},
      {"[name].[typ]", ".profile", ".profile", none},
      // A Linux name keeps every byte but '/' and NUL, which no name read from the disk holds.
      {"[name].[typ]", "Besprechung 10:30.txt", "Besprechung 10:30.txt", none},
      {"[name].[typ]", "Was?.mp3", "Was?.mp3", none},
      {"[name].[typ]", "a\\b*c\"d<e>f|g.txt", "a\\b*c\"d<e>f|g.txt", none},
      {"[name].[typ]", std::string("a/b\0c.txt", 9), "abc.txt", none},
      {"[1,5]|[-3,-1]", "10:30 Termin?.txt", "10:30|txt", none},  // ranges count what is shown
      {"[name].[typ]", "mein foto.jpg", "Mein Foto.Jpg",
       [](FilterSettings& f) { f.nameCase = WordsUpper, f.extCase = FirstUpper; }},
      {"[name].[typ]", "mein foto.jpg", "Mein Foto.jpg",
       [](FilterSettings& f) { f.nameCase = WordsUpper, f.extCase = WordsUpper; }},
      {"[name].[typ]", "foto_Foto.jpg", "Bild_Foto.jpg",
       [](FilterSettings& f) { f.searchText = "foto", f.replaceText = "Bild"; }},
      {"x-[name]", "xy.txt", "x-Zy",
       [](FilterSettings& f) { f.searchText = "x", f.replaceText = "Z"; }},
      {"[name]|[typ]", "a.b.txt", "|a_b_txt",
       [](FilterSettings& f) { f.searchText = ".", f.replaceText = "_"; }},
      {"[name]", "a/b.txt", "X",  // the slash goes before the search sees the name
       [](FilterSettings& f) { f.searchText = "ab", f.replaceText = "X"; }},
      {"[[]x[]]", "a.txt", "[x]", none},
      {"[name][[][index][]]", "a.txt", "a[1]", none},
      {"[Name]-[NAME]", "a.txt", "[Name]-[NAME]", none},
      {"", "a.txt", "", none},
      {"[name]", "Bild [datum].jpg", "Bild 06.12.2026", none},
      {"[name]", "a[2,3].txt", "a[2", none},  // the range reads the file's own name
      {"[name]", "x[typ].jpg", "xjpg", none},
      {"[ty[name]p]", ".doc", "doc", none},  // an empty name part joins "[typ]"
  };
  for (const Case& c : cases) {
    FilterSettings filter;
    filter.mask = c.mask;
    c.adjust(filter);
    EXPECT_EQ(filter.Evaluate(c.oldName, 0, "", ""), c.result) << c.mask << " on " << c.oldName;
  }
}

TEST_F(Evaluation, NumbersTheRowsAndDrawsOnEveryCall) {
  FilterSettings filter;
  filter.mask = "[index]-[name].[typ]";
  filter.digits = 3;
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "001-a.txt");
  EXPECT_EQ(filter.Evaluate("a.txt", 9, "", ""), "010-a.txt");
  EXPECT_EQ(filter.Evaluate("a.txt", 999, "", ""), "1000-a.txt");
  filter.mask = "[index]";
  filter.start = 10;
  filter.step = -5;
  filter.digits = 0;
  EXPECT_EQ(filter.Evaluate("a.txt", 3, "", ""), "-5");
  filter.start = INT32_MAX;
  filter.step = INT32_MAX;
  EXPECT_EQ(filter.Evaluate("a.txt", INT32_MAX, "", ""), "-2147483648");  // wraps around in 32 bits
  filter.start = INT32_MIN;
  filter.step = -1;
  EXPECT_EQ(filter.Evaluate("a.txt", 1, "", ""), "2147483647");

  SetRandomState(1);
  filter.mask = "[zufall]";
  filter.start = 1;
  filter.step = 6;
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "6");  // 41 % 6 = 5
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "6");  // 18467 % 6 = 5
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "5");  // 6334 % 6 = 4
  filter.mask = "x";
  filter.Evaluate("a.txt", 0, "", "");  // draws 26500 without "[zufall]"
  filter.mask = "[zufall]";
  filter.step = -10;
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "10");  // 19169 % -10 = 9
  filter.step = 0;
  filter.start = 42;
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "42");
  filter.start = INT32_MAX;
  filter.step = INT32_MIN;
  SetRandomState(1);
  EXPECT_EQ(filter.Evaluate("a.txt", 0, "", ""), "-2147483608");  // MAX + 41 wraps
}
ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
