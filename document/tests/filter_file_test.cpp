#include "document/filter_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "engine/gcc_restrict_bug.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

ZUL_GCC_RESTRICT_BUG_BEGIN
FilterSettings Sample() {
  FilterSettings f;
  f.mask = "Bild_[index]";
  f.searchText = "a";
  f.replaceText = "b";
  f.nameCase = 2;
  f.extCase = 1;
  f.start = 5;
  f.step = 3;
  f.fillText = "_";
  f.digits = 4;
  return f;
}
ZUL_GCC_RESTRICT_BUG_END

void ExpectSame(const FilterSettings& a, const FilterSettings& b) {
  EXPECT_EQ(a.mask, b.mask);
  EXPECT_EQ(a.searchText, b.searchText);
  EXPECT_EQ(a.replaceText, b.replaceText);
  EXPECT_EQ(a.nameCase, b.nameCase);
  EXPECT_EQ(a.extCase, b.extCase);
  EXPECT_EQ(a.start, b.start);
  EXPECT_EQ(a.step, b.step);
  EXPECT_EQ(a.fillText, b.fillText);
  EXPECT_EQ(a.digits, b.digits);
}

FilterReadResult Read(FilterSettings& f, std::string bytes) {
  StringLineSource source(std::move(bytes));
  return ReadFrom(f, source);
}

// Endless bytes after a given beginning, counting how many were taken.
class EndlessSource : public LineSource {
 public:
  explicit EndlessSource(std::string start) : m_start(std::move(start)) {}
  int NextByte() override {
    const size_t i = taken++;
    return i < m_start.size() ? static_cast<unsigned char>(m_start[i]) : 'x';
  }
  size_t taken = 0;

 private:
  std::string m_start;
};

}  // namespace

TEST(FilterFile, DefaultFilterIsElevenLinesAndReadsBack) {
  std::string text;
  WriteTo(FilterSettings(), text);
  EXPECT_EQ(text, "FILTER-DATEI\n100\n[name].[typ]\n1\n1\n\n\n0\n0\n0\n0\n");

  FilterSettings read = Sample();
  EXPECT_EQ(Read(read, text), ReadOk);
  ExpectSame(read, FilterSettings());
}

TEST(FilterFile, FieldsTravelInFileOrder) {
  std::string text;
  WriteTo(Sample(), text);
  EXPECT_EQ(text, "FILTER-DATEI\n100\nBild_[index]\n5\n3\na\nb\n2\n1\n_\n4\n");
  FilterSettings read;
  EXPECT_EQ(Read(read, text), ReadOk);
  ExpectSame(read, Sample());
}

class WrongSignature : public ::testing::TestWithParam<std::string> {};

TEST_P(WrongSignature, LeavesTheFilterUnchanged) {
  FilterSettings f = Sample();
  EXPECT_EQ(Read(f, GetParam()), BadSignature);
  ExpectSame(f, Sample());
}

INSTANTIATE_TEST_SUITE_P(FilterFile, WrongSignature,
                         ::testing::Values("filter-datei\n100\nx\n", "FILTER-DATEI \n100\n",
                                           "FILTER-DATEIX\n100\n", "", "FILTER-DATE",
                                           "FILTER-DATEI\r",
                                           std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));

// The version line is read by the atol rule: what follows the number, and white space or a plus
// before it, do not matter; any other number is another version.
class VersionLine : public ::testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(VersionLine, MustBeHundredByTheAtolRule) {
  const auto& [version, accepted] = GetParam();
  FilterSettings f = Sample();
  const FilterReadResult result = Read(f, std::string("FILTER-DATEI\n") + version + "\n[name]\n");
  if (accepted) {
    EXPECT_EQ(result, ReadOk);
    EXPECT_EQ(f.mask, "[name]");
  } else {
    EXPECT_EQ(result, BadVersion);
    ExpectSame(f, Sample());
  }
}

INSTANTIATE_TEST_SUITE_P(FilterFile, VersionLine,
                         ::testing::Values(std::pair("101", false), std::pair("99", false),
                                           std::pair("", false), std::pair("abc", false),
                                           std::pair("1000", false), std::pair("-100", false),
                                           std::pair(" 100", true), std::pair("100 beta", true),
                                           std::pair("+100", true), std::pair("\t100", true)));

TEST(FilterFile, FileCutShortGivesEmptyTextsAndZeros) {
  FilterSettings f = Sample();
  EXPECT_EQ(Read(f, "FILTER-DATEI\n100\n[name]\n7\n"), ReadOk);
  EXPECT_EQ(f.mask, "[name]");
  EXPECT_EQ(f.start, 7);
  EXPECT_EQ(f.step, 0);
  EXPECT_EQ(f.searchText, "");
  EXPECT_EQ(f.replaceText, "");
  EXPECT_EQ(f.nameCase, 0);
  EXPECT_EQ(f.extCase, 0);
  EXPECT_EQ(f.fillText, "");
  EXPECT_EQ(f.digits, 0);

  FilterSettings onlyHeader = Sample();
  EXPECT_EQ(Read(onlyHeader, "FILTER-DATEI\n100"), ReadOk);
  EXPECT_EQ(onlyHeader.mask, "");
  EXPECT_EQ(onlyHeader.start, 0);
}

TEST(FilterFile, CrLfReadsLikeLf) {
  FilterSettings lf;
  FilterSettings crlf;
  EXPECT_EQ(Read(lf, "FILTER-DATEI\n100\nA[name]\n5\n3\na\nb\n2\n1\n_\n4\n"), ReadOk);
  EXPECT_EQ(
      Read(crlf, "FILTER-DATEI\r\n100\r\nA[name]\r\n5\r\n3\r\na\r\nb\r\n2\r\n1\r\n_\r\n4\r\n"),
      ReadOk);
  ExpectSame(crlf, lf);
  // A carriage return not followed by a line feed belongs to the text.
  FilterSettings lone;
  EXPECT_EQ(Read(lone, "FILTER-DATEI\n100\na\rb\n"), ReadOk);
  EXPECT_EQ(lone.mask, "a\rb");
}

TEST(FilterFile, Utf8TextsRoundTripByteForByte) {
  FilterSettings f;
  f.mask = "Größe_[name]_Ä€.[typ]";
  f.searchText = "ü";
  f.replaceText = "ue";
  f.fillText = "ß";
  std::string text;
  WriteTo(f, text);
  EXPECT_NE(text.find("Größe_[name]_Ä€.[typ]\n"), std::string::npos);
  FilterSettings read;
  EXPECT_EQ(Read(read, text), ReadOk);
  ExpectSame(read, f);
}

TEST(FilterFile, Windows1252LineIsConverted) {
  FilterSettings f;
  EXPECT_EQ(Read(f,
                 "FILTER-DATEI\n100\nGr\xF6\xDF"
                 "e_\x80[name]\n1\n1\n\xE4\nae\n0\n0\n0\n0\n"),
            ReadOk);
  EXPECT_EQ(f.mask, "Größe_€[name]");
  EXPECT_EQ(f.searchText, "ä");
  EXPECT_EQ(f.replaceText, "ae");
}

TEST(FilterFile, NumbersFollowAtolAndSaturate) {
  FilterSettings f;
  EXPECT_EQ(Read(f,
                 "FILTER-DATEI\n100\nm\n99999999999\n-99999999999\n\n\n  -3x\nzwei\n\n"
                 "2147483648\n"),
            ReadOk);
  EXPECT_EQ(f.start, INT32_MAX);
  EXPECT_EQ(f.step, INT32_MIN);
  EXPECT_EQ(f.nameCase, -3);
  EXPECT_EQ(f.extCase, 0);
  EXPECT_EQ(f.digits, INT32_MAX);

  std::string text;
  FilterSettings negative;
  negative.start = INT32_MIN;
  WriteTo(negative, text);
  EXPECT_NE(text.find("\n-2147483648\n"), std::string::npos);
}

TEST(FilterFile, SignatureCheckStopsEarlyOnAnEndlessLine) {
  EndlessSource other("GIF89a");
  FilterSettings f;
  EXPECT_EQ(ReadFrom(f, other), BadSignature);
  EXPECT_EQ(other.taken, 1u);

  EndlessSource almost("FILTER-DATEI");
  EXPECT_EQ(ReadFrom(f, almost), BadSignature);
  EXPECT_EQ(almost.taken, 13u);
}

}  // namespace zul

namespace zul {

namespace {

struct KindCase {
  const char* name;
  const char* file;
  const char* content;  // nullptr: a real filter file with mask "neu"
  FilterFile::Kind kind;
  const char* mask;  // what the read filter holds
};

class FilterFileKinds : public ::testing::TestWithParam<KindCase> {};

// The one reading of filter files: an empty file is a filter file only where it is named as one,
// and whatever is not a filter file leaves the given filter as it is.
TEST_P(FilterFileKinds, TellsWhatAFileIs) {
  const KindCase& c = GetParam();
  TempFolder dir;
  std::string bytes = c.content ? c.content : std::string();
  if (!c.content) {
    FilterSettings written;
    written.mask = "neu";
    WriteTo(written, bytes);
  }
  dir.Put(c.file, bytes);
  FilterSettings base;
  base.mask = "alt";
  const Result<FilterFile> read = ReadFilterFile(SystemFileSystem(), dir.Path(c.file), base);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->kind, c.kind);
  EXPECT_EQ(read->filter.mask, c.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FilterFileKinds,
    ::testing::Values(
        KindCase{"Filter", "a.fil", nullptr, FilterFile::Kind::Filter, "neu"},
        KindCase{"FilterOfAnyName", "a.txt", nullptr, FilterFile::Kind::Filter, "neu"},
        KindCase{"EmptyFil", "b.fil", "", FilterFile::Kind::EmptyFilter, "alt"},
        KindCase{"EmptyOther", "__init__.py", "", FilterFile::Kind::NotAFilter, "alt"},
        KindCase{"Text", "c.fil", "hallo\n", FilterFile::Kind::NotAFilter, "alt"}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return info.param.name; });

TEST(ReadFilterFile, AMissingFileSaysWhy) {
  const Result<FilterFile> read =
      ReadFilterFile(SystemFileSystem(), "/nonexistent-zul/x.fil", FilterSettings());
  EXPECT_EQ(read.error(), std::errc::no_such_file_or_directory);
}

}  // namespace

}  // namespace zul
