#include "core/run_undo.h"

#include <gtest/gtest.h>

#include "core/run_journal.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

namespace {

using Op = FakeFileSystem::Op;

class RunUndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_disk.AddFolder("/d");
    m_disk.AddFolder("/e");
    for (const char* path : {"/d/a", "/d/b", "/d/c", "/d/d", "/e/x", "/d/taken"})
      m_disk.AddFile(path, std::string("content of ") + path);
  }
  // The journal of `plan` as a run writes it before its first rename.
  JournaledRun Journal(RenamePlan plan) {
    JournaledRun run;
    run.identities = IdentifyFiles(plan, m_files);
    run.plan = std::move(plan);
    return run;
  }
  void ExpectOriginal(const char* path) {
    EXPECT_EQ(m_disk.Content(path), std::string("content of ") + path);
  }

  MemoryFileSystem m_disk;
  FakeFileSystem m_files{m_disk};
};

// As after a crash: the journal says nothing of how far the run came; the disk does.
TEST_F(RunUndoTest, ACutOffRunIsUndoneExactlyAsFarAsItCame) {
  const JournaledRun run = Journal({{"/d", "a", "a2"},
                                    {"/e", "x", "y"},
                                    {"/d", "b", "b2"},
                                    {"/d", "c", "c2"},
                                    {"/d", "d", "d"},
                                    {"/d", "gone", "g2"}});
  const RunOutcome outcome = RunPlan(run.plan, m_files, [](size_t done) { return done < 3; });
  ASSERT_EQ(outcome.renamed, 3u);
  EXPECT_EQ(CountRenamed(run, m_files), 3u);

  m_files.Reset();
  std::vector<size_t> told;
  const UndoOutcome undone = UndoRun(run, m_files, [&](size_t done) { told.push_back(done); });
  EXPECT_EQ(undone.restored, (std::vector<size_t>{2, 1, 0}));
  EXPECT_TRUE(undone.unrestored.empty());
  EXPECT_EQ(told, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(m_files.Calls(Op::RenameInFolder), 3) << "untouched steps are left alone";
  for (const char* path : {"/d/a", "/e/x", "/d/b", "/d/c", "/d/d"}) ExpectOriginal(path);
  EXPECT_EQ(m_disk.Names("/d"), (std::vector<std::string>{"a", "b", "c", "d", "taken"}));
}

TEST_F(RunUndoTest, FilesChangedSinceAreReportedAndLeftAlone) {
  const JournaledRun run = Journal({{"/d", "a", "a2"},
                                    {"/e", "x", "y"},
                                    {"/d", "b", "b2"},
                                    {"/d", "c", "c2"},
                                    {"/d", "d", "d2"}});
  ASSERT_TRUE(RunPlan(run.plan, m_files).Finished(run.plan));
  m_disk.AddFile("/d/a2", "another file, same name");  // a new inode
  m_disk.Remove("/e/y");
  m_disk.AddFile("/d/b", "took the old name");
  ASSERT_FALSE(m_disk.RenameInFolder(m_disk.OpenFolder("/d").value(), "c2", "c"));  // by hand
  EXPECT_EQ(CountRenamed(run, m_files), 2u);

  const UndoOutcome undone = UndoRun(run, m_files);
  EXPECT_EQ(undone.restored, std::vector<size_t>{4});
  ASSERT_EQ(undone.unrestored.size(), 3u);
  EXPECT_EQ(undone.unrestored[0].step, 2u);
  EXPECT_EQ(undone.unrestored[0].error, std::errc::file_exists);
  EXPECT_EQ(undone.unrestored[1].step, 1u);
  EXPECT_EQ(undone.unrestored[1].error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(undone.unrestored[2].step, 0u);
  EXPECT_EQ(undone.unrestored[2].error, MakeErrorCode(JournalError::OtherFile));
  EXPECT_EQ(m_disk.Content("/d/a2"), "another file, same name");
  EXPECT_FALSE(m_disk.Exists("/d/a"));
  EXPECT_EQ(m_disk.Content("/d/b2"), "content of /d/b");
  EXPECT_EQ(m_disk.Content("/d/b"), "took the old name");
  ExpectOriginal("/d/c");
  ExpectOriginal("/d/d");
}

// After "Nein" the run ended with a prefix renamed; only that prefix is undone, last first (the
// chain b -> b2, a -> b works back in that order only), and later steps are none of its business.
TEST_F(RunUndoTest, AnEndedRunIsUndoneAsFarAsItRenamed) {
  JournaledRun run =
      Journal({{"/d", "b", "b2"}, {"/d", "a", "b"}, {"/d", "c", "taken"}, {"/d", "d", "d2"}});
  const RunOutcome outcome = RunPlan(run.plan, m_files);
  ASSERT_EQ(outcome.renamed, 2u);
  run.renamed = outcome.renamed;
  m_disk.Remove("/d/d");  // not the run's doing

  const UndoOutcome undone = UndoRun(run, m_files);
  EXPECT_EQ(undone.restored, (std::vector<size_t>{1, 0}));
  EXPECT_TRUE(undone.unrestored.empty());
  for (const char* path : {"/d/a", "/d/b", "/d/c", "/d/taken"}) ExpectOriginal(path);
  EXPECT_FALSE(m_disk.Exists("/d/b2"));
}

}  // namespace

}  // namespace zul
