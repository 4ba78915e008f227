#include "core/plan_check.h"

#include <algorithm>
#include <chrono>

#include <gtest/gtest.h>

#include "core/folder_walk.h"
#include "core/plan_check_text.h"
#include "core/rename_run.h"
#include "engine/gcc_restrict_bug.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

// Strings built from short literals all through these tests.
ZUL_GCC_RESTRICT_BUG_BEGIN

namespace {

using Op = FakeFileSystem::Op;
using Issues = std::vector<StepIssue>;
using I = StepIssue;

const std::string kNul("a\0b", 3);

// Folders: /d and /e as on Linux, /ci ignoring letter case (a USB stick), /short with names of
// at most 8 bytes.
class PlanCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_disk.AddFolder("/d");
    m_disk.AddFolder("/e");
    m_disk.AddFolder("/ci", /*ignoresCase=*/true);
    m_disk.AddFolder("/short", false, 8);
  }
  void Make(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) m_disk.AddFile(path, "content of " + path);
  }

  MemoryFileSystem m_disk;
  FakeFileSystem m_files{m_disk};
};

struct CheckCase {
  const char* name;
  std::vector<std::string> files;
  RenamePlan plan;
  Issues expected;
};

class CheckCases : public PlanCheckTest, public ::testing::WithParamInterface<CheckCase> {};

// Each plan is checked, then run: the run must stop exactly at the first step the check marks
// as a conflict, and finish where it marks none. The check itself reads only.
TEST_P(CheckCases, MarksWhatTheRunWillMeet) {
  const CheckCase& c = GetParam();
  Make(c.files);
  EXPECT_EQ(CheckPlan(c.plan, m_files), c.expected);
  EXPECT_EQ(m_files.Calls(Op::RenameInFolder), 0);

  // The first row of a duplicate is marked too, naming the later one, where the run fails.
  const std::vector<StepCheck> checks = CheckSteps(c.plan, m_files);
  const auto failsHere = [&](size_t i) {
    return IsConflict(checks[i].issue) &&
           !(checks[i].issue == StepIssue::DuplicateName && checks[i].other > i);
  };
  size_t firstConflict = 0;
  while (firstConflict < checks.size() && !failsHere(firstConflict)) ++firstConflict;
  const RunOutcome outcome = RunPlan(c.plan, m_files);
  EXPECT_EQ(outcome.renamed, firstConflict) << "the run stops where the check says";
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CheckCases,
    ::testing::Values(
        CheckCase{
            "Clean", {"/d/a", "/d/b"}, {{"/d", "a", "a2"}, {"/d", "b", "b2"}}, {I::None, I::None}},
        CheckCase{"UnchangedNameIsNoConflict", {"/d/a"}, {{"/d", "a", "a"}}, {I::None}},
        CheckCase{"Duplicate",
                  {"/d/a", "/d/b", "/e/c"},
                  {{"/d", "a", "x"}, {"/e", "c", "x"}, {"/d", "b", "x"}},
                  {I::DuplicateName, I::None, I::DuplicateName}},
        CheckCase{"ChainInRunningOrder",
                  {"/d/1", "/d/2"},
                  {{"/d", "2", "3"}, {"/d", "1", "2"}},
                  {I::None, I::None}},
        CheckCase{"ChainInTheOtherOrder",
                  {"/d/1", "/d/2"},
                  {{"/d", "1", "2"}, {"/d", "2", "3"}},
                  {I::TargetRenamedLater, I::None}},
        CheckCase{"Swap",
                  {"/d/a.txt", "/d/b.txt"},
                  {{"/d", "a.txt", "b.txt"}, {"/d", "b.txt", "a.txt"}},
                  {I::TargetRenamedLater, I::None}},
        CheckCase{"TargetOutsideTheList",
                  {"/d/a", "/d/taken", "/e/a"},
                  {{"/e", "a", "taken"}, {"/d", "a", "taken"}},
                  {I::None, I::TargetExists}},
        CheckCase{"TargetKeptByAnUnchangedRow",
                  {"/d/a", "/d/b"},
                  {{"/d", "a", "a"}, {"/d", "b", "a"}},
                  {I::None, I::TargetExists}},
        CheckCase{"InvalidNamesComeFirst",
                  {"/d/a"},
                  {{"/d", "ghost", ""},
                   {"/d", "a", "."},
                   {"/d", "a", ".."},
                   {"/d", "a", "x/y"},
                   {"/d", "a", kNul},
                   {"/gone", "x", "../x"}},
                  {I::NameInvalid, I::NameInvalid, I::NameInvalid, I::NameInvalid, I::NameInvalid,
                   I::NameInvalid}},
        CheckCase{"NameLimitOfTheFolder",
                  {"/short/a", "/short/b", "/d/c"},
                  {{"/short", "a", "12345678"},
                   {"/short", "b", "123456789"},
                   {"/d", "c", std::string(256, 'n')}},
                  {I::None, I::NameTooLong, I::NameTooLong}},
        CheckCase{"LongestNameFits", {"/d/c"}, {{"/d", "c", std::string(255, 'n')}}, {I::None}},
        CheckCase{"SourceGone",
                  {"/d/a"},
                  {{"/d", "a", "a2"}, {"/d", "ghost", "g2"}, {"/gone", "x", "y"}},
                  {I::None, I::SourceMissing, I::FolderMissing}},
        CheckCase{"SourceListedTwice",
                  {"/d/a"},
                  {{"/d", "a", "a2"}, {"/d", "a", "a3"}},
                  {I::None, I::SourceRenamedEarlier}},
        CheckCase{"MissingSourceBeforeDuplicate",
                  {"/d/a"},
                  {{"/d", "a", "x"}, {"/d", "ghost", "x"}},
                  {I::None, I::SourceMissing}},
        CheckCase{"FreedByAnEarlierRow",
                  {"/d/a", "/d/b"},
                  {{"/d", "a", "a2"}, {"/d", "b", "a"}},
                  {I::None, I::None}},
        CheckCase{"CaseOnlyRenameWhereCaseIsIgnored",
                  {"/ci/foto.jpg"},
                  {{"/ci", "foto.jpg", "FOTO.JPG"}},
                  {I::None}},
        CheckCase{"OtherCaseIsTheSameNameWhereCaseIsIgnored",
                  {"/ci/a", "/ci/b", "/ci/c", "/ci/Taken"},
                  {{"/ci", "a", "X"}, {"/ci", "b", "x"}, {"/ci", "c", "tAKEN"}},
                  {I::DuplicateName, I::DuplicateName, I::TargetExists}},
        CheckCase{"ACaseOnlyRenameFreesNothing",
                  {"/ci/a", "/ci/c"},
                  {{"/ci", "a", "A"}, {"/ci", "c", "a"}},
                  {I::None, I::TargetExists}},
        CheckCase{"FreedInOtherCaseWhereCaseIsIgnored",
                  {"/ci/Alt", "/ci/b"},
                  {{"/ci", "alt", "neu"}, {"/ci", "b", "ALT"}},
                  {I::None, I::None}},
        CheckCase{"CaseCountsInAnOrdinaryFolder",
                  {"/d/foto.jpg", "/d/FOTO.JPG", "/d/x"},
                  {{"/d", "x", "X"}, {"/d", "foto.jpg", "FOTO.JPG"}},
                  {I::None, I::TargetExists}},
        CheckCase{"HiddenIsOnlyAWarning",
                  {"/d/a", "/d/.b"},
                  {{"/d", "a", ".a"}, {"/d", ".b", ".c"}},
                  {I::BecomesHidden, I::None}},
        CheckCase{"NamesAreBytes",
                  {"/d/x\xff\n", "/d/y\xfe"},
                  {{"/d", "x\xff\n", "z\xfe\n"}, {"/d", "y\xfe", "z\xfe\n"}},
                  {I::DuplicateName, I::DuplicateName}},
        CheckCase{"RootFolder", {"/r"}, {{"", "r", "r2"}}, {I::None}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

// Between the recomputation and the check, folders may vanish or stop being readable.
struct FaultCase {
  const char* name;
  Op op;
  const char* where;
  int error;
  Issues expected;
};

class CheckFaults : public PlanCheckTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CheckFaults, MarkTheRowsOfThatFolderOnly) {
  Make({"/d/a", "/e/b", "/ci/c"});
  const FaultCase& c = GetParam();
  m_files.FailOn(c.op, c.where, c.error);
  const RenamePlan plan = {
      {"/d", "a", "a2"}, {"/e", "b", "b2"}, {"/ci", "c", "c2"}, {"/e", "b", ""}};
  EXPECT_EQ(CheckPlan(plan, m_files), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CheckFaults,
    ::testing::Values(FaultCase{"FolderGone",
                                Op::OpenFolder,
                                "/e",
                                ENOENT,
                                {I::None, I::FolderMissing, I::None, I::NameInvalid}},
                      FaultCase{"FolderNotOpenable",
                                Op::OpenFolder,
                                "/e",
                                EACCES,
                                {I::None, I::FolderUnreadable, I::None, I::NameInvalid}},
                      FaultCase{"FolderNotListable",
                                Op::ListNamesInFolder,
                                "/e",
                                EACCES,
                                {I::None, I::FolderUnreadable, I::None, I::NameInvalid}},
                      FaultCase{"SourceLookupFails",
                                Op::IdentifyInFolder,
                                "c",
                                EIO,
                                {I::None, I::None, I::FolderUnreadable, I::NameInvalid}},
                      FaultCase{"TargetLookupFails",
                                Op::IdentifyInFolder,
                                "c2",
                                EACCES,
                                {I::None, I::None, I::FolderUnreadable, I::NameInvalid}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST_F(PlanCheckTest, AFolderRemovedAfterTheRowsWereMadeIsMissing) {
  m_disk.AddFolder("/e/sub");
  Make({"/e/sub/a", "/d/a"});
  const RenamePlan plan = {{"/e/sub", "a", "b"}, {"/d", "a", "b"}};
  m_disk.Remove("/e/sub");
  EXPECT_EQ(CheckPlan(plan, m_files), (Issues{I::FolderMissing, I::None}));
}

// A folder with far more files than rows is not read whole; names beyond what was read must
// still count.
TEST_F(PlanCheckTest, AFolderWithManyMoreFilesThanRowsIsStillCheckedFully) {
  m_disk.AddFolder("/big");
  for (int i = 0; i < 500; ++i) Make({"/big/f" + std::to_string(i)});
  const RenamePlan plan = {{"/big", "f0", "f499"}, {"/big", "f1", "neu"}, {"/big", "f2", "f499"}};
  EXPECT_EQ(CheckPlan(plan, m_files), (Issues{I::TargetExists, I::None, I::DuplicateName}));
}

TEST_F(PlanCheckTest, ThousandsOfConflicts) {
  RenamePlan plan;
  for (int i = 0; i < 5000; ++i) {
    Make({"/d/f" + std::to_string(i)});
    plan.push_back({"/d", "f" + std::to_string(i), "gleich"});
  }
  const Issues issues = CheckPlan(plan, m_files);
  EXPECT_EQ(std::count(issues.begin(), issues.end(), I::DuplicateName), 5000);
  EXPECT_EQ(CheckSummary(issues), "5000 Konflikte: 5000 × Doppelter Name");
}

// A walk's listing stands in for a second reading of its folder only while it is recent, and only
// where names can be looked up in the folder. "c" came after the walk: a listing taken in its
// stead does not hold it (the run's rename would then refuse to replace it).
struct ListingCase {
  const char* name;
  std::chrono::milliseconds age;
  int lookupError;
  int readings;
  Issues expected;
};

class ListingCases : public PlanCheckTest, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(ListingCases, AreTakenWhileRecent) {
  const ListingCase& c = GetParam();
  Make({"/d/a", "/d/b", "/d/c"});
  if (c.lookupError) m_files.FailAll(Op::IdentifyInFolder, c.lookupError);
  const std::vector<FolderListing> walked = {
      {"/d", {"a", "b"}, std::chrono::steady_clock::now() - c.age}};
  EXPECT_EQ(CheckSteps({{"/d", "a", "c"}}, m_files, {}, walked)[0].issue, c.expected[0]);
  EXPECT_EQ(m_files.Calls(Op::ListNamesInFolder), c.readings);
}

INSTANTIATE_TEST_SUITE_P(
    Ages, ListingCases,
    ::testing::Values(
        ListingCase{"Recent", std::chrono::milliseconds(0), 0, 0, {I::None}},
        ListingCase{"Old", kRecentListing, 0, 1, {I::TargetExists}},
        ListingCase{"NotSearchable", std::chrono::milliseconds(0), EACCES, 1, {I::TargetExists}}),
    [](const ::testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

// The walk lists every name of the folder, also those that are no rows: a hidden file and a
// subfolder still block their names.
TEST_F(PlanCheckTest, AWalksListingHoldsTheNamesThatAreNoRows) {
  m_disk.AddFolder("/d/sub");
  Make({"/d/a", "/d/b", "/d/.versteckt"});
  FileRows rows;
  std::vector<FolderListing> walked;
  (void)WalkFolder(m_files, "/d", false, rows, {}, {}, &walked);
  ASSERT_EQ(walked.size(), 1u);
  const RenamePlan plan = {{"/d", "a", ".versteckt"}, {"/d", "b", "sub"}};
  EXPECT_EQ(CheckPlan(plan, m_files), (Issues{I::TargetExists, I::TargetExists}));
  m_files.Reset();
  const std::vector<StepCheck> checks = CheckSteps(plan, m_files, {}, walked);
  EXPECT_EQ(checks[0].issue, I::TargetExists);
  EXPECT_EQ(checks[1].issue, I::TargetExists);
  EXPECT_EQ(m_files.Calls(Op::ListNamesInFolder), 0);
}

struct SummaryCase {
  Issues issues;
  const char* expected;
};

class Summaries : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(Summaries, CountByReasonMostFirst) {
  EXPECT_EQ(CheckSummary(GetParam().issues), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Summaries,
    ::testing::Values(
        SummaryCase{{I::None, I::None}, ""}, SummaryCase{{}, ""},
        SummaryCase{{I::SourceMissing}, "1 Konflikt: 1 × Quelle fehlt"},
        SummaryCase{{I::DuplicateName, I::TargetExists, I::None, I::TargetRenamedLater},
                    "3 Konflikte: 2 × Ziel existiert, 1 × Doppelter Name"},
        SummaryCase{{I::FolderMissing, I::NameTooLong, I::FolderUnreadable, I::NameInvalid},
                    "4 Konflikte: 2 × Ungültiger Name, 2 × Quelle fehlt"},
        SummaryCase{{I::BecomesHidden}, "1 Warnung: 1 × Wird versteckt"},
        SummaryCase{{I::BecomesHidden, I::SourceRenamedEarlier, I::BecomesHidden},
                    "1 Konflikt: 1 × Quelle fehlt; 2 Warnungen: 2 × Wird versteckt"}));

TEST(IssueTexts, EveryIssueHasItsReasonFirst) {
  for (int i = 1; i <= static_cast<int>(StepIssue::BecomesHidden); ++i) {
    const auto issue = static_cast<StepIssue>(i);
    const std::string label = IssueKindLabel(KindOf(issue));
    EXPECT_EQ(std::string(IssueText(issue)).rfind(label + ": ", 0), 0u) << i;
  }
  EXPECT_STREQ(IssueText(StepIssue::None), "");
}

}  // namespace

ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
