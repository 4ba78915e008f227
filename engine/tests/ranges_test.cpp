#include <gtest/gtest.h>

#include "engine/filter_settings.h"
#include "engine/range_pass.h"
#include "engine/tests/engine_fixture.h"

namespace zul {

using Ranges = EngineTest;

TEST(RangeText, SelectsClampedCharactersOfTheSource) {
  const std::pair<const char*, const char*> cases[] = {
      {"1,6", "Urlaub"},
      {"6,1", "Urlaub"},
      {"7,10", "2007"},
      {"-3,-1", "jpg"},
      {"0,3", "Url"},
      {"12,40", "jpg"},
      {"20,25", ""},
      {"-20,-1", "Urlaub2007.jpg"},
      {"-20,2", "Urlaub20"},
      {"x,y", "U"},
      {"1,2,9", "Ur"},
      {",3", "Url"},
      {"13,", "Urlaub2007.jp"},  // an empty part reads as 0
      {" +2 , 3 ", "rl"},
      {"15,15", ""},
      {"14,14", "g"},
      {"2147483647,-2147483648", "Urlaub2007.jpg"},
      {"99999999999,99999999999", ""},
      {"-99999999999,-99999999999", "U"},
      {"2147483647,2147483647", ""},
  };
  for (const auto& [inner, text] : cases) EXPECT_EQ(RangeText("Urlaub2007.jpg", inner), text);
  EXPECT_EQ(RangeText("\xC3\x9C"
                      "bung\xE4\xB8.txt",
                      "1,1"),
            "\xC3\x9C");
  EXPECT_EQ(RangeText("\xC3\x9C"
                      "bung\xE4\xB8.txt",
                      "6,7"),
            "\xE4\xB8");
  EXPECT_EQ(RangeText("", "1,5"), "");
}

TEST_F(Ranges, AreResolvedFromTheEndAndNeverReadAgain) {
  struct Case {
    std::string mask, oldName, result;
    int32_t nameCase = Unchanged;
  };
  const Case cases[] = {
      {"Test [abc] [1,4]", "Hallo.doc", "Test [abc] Hall"},
      {"[-3,-1]_[1,3]", "Urlaub.jpg", "jpg_Url"},
      {"[1,3]", "urlaub.jpg", "url", Upper},
      {"[name]", "urlaub.jpg", "URLAUB", Upper},
      {"[[1,2]", "ab[.x", "[ab"},
      {"[1,2]]", "ab.x", "ab"},  // the inner text "1,2]" reads as 1 and 2
      {"[a[1,1]]", "[1,2].x", "[a["},
      {"[1,1][2,2]", "ab.x", "ab"},
      {"]]][[[", "ab.x", "]]][[["},
      {"[,]", "ab.x", "a"},
      {"[name]", "[5,5].txt", "]"},  // read from the name; the range text is not read again
  };
  for (const Case& c : cases) {
    FilterSettings filter;
    filter.mask = c.mask;
    filter.nameCase = c.nameCase;
    EXPECT_EQ(filter.Evaluate(c.oldName, 0, "", ""), c.result) << c.mask;
  }
}

}  // namespace zul
