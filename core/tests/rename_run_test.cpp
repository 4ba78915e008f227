#include "core/rename_run.h"

#include <gtest/gtest.h>

#include "core/file_rows.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

namespace {

using Op = FakeFileSystem::Op;

class RenameRunTest : public ::testing::Test {
 public:
  void SetUp() override {
    m_disk.AddFolder("/d");
    m_disk.AddFolder("/e");
  }
  void Make(const std::string& path) { m_disk.AddFile(path, "content of " + path); }
  std::string Read(const std::string& path) const { return m_disk.Content(path); }

  MemoryFileSystem m_disk;
  FakeFileSystem m_files{m_disk};
};

struct FailureCase {
  const char* name;
  std::function<void(RenameRunTest&)> arrange;
  RenamePlan plan;
  size_t renamed;
  int error;
};

class RunFailures : public RenameRunTest, public ::testing::WithParamInterface<FailureCase> {};

// Each kind of failure stops the run at its step, says why, and leaves the rest untouched.
TEST_P(RunFailures, StopAtTheFirstFailureAndSayWhy) {
  for (const char* path : {"/d/a", "/d/b", "/d/c", "/e/x"}) Make(path);
  const FailureCase& c = GetParam();
  if (c.arrange) c.arrange(*this);
  const RunOutcome outcome = RunPlan(c.plan, m_files);
  EXPECT_EQ(outcome.renamed, c.renamed);
  EXPECT_EQ(outcome.failure.value(), c.error);
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_FALSE(outcome.Finished(c.plan));
  if (c.error == EINVAL) {
    EXPECT_EQ(m_files.Calls(Op::RenameInFolder), static_cast<int>(c.renamed))
        << "a name that leaves its folder never reaches the disk";
  }
  for (size_t k = c.renamed + 1; k < c.plan.size(); ++k)
    EXPECT_EQ(Read(c.plan[k].FromPath()), "content of " + c.plan[k].FromPath()) << k;
}

const RenamePlan kTaken = {{"/d", "a", "a2"}, {"/d", "b", "c"}, {"/d", "c", "c2"}};

INSTANTIATE_TEST_SUITE_P(
    Kinds, RunFailures,
    ::testing::Values(
        FailureCase{"TargetExists", {}, kTaken, 1, EEXIST},
        FailureCase{"DuplicateTarget", {}, {{"/d", "a", "x"}, {"/d", "b", "x"}}, 1, EEXIST},
        FailureCase{"Swap", {}, {{"/d", "a", "b"}, {"/d", "b", "a"}}, 0, EEXIST},
        FailureCase{"SourceGone", {}, {{"/d", "a", "a2"}, {"/d", "a", "a3"}}, 1, ENOENT},
        FailureCase{"FolderGone", {}, {{"/d", "a", "a2"}, {"/gone", "x", "y"}}, 1, ENOENT},
        FailureCase{"LeavesTheFolder", {}, {{"/d", "a", "a2"}, {"/d", "b", "../b"}}, 1, EINVAL},
        FailureCase{"Empty", {}, {{"/d", "b", ""}}, 0, EINVAL},
        FailureCase{"DotDot", {}, {{"/d", "b", ".."}}, 0, EINVAL},
        FailureCase{"Nul", {}, {{"/d", "b", std::string("b\0c", 3)}}, 0, EINVAL},
        FailureCase{"TooLong",
                    {},
                    {{"/d", "a", "a2"}, {"/d", "b", std::string(256, 'n')}},
                    1,
                    ENAMETOOLONG},
        FailureCase{"AccessDenied",
                    [](RenameRunTest& t) { t.m_files.FailOn(Op::RenameInFolder, "b", EACCES); },
                    {{"/d", "a", "a2"}, {"/e", "x", "x2"}, {"/d", "b", "b2"}},
                    2,
                    EACCES}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(RenameRunTest, AChainRunsInOneOrderOnly) {
  Make("/d/1");
  Make("/d/2");
  // 2 -> 3 frees "2" for 1 -> 2; the other order finds "2" still taken.
  const RenamePlan forward = {{"/d", "2", "3"}, {"/d", "1", "2"}};
  const RenamePlan backward = {{"/d", "1", "2"}, {"/d", "2", "3"}};
  EXPECT_EQ(RunPlan(backward, m_files).failure.value(), EEXIST);
  const RunOutcome outcome = RunPlan(forward, m_files);
  EXPECT_TRUE(outcome.Finished(forward));
  EXPECT_FALSE(outcome.failure);
  EXPECT_EQ(Read("/d/3"), "content of /d/2");
  EXPECT_EQ(Read("/d/2"), "content of /d/1");
}

TEST_F(RenameRunTest, CancelStopsBeforeTheNextStep) {
  for (const char* path : {"/d/a", "/d/b", "/d/c"}) Make(path);
  const RenamePlan plan = {{"/d", "a", "a2"}, {"/d", "b", "b2"}, {"/d", "c", "c2"}};
  std::vector<size_t> told;
  const RunOutcome outcome = RunPlan(plan, m_files, [&](size_t done) {
    told.push_back(done);
    return done < 2;
  });
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.failure);
  EXPECT_EQ(outcome.renamed, 2u);
  EXPECT_EQ(told, (std::vector<size_t>{0, 1, 2}));
  EXPECT_EQ(Read("/d/c"), "content of /d/c");
}

TEST_F(RenameRunTest, RollBackGoesLastFirstAndReportsWhatStaysRenamed) {
  for (const char* path : {"/d/a", "/d/b", "/e/x"}) Make(path);
  // Undone in forward order, a2 -> a would fail: "a" is free only once b's rename is undone.
  const RenamePlan plan = {{"/d", "a", "a2"}, {"/d", "b", "a"}, {"/e", "x", "y"}};
  ASSERT_TRUE(RunPlan(plan, m_files).Finished(plan));
  m_files.FailOn(Op::RenameInFolder, "y", EIO);
  std::vector<size_t> told;
  const std::vector<Unrestored> unrestored =
      RollBack(plan, plan.size(), m_files, [&](size_t done) { told.push_back(done); });
  ASSERT_EQ(unrestored.size(), 1u);
  EXPECT_EQ(unrestored[0].step, 2u);
  EXPECT_EQ(unrestored[0].error.value(), EIO);
  EXPECT_EQ(told, (std::vector<size_t>{0, 1, 2}));
  EXPECT_EQ(Read("/d/a"), "content of /d/a");
  EXPECT_EQ(Read("/d/b"), "content of /d/b");
  EXPECT_EQ(Read("/e/y"), "content of /e/x");
}

TEST_F(RenameRunTest, ACaseOnlyRenameNeedsAFolderThatIgnoresCase) {
  m_disk.AddFolder("/usb", /*ignoresCase=*/true);
  Make("/usb/foto.jpg");
  Make("/d/foto.jpg");
  Make("/d/FOTO.JPG");
  const RenamePlan plan = {{"/usb", "foto.jpg", "FOTO.JPG"}, {"/d", "foto.jpg", "FOTO.JPG"}};
  const RunOutcome outcome = RunPlan(plan, m_files);
  EXPECT_EQ(outcome.renamed, 1u);
  EXPECT_EQ(outcome.failure.value(), EEXIST);
  EXPECT_EQ(m_disk.Names("/usb"), std::vector<std::string>{"FOTO.JPG"});
}

TEST(RenamePlan, TakesTheRowsInDisplayOrderWithTheirNamesAsShown) {
  FileRows rows;
  rows.Append({"/x", "b", std::nullopt});
  rows.Append({"", "a", std::nullopt});
  rows.SetNewName(0, "b2");
  rows.SetNewName(1, "a2");
  rows.Sort(ColOldName, true);
  const RenamePlan plan = MakePlan(rows);
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].FromPath(), "/a");
  EXPECT_EQ(plan[0].ToPath(), "/a2");
  EXPECT_EQ(plan[1].FromPath(), "/x/b");
  EXPECT_EQ(plan[1].ToPath(), "/x/b2");
}

}  // namespace

}  // namespace zul
