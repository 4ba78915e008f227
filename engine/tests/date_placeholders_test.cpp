#include "engine/date_placeholders.h"

#include <set>
#include <vector>

#include "engine/filter_settings.h"
#include "engine/tests/engine_fixture.h"

namespace zul {

using DatePlaceholders = EngineTest;

namespace {

std::string Evaluate(const std::string& mask, const std::string& created,
                     const std::string& modified, const std::string& captured = "") {
  FilterSettings filter;
  filter.mask = mask;
  return filter.Evaluate("x.txt", 0, created, modified, captured);
}

std::vector<const DatePlaceholder*> Group(DateSource source) {
  std::vector<const DatePlaceholder*> group;
  for (const DatePlaceholder& p : kDatePlaceholders) {
    if (p.source == source) group.push_back(&p);
  }
  return group;
}

}  // namespace

TEST(DatePlaceholderTable, HoldsThe139DistinctPlaceholdersInTheirGroups) {
  std::set<std::string_view> texts;
  int perSource[4] = {};
  for (const DatePlaceholder& p : kDatePlaceholders) {
    texts.insert(p.text);
    ++perSource[static_cast<int>(p.source)];
  }
  EXPECT_EQ(texts.size(), 139u);
  EXPECT_EQ(perSource[0], 31);
  EXPECT_EQ(perSource[1], 36);
  EXPECT_EQ(perSource[2], 36);
  EXPECT_EQ(perSource[3], 36);
  for (std::string_view a : texts) {
    for (std::string_view b : texts) {
      if (a != b) {
        EXPECT_EQ(b.find(a), std::string_view::npos) << a << " in " << b;
      }
    }
  }
}

TEST_F(DatePlaceholders, CutFileTimesAtFixedPositions) {
  const std::string created = "05.03.2007   09:07:02";
  const std::pair<const char*, const char*> createdCases[] = {
      {"[edatum]", "05.03.2007"},
      {"[redatum]", "2007-03-05"},
      {"[ejj]", "07"},
      {"[cy]", "2007"},
      {"[emm]", "03"},
      {"[emonat]", "3"},
      {"[etag]", "5"},
      {"[ett]", "05"},
      {"[ezeit]", "09.07.02"},
      {"[eh]", "09"},
      {"[em]", "07"},
      {"[es]", "02"},
      {"[cdate]", "05.03.2007"},
      {"[rcdate]", "2007-03-05"},
      {"[ctime]", "09.07.02"},
      {"[cminute]", "07"},
      {"[csecond]", "02"},
      {"[chour]", "09"},
  };
  for (const auto& [mask, value] : createdCases) {
    EXPECT_EQ(Evaluate(mask, created, ""), value) << mask;
  }
  const std::string modified = "15.11.2006   23:59:00";
  const std::pair<const char*, const char*> modifiedCases[] = {
      {"[wd]", "15"},          {"[amonat]", "11"},  {"[rwdate]", "2006-11-15"},
      {"[wtime]", "23.59.00"}, {"[ajahr]", "2006"}, {"[wyy]", "06"},
  };
  for (const auto& [mask, value] : modifiedCases) {
    EXPECT_EQ(Evaluate(mask, "", modified), value) << mask;
  }
  EXPECT_EQ(Evaluate("[cday] [cmonth]", "15.03.2007   10:00:00", ""), "15 3");
  EXPECT_EQ(Evaluate("[edatum]", "31.02.1987   23:45:56", ""), "31.02.1987");
}

TEST_F(DatePlaceholders, ShortAndEmptyTextsGiveShortAndEmptyValues) {
  std::string allModified;
  for (const DatePlaceholder& p : kDatePlaceholders) {
    if (p.source == DateSource::Modified) allModified += p.text;
  }
  EXPECT_EQ(Evaluate(allModified, "", ""), "");
  EXPECT_EQ(Evaluate("[redatum]|[ezeit]|[emonat]|[etag]", "07.0", ""), "-0-07|||7");
  EXPECT_EQ(Evaluate("[emonat]|[eh]|[es]", "01.0", ""), "||");
  EXPECT_EQ(Evaluate("[ezeit]|[es]", "05.03.2007   09:07:0", ""), "09.07.0|0");
  // Positions count characters, not bytes.
  EXPECT_EQ(Evaluate("[edatum]|[ejj]",
                     "\xC3\xA4"
                     "5.03.2007",
                     ""),
            "\xC3\xA4"
            "5.03.2007|07");
}

TEST_F(DatePlaceholders, ShowTheOneClockReadingOfTheEvaluation) {
  const std::pair<const char*, const char*> cases[] = {
      {"[datum]", "06.12.2026"},
      {"[rdate]", "2026-12-06"},
      {"[yy]", "26"},
      {"[y]", "2026"},
      {"[mm]", "12"},
      {"[month]", "12"},
      {"[d]", "6"},
      {"[dd]", "06"},
      {"[time]", "09.05.03"},
      {"[m]", "05"},
      {"[s]", "03"},
      {"[h]", "09"},
      {"[jahr]", "2026"},
      {"[tag]", "6"},
      {"[stunde]", "09"},
  };
  for (const auto& [mask, value] : cases) EXPECT_EQ(Evaluate(mask, "", ""), value) << mask;

  // The range pass sees the date: "[1,[tt]]" becomes a range up to the day of the month.
  FilterSettings filter;
  filter.mask = "Teil [1,[tt]]";
  EXPECT_EQ(filter.Evaluate("abcdefgh.txt", 0, "", ""), "Teil abcdef");

  int readings = 0;
  const ScopedClock counting([&] { return LocalTime{2027, 1, 2, 3, 4, 5 + readings++}; });
  EXPECT_EQ(Evaluate("[zeit] [s] [sekunde]", "", ""), "03.04.05 05 05");
  EXPECT_EQ(readings, 1);
  EXPECT_EQ(Evaluate("[DATUM] [Datum] [datum ]", "", ""), "[DATUM] [Datum] [datum ]");
}

// The capture group is the creation group with 'f' and 'p' for 'e' and 'c': row by row the same
// kinds of value, and the same cuts from its own text.
TEST_F(DatePlaceholders, CaptureGroupMirrorsTheCreationGroup) {
  const std::vector<const DatePlaceholder*> created = Group(DateSource::Created);
  const std::vector<const DatePlaceholder*> captured = Group(DateSource::Captured);
  ASSERT_EQ(captured.size(), created.size());
  for (size_t i = 0; i < captured.size(); ++i) {
    const std::string_view c = created[i]->text;
    const std::string_view f = captured[i]->text;
    const size_t at = c.find_first_of("ec", c[1] == 'r' ? 2 : 1);
    EXPECT_EQ(f.substr(0, at), c.substr(0, at)) << f;
    EXPECT_EQ(f.substr(at + 1), c.substr(at + 1)) << f;
    EXPECT_EQ(std::string_view(c[at] == 'e' ? "f" : "p"), f.substr(at, 1)) << f;
    EXPECT_EQ(captured[i]->value, created[i]->value) << f;
    for (const char* text : {"05.03.2007   09:07:02", "28.12.1999   23:59:60", "07.0", ""}) {
      EXPECT_EQ(Evaluate(std::string(f), "", "", text), Evaluate(std::string(c), text, "", ""))
          << f << " on '" << text << "'";
    }
  }
}

TEST_F(DatePlaceholders, EachFileGroupCutsItsOwnText) {
  const std::string created = "05.03.2007   09:07:02";
  const std::string modified = "15.11.2006   23:59:00";
  const std::string captured = "28.02.2019   14:30:59";
  const std::pair<const char*, const char*> cases[] = {
      {"[fdatum]", "28.02.2019"}, {"[rpdate]", "2019-02-28"}, {"[pyy]", "19"},
      {"[fj]", "2019"},           {"[pmonth]", "2"},          {"[ft]", "28"},
      {"[ptime]", "14.30.59"},    {"[fstunde]", "14"},        {"[pm]", "30"},
      {"[fsekunde]", "59"},       {"[edatum]", "05.03.2007"}, {"[wtime]", "23.59.00"},
  };
  for (const auto& [mask, value] : cases) {
    EXPECT_EQ(Evaluate(mask, created, modified, captured), value) << mask;
  }
  EXPECT_EQ(Evaluate("Foto_[rfdatum]_[fzeit].[typ]", created, modified, captured),
            "Foto_2019-02-28_14.30.59.txt");
  // After the date placeholders comes the range pass.
  EXPECT_EQ(Evaluate("[1,[fmonat]]", "", "", "01.02.2003   04:05:06"), "x.");
}

TEST_F(DatePlaceholders, FourArgumentFormLeavesTheCaptureGroupEmpty) {
  std::string all;
  for (const DatePlaceholder* p : Group(DateSource::Captured)) all += std::string(p->text) + "|";
  FilterSettings filter;
  filter.mask = all;
  EXPECT_EQ(filter.Evaluate("x.txt", 0, "05.03.2007   09:07:02", "15.11.2006   23:59:00"),
            std::string(36, '|'));
}

}  // namespace zul
