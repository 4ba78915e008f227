#include "core/journal_format.h"

#include <gtest/gtest.h>

namespace zul {

namespace {

// Every byte a name may hold, line breaks and names of the longest length among them.
JournaledRun HostileRun() {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) {
    if (c != '/') everyByte += static_cast<char>(c);
  }
  JournaledRun run;
  run.started = -1234567890123;
  run.plan = {
      {"/a\nb/\xff\xfe", everyByte.substr(0, 127), everyByte.substr(127)},
      {"", "root\r\n", std::string(255, '\x80')},
      {"/a\nb/\xff\xfe", std::string(255, 'x'), "line\nbreak"},
      {"/other", "same", "same"},
      {"/a\nb/\xff\xfe",
       "gr\xc3\xb6\xc3\x9f"
       "e",
       ""},
  };
  run.identities = {{1, 2}, {UINT64_MAX, UINT64_MAX - 1}, {}, {7, 0x0123456789abcdef}, {3, 4}};
  return run;
}

void ExpectSame(const JournaledRun& a, const JournaledRun& b) {
  EXPECT_EQ(a.started, b.started);
  ASSERT_EQ(a.plan.size(), b.plan.size());
  for (size_t k = 0; k < a.plan.size(); ++k) {
    EXPECT_EQ(a.plan[k].directory, b.plan[k].directory) << k;
    EXPECT_EQ(a.plan[k].from, b.plan[k].from) << k;
    EXPECT_EQ(a.plan[k].to, b.plan[k].to) << k;
  }
  EXPECT_EQ(a.identities, b.identities);
  EXPECT_EQ(a.renamed, b.renamed);
}

TEST(JournalFormat, HostileNamesRoundTripUnfinishedAndFinished) {
  JournaledRun run = HostileRun();
  const std::string bytes = EncodeJournal(run);
  Result<JournaledRun> decoded = DecodeJournal(bytes);
  ASSERT_TRUE(decoded) << decoded.error().message();
  ExpectSame(*decoded, run);

  run.renamed = 3;
  decoded = DecodeJournal(bytes + EncodeFinish(3));
  ASSERT_TRUE(decoded) << decoded.error().message();
  ExpectSame(*decoded, run);
}

// A journal cut anywhere, or with any one byte changed, is refused; never read as another run.
TEST(JournalFormat, EveryCutAndEveryChangedByteIsRefused) {
  const std::string bytes = EncodeJournal(HostileRun());
  for (size_t size = 0; size < bytes.size(); ++size) {
    const Result<JournaledRun> decoded = DecodeJournal(bytes.substr(0, size));
    ASSERT_FALSE(decoded) << "cut at " << size;
    EXPECT_EQ(decoded.error().category(), JournalCategory());
  }
  for (size_t at = 0; at < bytes.size(); ++at) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x10);
    EXPECT_FALSE(DecodeJournal(changed)) << "byte " << at;
  }
}

struct DefectCase {
  const char* name;
  std::function<std::string(const std::string& journal)> damage;
  JournalError error;
};

class JournalDefects : public ::testing::TestWithParam<DefectCase> {};

TEST_P(JournalDefects, SaysWhatIsWrong) {
  const std::string journal = EncodeJournal(HostileRun());
  const Result<JournaledRun> decoded = DecodeJournal(GetParam().damage(journal));
  ASSERT_FALSE(decoded);
  EXPECT_EQ(decoded.error(), MakeErrorCode(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JournalDefects,
    ::testing::Values(DefectCase{"Empty", [](const std::string&) { return std::string(); },
                                 JournalError::Truncated},
                      DefectCase{"OtherFile",
                                 [](const std::string&) { return std::string("FILTER-DATEI\n"); },
                                 JournalError::NotAJournal},
                      DefectCase{"NewerVersion",
                                 [](std::string j) {
                                   j[8] = 2;
                                   return j;
                                 },
                                 JournalError::UnknownVersion},
                      DefectCase{"HugeStepCount",
                                 [](std::string j) {
                                   j[23] = '\x7f';
                                   return j;
                                 },
                                 JournalError::Truncated},
                      DefectCase{"AByteOfANameChanged",
                                 [](std::string j) {
                                   j[j.size() - 38] ^= 1;
                                   return j;
                                 },
                                 JournalError::BadChecksum},
                      DefectCase{"GarbageAfterTheEnd",
                                 [](const std::string& j) { return j + EncodeFinish(1) + "x"; },
                                 JournalError::Malformed},
                      DefectCase{"MoreRenamedThanSteps",
                                 [](const std::string& j) { return j + EncodeFinish(6); },
                                 JournalError::Malformed}),
    [](const ::testing::TestParamInfo<DefectCase>& info) { return info.param.name; });

// The finish record is written after the run; cut off while being written, it leaves the run
// cut off, and the journal still serves.
TEST(JournalFormat, ATornFinishRecordCountsAsNone) {
  const std::string journal = EncodeJournal(HostileRun());
  const std::string finish = EncodeFinish(2);
  for (size_t size = 0; size < finish.size(); ++size) {
    const Result<JournaledRun> decoded = DecodeJournal(journal + finish.substr(0, size));
    ASSERT_TRUE(decoded) << size;
    EXPECT_FALSE(decoded->renamed) << size;
  }
  const Result<JournaledRun> zeroed = DecodeJournal(journal + std::string(finish.size(), '\0'));
  ASSERT_TRUE(zeroed);
  EXPECT_FALSE(zeroed->renamed);
}

}  // namespace

}  // namespace zul
