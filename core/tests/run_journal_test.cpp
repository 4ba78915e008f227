#include "core/run_journal.h"

#include <sys/stat.h>

#include <algorithm>

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
  {
    Result<RunJournal> second = RunJournal::Begin(m_folder, SmallRun(100));
    ASSERT_TRUE(second);
    EXPECT_EQ(Names().size(), 2u) << "each run has a journal of its own";
  }  // ends without Finish, as when the program is killed

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

TEST_F(RunJournalTest, AJournalThatCannotBeMarkedFinishedIsRemoved) {
  Result<RunJournal> journal = RunJournal::Begin(m_folder, SmallRun(100));
  ASSERT_TRUE(journal);
  m_folder.FailAll(Op::Write, ENOSPC);
  EXPECT_EQ(journal->Finish(2), std::errc::no_space_on_device);
  EXPECT_TRUE(Names().empty());
}

}  // namespace

}  // namespace zul
