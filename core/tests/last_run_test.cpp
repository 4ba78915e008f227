#include "core/last_run.h"

#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/linux_journal_folder.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/fake_journal_folder.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

class LastRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"/old", "/new"}) {
      m_disk.AddFolder(folder);
      for (const char* name : {"a", "b", "c"})
        m_disk.AddFile(std::string(folder) + "/" + name, name);
    }
  }

  JournaledRun Run(int64_t started, const char* folder) {
    JournaledRun run;
    run.started = started;
    run.plan = {{folder, "a", "a2"}, {folder, "b", "b2"}, {folder, "c", "c2"}};
    run.identities = IdentifyFiles(run.plan, m_files);
    return run;
  }
  // A run that ends (or, with `cutAfter`, is killed after that many renames).
  void Apply(const JournaledRun& run, std::optional<size_t> cutAfter = std::nullopt) {
    Result<RunJournal> journal = RunJournal::Begin(m_journals, run);
    ASSERT_TRUE(journal);
    const RunOutcome outcome =
        RunPlan(run.plan, m_files, [&](size_t done) { return !cutAfter || done < *cutAfter; });
    if (!cutAfter) {
      EXPECT_FALSE(journal->Finish(outcome.renamed));
    }
  }
  std::vector<std::string> JournalNames() {
    std::vector<std::string> names;
    EXPECT_FALSE(m_real.List(names));
    std::erase(names, std::string(kRunLockFile));
    std::sort(names.begin(), names.end());
    return names;
  }

  MemoryFileSystem m_disk;
  FakeFileSystem m_files{m_disk};
  TempFolder m_temp;
  LinuxJournalFolder m_real{m_temp.Path("zul")};
  FakeJournalFolder m_journals{m_real};
};

// A run killed after an ended one is the one undone, and its journal goes once all is back.
TEST_F(LastRunTest, ACutOffRunAfterTheLastIsRecovered) {
  Apply(Run(100, "/old"));
  Apply(Run(200, "/new"), 2);
  const LastRunUndo undo = UndoLastRun(m_journals, m_files);
  ASSERT_EQ(undo.status, LastRunUndo::Status::Done);
  EXPECT_TRUE(undo.cutOff);
  EXPECT_EQ(undo.outcome.restored, (std::vector<size_t>{1, 0}));
  EXPECT_TRUE(undo.outcome.unrestored.empty());
  EXPECT_EQ(m_disk.Names("/new"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(m_disk.Names("/old"), (std::vector<std::string>{"a2", "b2", "c2"}))
      << "the older run is left alone";
  EXPECT_EQ(JournalNames(), std::vector<std::string>{kLastJournal});

  const LastRunUndo next = UndoLastRun(m_journals, m_files);
  ASSERT_EQ(next.status, LastRunUndo::Status::Done);
  EXPECT_FALSE(next.cutOff);
  EXPECT_EQ(next.outcome.restored.size(), 3u);
  EXPECT_TRUE(JournalNames().empty()) << "undone, it is no longer the last run";
  EXPECT_EQ(UndoLastRun(m_journals, m_files).status, LastRunUndo::Status::NoRun);
}

// The disk was full when the run ended: its journal stays, and undoes it.
TEST_F(LastRunTest, ARunWhoseJournalCouldNotBeFinishedIsUndone) {
  Apply(Run(100, "/old"));
  const JournaledRun run = Run(200, "/new");
  {
    Result<RunJournal> journal = RunJournal::Begin(m_journals, run);
    ASSERT_TRUE(journal);
    ASSERT_TRUE(RunPlan(run.plan, m_files).Finished(run.plan));
    m_journals.FailAll(FakeJournalFolder::Op::Write, ENOSPC);
    EXPECT_EQ(journal->Finish(3), std::errc::no_space_on_device);
    m_journals.Reset();
  }
  const LastRunUndo undo = UndoLastRun(m_journals, m_files);
  ASSERT_EQ(undo.status, LastRunUndo::Status::Done);
  EXPECT_EQ(undo.outcome.restored.size(), 3u);
  EXPECT_EQ(m_disk.Names("/new"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(m_disk.Names("/old"), (std::vector<std::string>{"a2", "b2", "c2"}));
}

// Files the undo cannot account for keep their journal: an ended run's where it was, for a
// second try; a cut-off run's set aside, so that no start asks again.
TEST_F(LastRunTest, AJournalNotActedOnWhollyIsKept) {
  for (const bool cutOff : {false, true}) {
    SCOPED_TRACE(cutOff);
    Apply(Run(cutOff ? 300 : 200, "/new"), cutOff ? std::optional<size_t>(3) : std::nullopt);
    m_disk.Remove("/new/b2");
    m_disk.AddFile("/new/a", "took the old name");
    const LastRunUndo undo = UndoLastRun(m_journals, m_files);
    ASSERT_EQ(undo.status, LastRunUndo::Status::Done);
    EXPECT_EQ(undo.outcome.restored, std::vector<size_t>{2});
    EXPECT_EQ(undo.outcome.unrestored.size(), 2u);
    EXPECT_TRUE(undo.journalKept);
    EXPECT_EQ(JournalNames(), std::vector<std::string>{undo.journal});
    EXPECT_EQ(undo.journal.ends_with(".unresolved"), cutOff) << undo.journal;
    ASSERT_FALSE(m_real.Remove(undo.journal));
    m_disk.Remove("/new/a");
    m_disk.Remove("/new/a2");
    m_disk.Remove("/new/c");
    for (const char* name : {"a", "b", "c"}) m_disk.AddFile(std::string("/new/") + name, name);
  }
}

TEST_F(LastRunTest, AnUndoWaitsForARunAndSaysWhoHoldsIt) {
  const JournaledRun run = Run(100, "/old");
  Result<RunJournal> journal = RunJournal::Begin(m_journals, run);
  ASSERT_TRUE(journal);
  const LastRunUndo undo = UndoLastRun(m_journals, m_files);
  EXPECT_EQ(undo.status, LastRunUndo::Status::Busy);
  ASSERT_TRUE(undo.holder);
  EXPECT_EQ(undo.holder->process, getpid());
  EXPECT_EQ(m_disk.Names("/old"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(journal->Finish(0));
}

// Where the folder's listing gave the identities (no birth times), a file made since under a
// renamed file's new name, with the same inode, stays as it is.
TEST_F(LastRunTest, AFileMadeAfterTheRunUnderItsNameIsNotRenamedBack) {
  JournaledRun run = Run(100, "/new");
  for (FileIdentity& identity : run.identities) identity.birth = 0;
  Apply(run);
  m_disk.Recreate("/new/a2", "written after the run");
  const LastRunUndo undo = UndoLastRun(m_journals, m_files);
  ASSERT_EQ(undo.status, LastRunUndo::Status::Done);
  EXPECT_EQ(undo.outcome.restored, (std::vector<size_t>{2, 1}));
  ASSERT_EQ(undo.outcome.unrestored.size(), 1u);
  EXPECT_EQ(undo.outcome.unrestored[0].error, MakeErrorCode(JournalError::Unproven));
  EXPECT_EQ(m_disk.Content("/new/a2"), "written after the run");
  EXPECT_TRUE(undo.journalKept);
}

}  // namespace

}  // namespace zul
