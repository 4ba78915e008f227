#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/filter_settings.h"
#include "engine/placeholders.h"
#include "engine/random.h"

namespace zul {

namespace {

FileTags Sample() {
  FileTags tags;
  tags.artist = "AC/DC";
  tags.album = "Back in Black";
  tags.title = "Shoot to Thrill";
  tags.genre = "Hard Rock";
  tags.make = "Canon";
  tags.model = "EOS 5D";
  tags.track = 7;
  tags.disc = 2;
  tags.year = 1980;
  tags.width = 4000;
  tags.height = 3000;
  return tags;
}

NameEvaluation EvaluateWith(const std::string& mask, const FileTags& tags, int* reads = nullptr) {
  const ScopedRandomState random{1};
  FilterSettings filter;
  filter.mask = mask;
  return filter.EvaluateFile(
      "song.mp3", 0, "", "", [] { return std::string(); },
      [&]() -> const FileTags& {
        if (reads != nullptr) ++*reads;
        return tags;
      });
}

// Every placeholder of the whole table, old and new: "[" lower-case letters "]", each found by
// the scanner, and none part of another (so no order of replacement can cut one up).
TEST(PlaceholderTable, TextsAreDistinctAndNonePartOfAnother) {
  std::set<std::string_view> texts;
  for (int pass = 0; pass < kPassCount; ++pass) {
    const std::string_view text = PassText(pass);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.front(), '[');
    EXPECT_EQ(text.back(), ']');
    for (const char c : text.substr(1, text.size() - 2)) EXPECT_TRUE(c >= 'a' && c <= 'z') << text;
    const auto found = NextPlaceholder(text, 0);
    ASSERT_TRUE(found) << text;
    EXPECT_EQ(found->pass, pass) << text;
    EXPECT_TRUE(texts.insert(text).second) << text << " twice";
  }
  for (const std::string_view a : texts) {
    for (const std::string_view b : texts) {
      if (a != b) {
        EXPECT_EQ(b.find(a), std::string_view::npos) << a << " in " << b;
      }
    }
  }
  // Near misses of the long names are no placeholders.
  for (const char* text : {"[interpre]", "[interprets]", "[erschiene]", "[herstellerx]"})
    EXPECT_FALSE(NextPlaceholder(text, 0)) << text;
  // Nor is any placeholder with a letter more or one less ("[estundex]" once read as
  // "[estunde]"), unless that is a placeholder itself.
  for (const std::string_view text : texts) {
    const std::string inner(text.substr(1, text.size() - 2));
    std::vector<std::string> misses{"[" + inner.substr(0, inner.size() - 1) + "]"};
    for (char c = 'a'; c <= 'z'; ++c) misses.push_back("[" + inner + c + "]");
    for (const std::string& miss : misses) {
      if (texts.contains(miss)) continue;
      EXPECT_FALSE(NextPlaceholder(miss, 0)) << miss;
    }
  }
}

struct ValueCase {
  const char* mask;
  const char* expected;
};

class TagValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(TagValues, GiveTheFilesMetadata) {
  const NameEvaluation result = EvaluateWith(GetParam().mask, Sample());
  EXPECT_EQ(result.name, GetParam().expected);
  EXPECT_FALSE(result.emptyTag);
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, TagValues,
    ::testing::Values(ValueCase{"[spur] - [interpret] - [titel].[typ]",
                                "07 - AC-DC - Shoot to Thrill.mp3"},
                      ValueCase{"[track]|[artist]|[title]|[album]|[genre]",
                                "07|AC-DC|Shoot to Thrill|Back in Black|Hard Rock"},
                      ValueCase{"[cdnr]-[disc]-[erschienen]-[released]", "2-2-1980-1980"},
                      ValueCase{"[hersteller] [kamera] [breite]x[hoehe]", "Canon EOS 5D 4000x3000"},
                      ValueCase{"[make] [model] [width]x[height]", "Canon EOS 5D 4000x3000"},
                      ValueCase{"[1,4]-[interpret]", "song-AC-DC"}));

struct SafeCase {
  std::string value;
  std::string expected;
};

class SafeValues : public ::testing::TestWithParam<SafeCase> {};

TEST_P(SafeValues, AreLiteralAndFitIntoAName) {
  FileTags tags;
  tags.title = GetParam().value;
  EXPECT_EQ(EvaluateWith("[titel]", tags).name, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SafeValues,
    ::testing::Values(SafeCase{"AC/DC", "AC-DC"},
                      SafeCase{"a\tb\nc\x7f"
                               "d",
                               "a b c d"},
                      SafeCase{std::string("a\0b", 3), "a b"}, SafeCase{"  blank \r\n", "blank"},
                      SafeCase{"Live [2003]", "Live [2003]"},
                      SafeCase{"[1,3] [name]", "[1,3] [name]"}, SafeCase{"x]y[", "x]y["},
                      SafeCase{"\xff\xfe", "\xff\xfe"},
                      // 200 umlauts are 400 bytes: cut to 127 whole ones, not into the 128th.
                      SafeCase{[] {
                                 std::string s;
                                 for (int i = 0; i < 200; ++i) s += "\xc3\xa4";
                                 return s;
                               }(),
                               [] {
                                 std::string s;
                                 for (int i = 0; i < 127; ++i) s += "\xc3\xa4";
                                 return s;
                               }()},
                      SafeCase{std::string(300, 'x'), std::string(255, 'x')}));

TEST(TagPlaceholders, AnEmptyOrMissingTagGivesAnEmptyTextAndSaysSo) {
  FileTags tags = Sample();
  tags.artist = " \t ";
  tags.track = 0;
  const NameEvaluation artist = EvaluateWith("[interpret]-[titel]", tags);
  EXPECT_EQ(artist.name, "-Shoot to Thrill");
  EXPECT_TRUE(artist.emptyTag);
  EXPECT_TRUE(EvaluateWith("[spur]", tags).emptyTag);
  EXPECT_FALSE(EvaluateWith("[titel][eindeutig]", tags).emptyTag);
}

TEST(TagPlaceholders, TheMetadataIsAskedForOnceAndOnlyWhenUsed) {
  int reads = 0;
  EvaluateWith("[name]-[index]-[datum]-[eindeutig].[typ]", Sample(), &reads);
  EXPECT_EQ(reads, 0);
  EvaluateWith("[interpret]-[titel]-[width]", Sample(), &reads);
  EXPECT_EQ(reads, 1);
  // A placeholder that an earlier pass made counts too: the old name holds "[artist]".
  const ScopedRandomState random{1};
  FilterSettings filter;
  filter.mask = "[name]";
  const FileTags tags = Sample();
  const NameEvaluation made = filter.EvaluateFile(
      "x[artist].mp3", 0, "", "", [] { return std::string(); },
      [&]() -> const FileTags& { return tags; });
  EXPECT_EQ(made.name, "xAC-DC");
}

TEST(UniquePlaceholder, LeavesASlotForThePlanAndNothingInAPreview) {
  const NameEvaluation result = EvaluateWith("a[eindeutig]b[unique].[typ]", Sample());
  EXPECT_EQ(result.name, "a" + std::string(kUniqueSlot) + "b" + std::string(kUniqueSlot) + ".mp3");
  FilterSettings filter;
  filter.mask = "a[eindeutig]b[unique].[typ]";
  EXPECT_EQ(filter.Evaluate("song.mp3", 0, "", ""), "ab.mp3");
}

}  // namespace

}  // namespace zul
