#include "core/apply_run.h"

#include <gtest/gtest.h>

#include "core/file_rows.h"
#include "core/run_journal.h"
#include "platform/linux_journal_folder.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/fake_journal_folder.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

using Op = FakeFileSystem::Op;

// Answers the roll-back question as told and records what it was asked.
class Answering : public RunObserver {
 public:
  Answering(bool rollBack, size_t cancelAt) : m_rollBack(rollBack), m_cancelAt(cancelAt) {}
  bool Renaming(size_t done, size_t) override { return done != m_cancelAt; }
  bool ShouldRollBack(const RenamePlan&, const RunOutcome&) override {
    ++asked;
    return m_rollBack;
  }
  void RollingBack(size_t, size_t) override {}
  int asked = 0;

 private:
  bool m_rollBack;
  size_t m_cancelAt;
};

struct ApplyCase {
  const char* name;
  const char* failOn;  // the old name whose rename fails with EEXIST, or ""
  size_t cancelAt;     // the step before which the user cancels, or SIZE_MAX
  bool rollBack;
  int asked;
  size_t leftRenamed;
  std::optional<size_t> journalRenamed;  // as the finished journal says
  const char* summary;
};

class ApplyCases : public ::testing::TestWithParam<ApplyCase> {
 protected:
  void SetUp() override {
    m_disk.AddFolder("/d");
    for (const char* name : {"a", "b", "c"}) m_disk.AddFile(std::string("/d/") + name);
  }
  MemoryFileSystem m_disk;
  FakeFileSystem m_files{m_disk};
  TempFolder m_temp;
  LinuxJournalFolder m_journals{m_temp.Path("state/zul")};
};

// What is left renamed, what the journal records as the run to undo, and the one line that says
// so; a run that left nothing renamed never becomes the one "Rückgängig" undoes.
TEST_P(ApplyCases, LeavesTheJournalAndTheSummaryOfWhatIsLeft) {
  const ApplyCase& c = GetParam();
  if (*c.failOn) m_files.FailOn(Op::RenameInFolder, c.failOn, EEXIST);
  const RenamePlan plan = {{"/d", "a", "a2"}, {"/d", "b", "b2"}, {"/d", "c", "c2"}};
  Answering observer(c.rollBack, c.cancelAt);
  const ApplyOutcome outcome = ApplyPlan(plan, {}, m_files, m_journals, observer);
  ASSERT_TRUE(outcome.Started());
  EXPECT_FALSE(outcome.finishError);
  EXPECT_EQ(observer.asked, c.asked);
  EXPECT_EQ(outcome.LeftRenamed(), c.leftRenamed);
  EXPECT_EQ(outcome.RenamedSteps().size(), c.leftRenamed);
  EXPECT_EQ(outcome.undoable.has_value(), c.leftRenamed > 0);
  EXPECT_EQ(ApplySummary(plan, outcome), c.summary);
  const Result<int> last = m_journals.Open(kLastJournal);
  // A run that left nothing renamed does not become the last run: its journal is gone.
  ASSERT_EQ(last.ok(), c.journalRenamed > 0);
  if (!last) return;
  const Result<JournaledRun> journal = ReadJournal(m_journals, *last);
  m_journals.Close(*last);
  ASSERT_TRUE(journal);
  EXPECT_EQ(journal->renamed, c.journalRenamed);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ApplyCases,
    ::testing::Values(
        ApplyCase{"AllRenamed", "", SIZE_MAX, false, 0, 3, 3, "3 Dateien umbenannt."},
        ApplyCase{"FailedAndRolledBack", "c", SIZE_MAX, true, 1, 0, 0,
                  "Keine Datei umbenannt, Fehler bei „c“: Die bereits umbenannten 2 Dateien "
                  "wurden zurückbenannt."},
        ApplyCase{"FailedAndKept", "c", SIZE_MAX, false, 1, 2, 2,
                  "2 von 3 Dateien umbenannt, Fehler bei „c“."},
        ApplyCase{"FirstFailsNothingToRollBack", "a", SIZE_MAX, true, 1, 0, 0,
                  "Keine Datei umbenannt, Fehler bei „a“."},
        ApplyCase{"CancelledAndKept", "", 1, false, 1, 1, 1,
                  "1 von 3 Dateien umbenannt, abgebrochen."},
        ApplyCase{"CancelledBeforeTheFirstAsksNothing", "", 0, true, 0, 0, 0,
                  "Keine Datei umbenannt, abgebrochen."}),
    [](const ::testing::TestParamInfo<ApplyCase>& info) { return info.param.name; });

TEST(ApplyPlan, AJournalThatCannotBeWrittenRenamesNothing) {
  MemoryFileSystem disk;
  disk.AddFolder("/d");
  disk.AddFile("/d/a");
  FakeFileSystem files{disk};
  TempFolder temp;
  LinuxJournalFolder real{temp.Path("state/zul")};
  FakeJournalFolder journals{real};
  journals.FailAll(FakeJournalFolder::Op::Create, EROFS);
  Answering observer(true, SIZE_MAX);
  const RenamePlan plan = {{"/d", "a", "b"}};
  const ApplyOutcome outcome = ApplyPlan(plan, {}, files, journals, observer);
  EXPECT_FALSE(outcome.Started());
  EXPECT_EQ(files.Calls(Op::RenameInFolder), 0);
  EXPECT_TRUE(disk.Exists("/d/a"));
}

// An error of the source file is blamed on the source, any other on the target.
TEST(FailureText, BlamesThePathTheErrorBelongsTo) {
  for (const auto& [error, blamed] : {std::pair{ENOENT, "QUELLE"}, std::pair{EPERM, "QUELLE"},
                                      std::pair{EEXIST, "ZIEL"}, std::pair{ENAMETOOLONG, "ZIEL"}}) {
    const RunOutcome run{0, ErrnoCode(error), false};
    const std::string text = FailureText(run, "QUELLE", "ZIEL");
    EXPECT_NE(text.find(blamed), std::string::npos) << error << ": " << text;
  }
}

// The rows follow their files by step where they are still in the plan's order, by folder and
// name where they moved since, and a row whose file was not renamed keeps its name.
TEST(FollowRenames, RowsFollowTheirFilesWhereverTheyAre) {
  FileRows rows;
  for (const char* name : {"a", "b", "c"}) rows.Append("/d", name, std::nullopt);
  rows.Append("/e", "a", std::nullopt);
  const RenamePlan plan = {
      {"/d", "a", "a2"}, {"/d", "b", "b2"}, {"/d", "c", "c2"}, {"/e", "a", "x"}};
  EXPECT_EQ(rows.FollowRenames(plan, {0, 3}, false), 2);
  EXPECT_EQ(rows.Text(0, ColOldName), "a2");
  EXPECT_EQ(rows.Text(0, ColNewName), "a2");
  EXPECT_EQ(rows.Text(1, ColOldName), "b");
  EXPECT_EQ(rows.Text(3, ColOldName), "x");

  rows.Reorder({3, 2, 1, 0});  // /e/x, c, b, a2
  EXPECT_EQ(rows.FollowRenames(plan, {3, 0}, true), 2);
  EXPECT_EQ(rows.Text(0, ColOldName), "a");
  EXPECT_EQ(rows.Text(0, ColDirectory), "/e");
  EXPECT_EQ(rows.Text(3, ColOldName), "a");
  EXPECT_EQ(rows.Text(3, ColDirectory), "/d");
  EXPECT_EQ(rows.FollowRenames(plan, {1}, true), 0) << "b2 is no row's name";
}

}  // namespace

}  // namespace zul
