#include <cerrno>
#include <cstdio>

#include "core/run_journal.h"
#include "filelist/tests/rename_fixture.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

using Answer = Prompter::Answer;
using JournalOp = FakeJournalFolder::Op;

class UndoTest : public ListOnDisk {
 protected:
  void SetUp() override {
    ListOnDisk::SetUp();
    QObject::connect(&m_view, &CZulboView::UndoAvailable,
                     [this](int files) { m_undoable.push_back(files); });
    QObject::connect(&m_view, &CZulboView::FilesRenamed,
                     [this](const RenamePlan&, const std::vector<size_t>& steps, bool back) {
                       if (back) m_restored.push_back(steps);
                     });
  }
  std::vector<std::string> Journals() {
    std::vector<std::string> names;
    EXPECT_FALSE(m_services.realJournals.List(names));
    std::erase(names, std::string(kRunLockFile));
    return names;
  }

  std::vector<int> m_undoable;
  std::vector<std::vector<size_t>> m_restored;
};

TEST_F(UndoTest, UndoesAWholeRunOnceAndTellsWhoHoldsAPath) {
  for (const char* name : {"a", "b"}) Make(name);
  AddRow("a", "a2");
  AddRow("b", "b2");
  m_view.RenameAll();
  EXPECT_EQ(m_undoable, std::vector<int>{2});
  ASSERT_EQ(Journals(), std::vector<std::string>{kLastJournal});
  const Result<JournaledRun> journal =
      DecodeJournal(m_services.stateFolder.Read(std::string("zul/") + kLastJournal));
  ASSERT_TRUE(journal);
  EXPECT_EQ(journal->renamed, 2u);

  m_view.OnUndo();
  EXPECT_EQ(Read("a"), "content of a");
  EXPECT_EQ(Read("b"), "content of b");
  EXPECT_EQ(m_restored, (std::vector<std::vector<size_t>>{{1, 0}}));
  EXPECT_EQ(m_undoable, (std::vector<int>{2, 0}));
  ASSERT_EQ(m_prompter.progressStarted.size(), 2u);  // the run's, then the undo's
  EXPECT_EQ(m_prompter.progressStarted[1].second, 2);
  EXPECT_EQ(m_prompter.progressStarted[1].first,
            QString::fromUtf8("Dateien werden zurückbenannt...\n0 von 2"));
  EXPECT_TRUE(m_prompter.messages.empty());

  m_view.OnUndo();  // nothing left to undo
  EXPECT_EQ(m_restored.size(), 1u);
  EXPECT_EQ(m_prompter.progressStarted.size(), 2u);
}

TEST_F(UndoTest, AfterNoOnlyTheRenamedFilesGoBack) {
  for (const char* name : {"a", "b", "c", "d", "taken"}) Make(name);
  AddRow("a", "a2");
  AddRow("b", "b2");
  AddRow("c", "taken");
  AddRow("d", "d2");
  m_prompter.answers = {Answer::No};
  m_view.RenameAll();
  EXPECT_EQ(m_undoable, std::vector<int>{2});
  m_view.OnUndo();
  for (const char* name : {"a", "b", "c", "d", "taken"})
    EXPECT_EQ(Read(name), std::string("content of ") + name);
  EXPECT_EQ(m_restored, (std::vector<std::vector<size_t>>{{1, 0}}));
}

TEST_F(UndoTest, ARunRolledBackOrRenamingNothingLeavesNothingToUndo) {
  for (const char* name : {"a", "b", "taken"}) Make(name);
  AddRow("a", "a2");
  m_view.RenameAll();
  m_view.Model().RemoveRows({0});
  AddRow("a2", "a");
  AddRow("b", "taken");
  m_prompter.answers = {Answer::Yes, Answer::Yes};
  m_view.RenameAll();  // a2 -> a, then b fails: rolled back
  m_view.Model().RemoveRows({0});
  m_view.RenameAll();  // b fails at once
  EXPECT_EQ(m_undoable, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(Read("a2"), "content of a");
  EXPECT_EQ(Journals(), std::vector<std::string>{kLastJournal});
}

TEST_F(UndoTest, ReportsEachFileItCannotRenameBackAndWhy) {
  for (const char* name : {"a", "b", "c"}) Make(name);
  AddRow("a", "a2");
  AddRow("b", "b2");
  AddRow("c", "c2");
  m_view.RenameAll();
  Write("a3", "another file");  // made while a2 exists: another inode for sure
  ASSERT_EQ(std::rename(Path("a3").c_str(), Path("a2").c_str()), 0);
  Make("b");
  m_prompter.answers = {Answer::Ok};
  m_view.OnUndo();
  EXPECT_EQ(Read("c"), "content of c");
  EXPECT_EQ(Read("a2"), "another file");
  EXPECT_EQ(Read("b2"), "content of b");
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  const ScriptedPrompter::Shown& report = m_prompter.messages[0];
  EXPECT_EQ(report.title, QString::fromUtf8("Rückgängig unvollständig"));
  EXPECT_EQ(report.icon, Prompter::Icon::Warning);
  EXPECT_EQ(report.text,
            QString::fromUtf8("2 Dateien konnten nicht zurückbenannt werden und tragen weiterhin "
                              "den neuen Namen:"));
  EXPECT_EQ(
      report.list,
      (QStringList{
          QString::fromUtf8(Path("b2") + "   (ursprünglich: b) Der ursprüngliche Name ist "
                                         "vergeben."),
          QString::fromUtf8(Path("a2") + "   (ursprünglich: a) Unter dem neuen Namen liegt eine "
                                         "andere Datei.")}));
  EXPECT_EQ(m_restored, (std::vector<std::vector<size_t>>{{2}}));
}

struct JournalFailure {
  const char* name;
  JournalOp op;
  int error;
  const char* reason;
};

class JournalFailures : public UndoTest, public ::testing::WithParamInterface<JournalFailure> {};

// Without its journal a run does not start: nothing is renamed, and the undo of the run before
// stays what it was.
TEST_P(JournalFailures, StopTheRunBeforeItsFirstRename) {
  Make("a");
  Make("b");
  AddRow("a", "a2");
  m_view.RenameAll();
  m_view.Model().RemoveRows({0});
  AddRow("b", "b2");
  const JournalFailure& failure = GetParam();
  m_services.journals.FailAll(failure.op, failure.error);
  FakeFileSystem& fake = FreshFake();
  m_prompter.answers = {Answer::Ok};
  m_view.RenameAll();
  EXPECT_EQ(fake.Calls(FakeFileSystem::Op::RenameInFolder), 0);
  EXPECT_EQ(Read("b"), "content of b");
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  EXPECT_EQ(m_prompter.messages[0].title, QString::fromUtf8("Umbenennung nicht begonnen"));
  EXPECT_EQ(m_prompter.messages[0].text,
            QString::fromUtf8("Es wurde keine Datei umbenannt: Das Protokoll, mit dem sich die "
                              "Umbenennung auch nach einem Absturz rückgängig machen lässt, "
                              "konnte nicht geschrieben werden.\n") +
                QString::fromUtf8(failure.reason).arg(TextOf(m_services.journals.Path())));
  EXPECT_EQ(m_undoable, std::vector<int>{1});
  m_view.OnUndo();
  EXPECT_EQ(Read("a"), "content of a");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JournalFailures,
    ::testing::Values(JournalFailure{"ReadOnlyHome", JournalOp::Prepare, EROFS,
                                     "„%1“ liegt auf einem schreibgeschützten Datenträger."},
                      JournalFailure{
                          "FullDisk", JournalOp::Write, ENOSPC,
                          "Der Datenträger ist voll; „%1“ konnte nicht geschrieben werden."}),
    [](const ::testing::TestParamInfo<JournalFailure>& info) { return info.param.name; });

}  // namespace

}  // namespace zul
