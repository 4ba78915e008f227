#include "core/run_undo.h"

#include <chrono>
#include <functional>
#include <thread>

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

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// What may stand under a renamed file's new name when the undo comes, and whether it is the
// file the run renamed.
struct ProofCase {
  const char* name;
  bool listingRecord;  // the journal has no birth time, as from a folder's listing
  bool birthTimes;     // the file system reports birth times
  std::function<void(MemoryFileSystem&)> since;
  bool renamedBack;
};

class UndoProof : public RunUndoTest, public ::testing::WithParamInterface<ProofCase> {};

TEST_P(UndoProof, OnlyTheFileTheRunRenamedIsRenamedBack) {
  if (!GetParam().birthTimes) m_disk.ForgetBirthTimes();
  JournaledRun run = Journal({{"/d", "a", "O_a"}, {"/d", "b", "O_b"}});
  if (GetParam().listingRecord) {
    for (FileIdentity& identity : run.identities) identity.birth = 0;
  }
  ASSERT_TRUE(RunPlan(run.plan, m_files).Finished(run.plan));
  run.renamed = 2;
  run.renamedBy = Now();
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  GetParam().since(m_disk);

  const UndoOutcome undone = UndoRun(run, m_files);
  EXPECT_EQ(undone.restored.size(), GetParam().renamedBack ? 2u : 1u);
  ExpectOriginal("/d/b");
  if (GetParam().renamedBack) {
    EXPECT_TRUE(m_disk.Exists("/d/a"));
    return;
  }
  ASSERT_EQ(undone.unrestored.size(), 1u);
  EXPECT_EQ(undone.unrestored[0].step, 0u);
  EXPECT_TRUE(m_disk.Exists("/d/O_a")) << "left alone";
  EXPECT_FALSE(m_disk.Exists("/d/a"));
}

const auto kRecreate = [](MemoryFileSystem& disk) { disk.Recreate("/d/O_a", "a new file"); };
const auto kTouch = [](MemoryFileSystem& disk) { disk.Touch("/d/O_a"); };
const auto kNothing = [](MemoryFileSystem&) {};

INSTANTIATE_TEST_SUITE_P(
    Cases, UndoProof,
    ::testing::Values(ProofCase{"ListingRecordNewFileSameInode", true, true, kRecreate, false},
                      ProofCase{"RecordedBirthNewFileSameInode", false, true, kRecreate, false},
                      ProofCase{"NoBirthTimesNewFileSameInode", true, false, kRecreate, false},
                      ProofCase{"NoBirthTimesChangedSince", true, false, kTouch, false},
                      ProofCase{"ListingRecordChangedSince", true, true, kTouch, true},
                      ProofCase{"ListingRecordUntouched", true, true, kNothing, true},
                      ProofCase{"NoBirthTimesUntouched", true, false, kNothing, true}),
    [](const ::testing::TestParamInfo<ProofCase>& info) { return info.param.name; });

// On an overlay whose layers lie on different file systems, a file's device is not its
// folder's, and its first rename copies it up with a new birth time: it is still the file.
TEST_F(RunUndoTest, AnOverlaysFilesAreRenamedBack) {
  m_files.ActAsOverlay();
  JournaledRun run = Journal({{"/d", "a", "a2"}, {"/d", "b", "b2"}, {"/e", "x", "y"}});
  ASSERT_TRUE(RunPlan(run.plan, m_files).Finished(run.plan));
  run.renamed = 3;
  run.renamedBy = Now();
  EXPECT_EQ(CountRenamed(run, m_files), 3u);
  const UndoOutcome undone = UndoRun(run, m_files);
  EXPECT_EQ(undone.restored.size(), 3u);
  EXPECT_TRUE(undone.unrestored.empty());
  for (const char* path : {"/d/a", "/d/b", "/e/x"}) ExpectOriginal(path);
}

// A damaged or hostile journal's step that would leave its folder is reported, not skipped.
TEST_F(RunUndoTest, StepsWithNamesThatLeaveTheFolderAreCounted) {
  JournaledRun run = Journal({{"/d", "a", "a2"}});
  ASSERT_TRUE(RunPlan(run.plan, m_files).Finished(run.plan));
  run.plan.push_back({"/d", "../e/x", "z"});
  run.plan.push_back({"/d", "c", ".."});
  run.identities.resize(3, FileIdentity{7, 99, 1});
  const UndoOutcome undone = UndoRun(run, m_files);
  EXPECT_EQ(undone.restored, std::vector<size_t>{0});
  ASSERT_EQ(undone.unrestored.size(), 2u);
  for (const Unrestored& entry : undone.unrestored)
    EXPECT_EQ(entry.error, MakeErrorCode(JournalError::BadName));
  ExpectOriginal("/e/x");
  ExpectOriginal("/d/c");
}

}  // namespace

}  // namespace zul
