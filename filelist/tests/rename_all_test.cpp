#include <sys/stat.h>

#include <cerrno>

#include <QSignalSpy>

#include "engine/gcc_restrict_bug.h"
#include "filelist/tests/rename_fixture.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/scripted_prompter.h"

namespace zul {

// Strings built from short literals all through these tests.
ZUL_GCC_RESTRICT_BUG_BEGIN

namespace {

using Answer = Prompter::Answer;
using Op = FakeFileSystem::Op;

QString Question(const std::string& from, const std::string& to) {
  return QString::fromUtf8("Die Datei \n" + from + "\nkonnte nicht in\n" + to +
                           "\numbenannt werden.\nSollen die bereits umbenannten Dateien "
                           "zurückbenannt werden?");
}

class RenameAllTest : public ListOnDisk {
 protected:
  void ExpectQuestion(const std::string& fromName, const std::string& toName) {
    ASSERT_FALSE(m_prompter.messages.empty());
    const ScriptedPrompter::Shown& shown = m_prompter.messages[0];
    EXPECT_EQ(shown.title, QString::fromUtf8("Umbenennung fehlgeschlagen"));
    EXPECT_EQ(shown.text, Question(Path(fromName), Path(toName)));
    EXPECT_EQ(shown.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(shown.icon, Prompter::Icon::Warning);
  }
};

TEST_F(RenameAllTest, AllRowsRenamedTheRowsFollowTheirFilesAndTheStatusBarSaysSo) {
  Make("a");
  Make("b");
  AddRow("a", "a");  // to itself: succeeds, changes nothing
  AddRow("b", "b2");
  QSignalSpy status(&m_view, &CZulboView::StatusMessage);
  m_view.OnApplyFilter();
  EXPECT_TRUE(m_prompter.messages.empty());
  EXPECT_EQ(Read("a"), "content of a");
  EXPECT_EQ(Read("b2"), "content of b");
  EXPECT_EQ(Read("b"), "<missing>");
  EXPECT_EQ(m_view.Text(0, ColOldName), "a");
  EXPECT_EQ(m_view.Text(1, ColOldName), "b2");
  ASSERT_EQ(status.count(), 1);
  EXPECT_EQ(status[0][0].toString(), QString::fromUtf8("2 Dateien umbenannt."));

  // A second run starts from the new names.
  m_view.Model().SetNewName(1, "b3");
  m_view.RenameAll();
  EXPECT_TRUE(m_prompter.messages.empty());
  EXPECT_EQ(Read("b3"), "content of b");
  EXPECT_EQ(m_view.Text(1, ColOldName), "b3");
}

TEST_F(RenameAllTest, NamesKeepTheirBytesFromTheDiskToTheRenameAndBack) {
  const std::string odd =
      "Gr\xf6\xdf"
      "e \xff.txt";  // not UTF-8
  Make(odd);
  Make("taken");
  m_view.AddFile(Path(odd));
  Make("z");
  AddRow("z", "taken");
  m_filter.mask = "[name]_neu.[typ]";
  m_view.RecomputeNewNames();
  m_view.Model().SetNewName(1, "taken");
  const std::string renamed =
      "Gr\xf6\xdf"
      "e \xff_neu.txt";
  ASSERT_EQ(m_view.Text(0, ColNewName), renamed);

  m_prompter.answers = {Answer::No};
  m_view.RenameAll();
  EXPECT_EQ(Read(renamed), "content of " + odd);

  m_view.Model().RemoveRows({0, 1});
  AddRow(renamed, odd);
  AddRow("z", "taken");
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 2u);
  EXPECT_EQ(Read(renamed), "content of " + odd);  // renamed back after the failure
  EXPECT_EQ(Read(odd), "<missing>");
}

TEST_F(RenameAllTest, EmptyListDoesNothing) {
  FakeFileSystem& fake = FreshFake();
  m_view.RenameAll();
  EXPECT_TRUE(m_prompter.messages.empty());
  EXPECT_EQ(fake.Calls(Op::OpenFolder), 0);
}

TEST_F(RenameAllTest, ExistingTargetAsksAndYesRollsBackInReverseOrder) {
  // Undoing these in forward order would fail: "b" is only free once b -> a is undone.
  Make("a");
  Make("b");
  Make("c");
  Make("d");
  Make("taken");
  AddRow("b", "c2");
  AddRow("a", "b");
  AddRow("c", "taken");
  AddRow("d", "d2");
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  ExpectQuestion("c", "taken");
  for (const char* name : {"a", "b", "c", "d", "taken"})
    EXPECT_EQ(Read(name), std::string("content of ") + name);
  EXPECT_EQ(Read("c2"), "<missing>");
  EXPECT_EQ(Read("d2"), "<missing>");
}

TEST_F(RenameAllTest, ExistingTargetAndNoKeepsTheRenamedFiles) {
  Make("a");
  Make("b");
  Make("c");
  Make("taken");
  AddRow("a", "a2");
  AddRow("b", "b2");
  AddRow("c", "taken");
  m_prompter.answers = {Answer::No};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  ExpectQuestion("c", "taken");
  EXPECT_EQ(Read("a2"), "content of a");
  EXPECT_EQ(Read("b2"), "content of b");
  EXPECT_EQ(Read("c"), "content of c");
  EXPECT_EQ(Read("taken"), "content of taken");
}

TEST_F(RenameAllTest, TwoRowsToOneNameNeverOverwrite) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
    Make("x");
    Make("y");
    m_view.Model().RemoveRows({0, 1});
    AddRow("x", "same");
    AddRow("y", "same");
    m_prompter.messages.clear();
    m_prompter.answers = {answer};
    m_view.RenameAll();
    ExpectQuestion("y", "same");
    EXPECT_EQ(Read("y"), "content of y");
    if (answer == Answer::Yes) {
      EXPECT_EQ(Read("x"), "content of x");
      EXPECT_EQ(Read("same"), "<missing>");
    } else {
      EXPECT_EQ(Read("same"), "content of x");
      ASSERT_EQ(std::rename(Path("same").c_str(), Path("x").c_str()), 0);
    }
  }
}

TEST_F(RenameAllTest, SwappedNamesFailAtOnceWithNothingToRollBack) {
  Make("a.txt");
  Make("b.txt");
  AddRow("a.txt", "b.txt");
  AddRow("b.txt", "a.txt");
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 1u);  // no roll-back report
  ExpectQuestion("a.txt", "b.txt");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
  EXPECT_EQ(Read("b.txt"), "content of b.txt");
}

TEST_F(RenameAllTest, NamesThatLeaveTheFolderFailWithoutTouchingTheDisk) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  Make("a");
  Make("b");
  const std::string badNames[] = {"sub/b", "../b", "..", ".", "", std::string("b\0c", 3)};
  for (const std::string& bad : badNames) {
    SCOPED_TRACE(bad);
    FakeFileSystem& fake = FreshFake();
    m_view.Model().RemoveRows(m_view.RowCount() ? std::vector<int>{0, 1} : std::vector<int>{});
    AddRow("a", "a2");
    AddRow("b", bad);
    m_prompter.messages.clear();
    m_prompter.answers = {Answer::Yes};
    m_view.RenameAll();
    ExpectQuestion("b", bad);
    EXPECT_EQ(fake.Calls(Op::RenameInFolder), 2);  // a -> a2 and back
    EXPECT_EQ(Read("a"), "content of a");
    EXPECT_EQ(Read("b"), "content of b");
    EXPECT_EQ(Read("sub/b"), "<missing>");
  }
}

TEST_F(RenameAllTest, NameTooLongForTheFileSystem) {
  Make("a");
  Make("b");
  AddRow("a", "a2");
  AddRow("b", std::string(300, 'n'));
  m_prompter.answers = {Answer::No};
  m_view.RenameAll();
  ExpectQuestion("b", std::string(300, 'n'));
  EXPECT_EQ(Read("a2"), "content of a");
  EXPECT_EQ(Read("b"), "content of b");
}

TEST_F(RenameAllTest, AccessDeniedAsksForBothAnswers) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    Make("a");
    Make("b");
    m_view.Model().RemoveRows(m_view.RowCount() ? std::vector<int>{0, 1} : std::vector<int>{});
    AddRow("a", "a2");
    AddRow("b", "b2");
    FakeFileSystem& fake = FreshFake();
    fake.FailNth(Op::RenameInFolder, 2, EACCES);
    m_prompter.messages.clear();
    m_prompter.answers = {answer};
    m_view.RenameAll();
    ExpectQuestion("b", "b2");
    EXPECT_EQ(Read("b"), "content of b");
    EXPECT_EQ(Read(answer == Answer::Yes ? "a" : "a2"), "content of a");
    if (answer == Answer::No) {
      ASSERT_EQ(std::rename(Path("a2").c_str(), Path("a").c_str()), 0);
    }
  }
}

TEST_F(RenameAllTest, FolderThatCannotBeOpenedFailsItsRow) {
  Make("a");
  AddRow("a", "a2");
  m_view.AddFile(m_dir + "/gone/x");
  m_view.Model().SetNewName(1, "y");
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  ExpectQuestion("gone/x", "gone/y");
  EXPECT_EQ(Read("a"), "content of a");
}

TEST_F(RenameAllTest, FailedRollBackIsReportedWithBothPaths) {
  Make("a");
  Make("b");
  Make("c");
  Make("taken");
  AddRow("a", "a2");
  AddRow("b", "b2");
  AddRow("c", "taken");
  FakeFileSystem& fake = FreshFake();
  fake.FailNth(Op::RenameInFolder, 4, EIO);  // the first rename back: b2 -> b
  m_prompter.answers = {Answer::Yes, Answer::Ok};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 2u);
  ExpectQuestion("c", "taken");
  const ScriptedPrompter::Shown& report = m_prompter.messages[1];
  EXPECT_EQ(report.title, QString::fromUtf8("Zurückbenennen fehlgeschlagen"));
  EXPECT_EQ(report.buttons, Prompter::Buttons::Ok);
  EXPECT_EQ(report.icon, Prompter::Icon::Warning);
  EXPECT_EQ(report.text, QString::fromUtf8("1 Datei konnte nicht zurückbenannt werden und trägt "
                                           "weiterhin den neuen Namen:"));
  EXPECT_EQ(report.list,
            QStringList{QString::fromUtf8(Path("b2") + "   (ursprünglich: b) Hardware-Fehler beim "
                                                       "Zugriff auf „b2“.")});
  EXPECT_EQ(Read("a"), "content of a");  // the roll-back went on
  EXPECT_EQ(Read("b2"), "content of b");
  EXPECT_EQ(Read("c"), "content of c");
  EXPECT_EQ(Read("taken"), "content of taken");
}

TEST_F(RenameAllTest, ManyUnrestoredFilesAreListedUnderTheirCount) {
  FakeFileSystem& fake = FreshFake();
  for (int i = 0; i < 51; ++i) {
    const std::string name = "f" + std::to_string(i);
    Make(name);
    AddRow(name, name + "x");
    fake.FailOn(Op::RenameInFolder, name + "x", EIO);  // its rename back
  }
  Make("taken");
  AddRow("f0x", "taken");  // fails: the first row took that name, and "taken" exists
  m_prompter.answers = {Answer::Yes, Answer::Ok};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 2u);
  const ScriptedPrompter::Shown& report = m_prompter.messages[1];
  EXPECT_TRUE(report.text.startsWith(QStringLiteral("51 Dateien konnten nicht zurückbenannt")));
  ASSERT_EQ(report.list.size(), 51);
  EXPECT_TRUE(
      report.list.front().startsWith(QString::fromUtf8(Path("f50x") + "   (ursprünglich: f50) ")));
  EXPECT_EQ(Read("f50x"), "content of f50");
}

TEST_F(RenameAllTest, FirstRowFailingHasNothingToRollBack) {
  AddRow("missing", "m2");
  Make("b");
  AddRow("b", "b2");
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  ExpectQuestion("missing", "m2");
  EXPECT_EQ(Read("b"), "content of b");
}

TEST_F(RenameAllTest, RowsInDifferentFoldersStayInTheirFolders) {
  ASSERT_EQ(mkdir(Path("x").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(Path("y").c_str(), 0755), 0);
  Make("x/f");
  Make("y/f");
  Make("x/g");
  Make("x/taken");
  AddRow("x/f", "f2");
  AddRow("y/f", "f2");
  AddRow("x/g", "g2");
  AddRow("x/g", "taken");  // g is gone by now: fails as a missing source
  m_prompter.answers = {Answer::No};
  m_view.RenameAll();
  ExpectQuestion("x/g", "x/taken");
  EXPECT_EQ(Read("x/f2"), "content of x/f");
  EXPECT_EQ(Read("y/f2"), "content of y/f");
  EXPECT_EQ(Read("x/g2"), "content of x/g");

  // The roll-back also crosses folders.
  m_view.Model().RemoveRows({0, 1, 2, 3});
  AddRow("x/f2", "f3");
  AddRow("y/f2", "f3");
  AddRow("x/g2", "taken");
  m_prompter.messages.clear();
  m_prompter.answers = {Answer::Yes};
  m_view.RenameAll();
  ExpectQuestion("x/g2", "x/taken");
  EXPECT_EQ(Read("x/f2"), "content of x/f");
  EXPECT_EQ(Read("y/f2"), "content of y/f");
  EXPECT_EQ(Read("x/taken"), "content of x/taken");
}

}  // namespace

namespace {

using Moves = std::vector<std::pair<std::vector<size_t>, bool>>;

// What the run tells of the files it moved, forth and back, so that a holder of a path follows.
TEST_F(RenameAllTest, TellsWhichFilesMovedForthAndBack) {
  Moves moves;
  QObject::connect(&m_view, &CZulboView::FilesRenamed,
                   [&](const RenamePlan& plan, const std::vector<size_t>& steps, bool back) {
                     EXPECT_EQ(plan.size(), 4u);
                     moves.emplace_back(steps, back);
                   });
  for (const char* name : {"a", "b", "c", "taken"}) Make(name);
  AddRow("a", "a2");
  AddRow("b", "b2");
  AddRow("c", "taken");
  AddRow("a", "never");
  FreshFake().FailOn(FakeFileSystem::Op::RenameInFolder, "a2", EIO);  // a2 stays
  m_prompter.answers = {Answer::Yes, Answer::Ok};
  m_view.RenameAll();
  // Told once, what is left: only a2 could not go back.
  EXPECT_EQ(moves, (Moves{{{0}, false}}));
  EXPECT_EQ(m_view.Text(0, ColOldName), "a2") << "the row shows where its file is now";
  EXPECT_EQ(m_view.Text(1, ColOldName), "b");
}

}  // namespace

ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
