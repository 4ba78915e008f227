#include "core/run_journal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include <gtest/gtest.h>

#include "platform/linux_journal_folder.h"
#include "platform/testing/fake_journal_folder.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

using Op = FakeJournalFolder::Op;

JournaledRun SmallRun(int64_t started) {
  JournaledRun run;
  run.started = started;
  run.plan = {{"/d", "a", "a2"}, {"/d", "b", "b2"}};
  run.identities = {{1, 10}, {1, 11}};
  return run;
}

class RunJournalTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    EXPECT_FALSE(m_real.List(names));
    std::erase(names, std::string(kRunLockFile));
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Content(const std::string& name) { return m_temp.Read("state/zul/" + name); }

  TempFolder m_temp;
  LinuxJournalFolder m_real{m_temp.Path("state/zul")};
  FakeJournalFolder m_folder{m_real};
};

TEST_F(RunJournalTest, ARunInProgressIsLockedACutOffOneIsFoundAFinishedOneIsTheLast) {
  Result<RunJournal> journal = RunJournal::Begin(m_folder, SmallRun(100));
  ASSERT_TRUE(journal) << journal.error().message();
  struct stat info {};
  ASSERT_EQ(stat(m_temp.Path("state").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u) << "the state folder is the user's alone";
  ASSERT_EQ(Names().size(), 1u);
  const std::string name = Names()[0];
  EXPECT_TRUE(name.starts_with("run-100-")) << name;
  EXPECT_GE(m_folder.Calls(Op::Sync), 1);

  EXPECT_TRUE(ScanJournals(m_folder).cutOff.empty()) << "another program's run is going on";
  // What a run killed meanwhile leaves behind.
  m_temp.Put("state/zul/run-150-2-a.zjl", EncodeJournal(SmallRun(150)));

  JournalScan scan = ScanJournals(m_folder);
  ASSERT_EQ(scan.cutOff.size(), 1u);
  EXPECT_NE(scan.cutOff[0].Name(), name);
  EXPECT_EQ(scan.cutOff[0].Run().plan[1].to, "b2");
  EXPECT_FALSE(scan.cutOff[0].Run().renamed);
  EXPECT_TRUE(ScanJournals(m_folder).cutOff.empty()) << "taken by the first scan";
  scan.cutOff[0].Drop();
  EXPECT_EQ(Names(), std::vector<std::string>{name});

  EXPECT_FALSE(journal->Finish(1));
  EXPECT_EQ(Names(), std::vector<std::string>{kLastJournal});
  Result<JournaledRun> last = DecodeJournal(Content(kLastJournal));
  ASSERT_TRUE(last);
  EXPECT_EQ(last->renamed, 1u);

  Result<RunJournal> next = RunJournal::Begin(m_folder, SmallRun(200));
  ASSERT_TRUE(next);
  EXPECT_FALSE(next->Finish(2));
  EXPECT_EQ(Names(), std::vector<std::string>{kLastJournal}) << "the next run's replaces it";
  EXPECT_EQ(DecodeJournal(Content(kLastJournal))->started, 200);

  // One that failed and was rolled back, or renamed nothing, leaves the last run the last.
  Result<RunJournal> rolledBack = RunJournal::Begin(m_folder, SmallRun(300));
  ASSERT_TRUE(rolledBack);
  EXPECT_FALSE(rolledBack->Finish(0));
  EXPECT_EQ(Names(), std::vector<std::string>{kLastJournal});
  EXPECT_EQ(DecodeJournal(Content(kLastJournal))->started, 200);
}

// A second run waits a moment for the first, then fails and can tell who holds the folder; a
// run that ends, however it ends, lets the next one in.
TEST_F(RunJournalTest, OneRunAtATime) {
  Result<RunJournal> first = RunJournal::Begin(m_folder, SmallRun(100));
  ASSERT_TRUE(first);
  const Result<RunJournal> second = RunJournal::Begin(m_folder, SmallRun(200));
  ASSERT_FALSE(second);
  EXPECT_EQ(second.error(), MakeErrorCode(JournalError::Busy));
  const std::optional<RunHolder> holder = RunLockHolder(m_folder);
  ASSERT_TRUE(holder);
  EXPECT_EQ(holder->process, getpid());
  EXPECT_FALSE(holder->program.empty());
  EXPECT_EQ(Names().size(), 1u) << "the second run left nothing";
  EXPECT_EQ(RunLock::Take(m_folder, std::chrono::milliseconds(0)).error(),
            MakeErrorCode(JournalError::Busy))
      << "an undo waits as well";
  EXPECT_FALSE(first->Finish(1));
  EXPECT_TRUE(RunJournal::Begin(m_folder, SmallRun(300)));
}

// While the run goes on, its journal's time of last write follows it, so that the journal of a
// run cut off tells how late the run can have renamed.
TEST_F(RunJournalTest, ACutOffJournalBoundsTheTimeOfItsRenames) {
  Result<RunJournal> journal = RunJournal::Begin(m_folder, SmallRun(100));
  ASSERT_TRUE(journal);
  const std::string name = Names()[0];
  const Result<int> file = m_real.Open(name);
  ASSERT_TRUE(file);
  const int64_t begun = m_real.Modified(*file).value();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  EXPECT_GT(m_real.Modified(*file).value(), begun) << "kept fresh by the heartbeat";
  const Result<JournaledRun> cutOff = ReadJournal(m_real, *file);
  ASSERT_TRUE(cutOff);
  EXPECT_EQ(cutOff->renamedBy, m_real.Modified(*file).value() + kHeartbeatSlack);
  m_real.Close(*file);
}

TEST_F(RunJournalTest, CutOffRunsComeNewestFirstAndAbandonedOnesAreFoundAgain) {
  for (const int64_t started : {300, 500, 400}) {
    ASSERT_TRUE(RunJournal::Begin(m_folder, SmallRun(started)));
  }
  {
    const JournalScan scan = ScanJournals(m_folder);
    ASSERT_EQ(scan.cutOff.size(), 3u);
    EXPECT_EQ(scan.cutOff[0].Run().started, 500);
    EXPECT_EQ(scan.cutOff[2].Run().started, 300);
  }
  EXPECT_EQ(ScanJournals(m_folder).cutOff.size(), 3u);
}

TEST_F(RunJournalTest, DamagedJournalsAreSetAsideAndFinishedOnesGetTheLastName) {
  ASSERT_FALSE(m_real.Prepare());
  const std::string whole = EncodeJournal(SmallRun(100));
  m_temp.Put("state/zul/run-1-1-a.zjl", whole.substr(0, whole.size() - 1));
  m_temp.Put("state/zul/run-2-1-a.zjl", whole + EncodeFinish(2));
  m_temp.Put("state/zul/.run-3-1-a.zjl", "half written");
  m_temp.Put("state/zul/notes.txt", "not ours");
  const JournalScan scan = ScanJournals(m_folder);
  EXPECT_TRUE(scan.cutOff.empty());
  ASSERT_EQ(scan.damaged.size(), 1u);
  EXPECT_EQ(scan.damaged[0].name, "run-1-1-a.zjl.damaged");
  EXPECT_EQ(scan.damaged[0].defect, MakeErrorCode(JournalError::Truncated));
  EXPECT_EQ(Names(), (std::vector<std::string>{".run-3-1-a.zjl", kLastJournal, "notes.txt",
                                               "run-1-1-a.zjl.damaged"}));
  EXPECT_EQ(DecodeJournal(Content(kLastJournal))->renamed, 2u);
  EXPECT_TRUE(ScanJournals(m_folder).damaged.empty()) << "reported once";
}

// A journal that cannot be written leaves nothing behind that a later start could take for a
// cut-off run.
TEST_F(RunJournalTest, AJournalThatCannotBeWrittenFailsAndLeavesNothing) {
  const std::pair<Op, int> failures[] = {
      {Op::Prepare, EROFS}, {Op::Create, EACCES}, {Op::Write, ENOSPC},
      {Op::Sync, EIO},      {Op::Rename, EDQUOT},
  };
  for (const auto& [op, error] : failures) {
    SCOPED_TRACE(static_cast<int>(op));
    m_folder.Reset();
    m_folder.FailAll(op, error);
    const Result<RunJournal> journal = RunJournal::Begin(m_folder, SmallRun(100));
    ASSERT_FALSE(journal);
    EXPECT_EQ(journal.error().value(), error);
    EXPECT_TRUE(Names().empty());
  }
}

// The renames are done: their journal stays, as a cut-off run's, so that they can be undone.
TEST_F(RunJournalTest, AJournalThatCannotBeMarkedFinishedStaysAndSaysWhy) {
  const std::pair<Op, int> failures[] = {
      {Op::Write, ENOSPC}, {Op::Sync, EIO}, {Op::Rename, EDQUOT}};
  for (const auto& [op, error] : failures) {
    SCOPED_TRACE(static_cast<int>(op));
    m_folder.Reset();
    Result<RunJournal> journal = RunJournal::Begin(m_folder, SmallRun(100));
    ASSERT_TRUE(journal);
    m_folder.FailAll(op, error);
    EXPECT_EQ(journal->Finish(2).value(), error);
    m_folder.Reset();
    // As a cut-off run's, or where the finish record made it to the disk, as the last run.
    JournalScan scan = ScanJournals(m_folder);
    if (op == Op::Write) {
      ASSERT_EQ(scan.cutOff.size(), 1u);
      EXPECT_EQ(scan.cutOff[0].Run().plan.size(), 2u);
      scan.cutOff[0].Drop();
    } else {
      EXPECT_TRUE(scan.cutOff.empty());
      EXPECT_EQ(Names(), std::vector<std::string>{kLastJournal});
      ASSERT_FALSE(m_real.Remove(kLastJournal));
    }
  }
}

// A journal far longer than its records can be (a sparse file of a hundred gigabytes) is read
// no further than its records, and set aside.
TEST_F(RunJournalTest, AHugeJournalIsSetAsideUnread) {
  ASSERT_FALSE(m_real.Prepare());
  m_temp.Put("state/zul/run-1-1-a.zjl", EncodeJournal(SmallRun(100)));
  ASSERT_EQ(truncate(m_temp.Path("state/zul/run-1-1-a.zjl").c_str(), int64_t{100} << 30), 0);
  const JournalScan scan = ScanJournals(m_folder);
  EXPECT_TRUE(scan.cutOff.empty());
  ASSERT_EQ(scan.damaged.size(), 1u);
  EXPECT_EQ(scan.damaged[0].defect, MakeErrorCode(JournalError::Malformed));
  EXPECT_EQ(Names(), std::vector<std::string>{"run-1-1-a.zjl.damaged"});
  EXPECT_LE(m_folder.Calls(Op::Read), 2);
}

}  // namespace

}  // namespace zul
