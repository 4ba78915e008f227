#include <string>

#include "engine/filter_settings.h"
#include "engine/gcc_restrict_bug.h"
#include "engine/tests/engine_fixture.h"

namespace zul {

namespace {

ZUL_GCC_RESTRICT_BUG_BEGIN

struct TimesCase {
  const char* label;
  std::string mask;
  std::string oldName;
  std::string replaceText;  // replaces "x"
  std::string fillText;
  bool needs;
  bool datesShow;  // the two sets of dates below give different names
};

class FileTimesNeed : public EngineTest, public ::testing::WithParamInterface<TimesCase> {};

// The query may only answer false where the dates cannot change the name; where it answers true
// for a date that really shows, the two evaluations must differ.
TEST_P(FileTimesNeed, AnswersFalseOnlyWhereTheDatesCannotShow) {
  const TimesCase& c = GetParam();
  FilterSettings filter;
  filter.mask = c.mask;
  filter.searchText = "x";
  filter.replaceText = c.replaceText;
  filter.fillText = c.fillText;
  filter.digits = 3;
  EXPECT_EQ(filter.NeedsFileTimes(c.oldName), c.needs);
  const std::string early = filter.Evaluate(c.oldName, 4, "01.02.2003   04:05:06",
                                            "02.03.2004   05:06:07", "03.04.2005   06:07:08");
  const std::string late = filter.Evaluate(c.oldName, 4, "11.12.2013   14:15:16",
                                           "12.11.2014   15:16:17", "13.10.2015   16:17:18");
  EXPECT_EQ(early != late, c.datesShow) << early << " / " << late;
  if (c.datesShow) {
    EXPECT_TRUE(c.needs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FileTimesNeed,
    ::testing::Values(
        TimesCase{"Default", "[name].[typ]", "Foto.jpg", "", "0", false, false},
        TimesCase{"CounterAndNow", "[index]_[datum]_[name].[typ]", "Foto.jpg", "", "0", false,
                  false},
        TimesCase{"RangesAndEscapes", "[1,2][[][name][]].[typ]", "Foto.jpg", "", "0", false, false},
        TimesCase{"Created", "[edatum]_[name].[typ]", "Foto.jpg", "", "0", true, true},
        TimesCase{"Modified", "[name]_[adatum]", "Foto.jpg", "", "0", true, true},
        // A photo without a capture time shows its last-write time instead.
        TimesCase{"CaptureStandIn", "[fdatum]", "Foto.jpg", "", "0", true, true},
        TimesCase{"PlaceholderInTheName", "[name].[typ]", "a[edatum].jpg", "", "0", true, true},
        TimesCase{"BracketInAnotherName", "[name].[typ]", "a[1].jpg", "", "0", true, false},
        TimesCase{"PlaceholderFromTheReplacement", "[name].[typ]", "x.jpg", "[adatum]", "0", true,
                  true},
        TimesCase{"ReplacementWithoutName", "[index]", "x.jpg", "[adatum]", "0", false, false},
        // ".x" has an empty name part: "[e" and "datum]" meet.
        TimesCase{"JoinedAroundAnEmptyValue", "[e[name]datum]", ".x", "", "0", true, true},
        TimesCase{"BracketInTheFill", "[index].[typ]", "Foto.jpg", "", "[", true, false}),
    [](const ::testing::TestParamInfo<TimesCase>& info) { return info.param.label; });

ZUL_GCC_RESTRICT_BUG_END

}  // namespace

}  // namespace zul
