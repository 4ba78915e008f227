#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "app/zulbo_app.h"
#include "core/apply_run.h"
#include "core/folder_walk.h"
#include "core/run_journal.h"
#include "platform/testing/temp_folder.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

constexpr int kFiles = 500;
constexpr char kFolderVariable[] = "ZUL_KILL_TEST_FOLDER";
constexpr char kStateVariable[] = "ZUL_KILL_TEST_STATE";

std::string Name(const char* stem, int i) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%03d", stem, i);
  return name;
}

// Lets a run go on to its end without asking.
class RunToTheEnd : public RunObserver {
 public:
  bool Renaming(size_t, size_t) override { return true; }
  bool ShouldRollBack(const RenamePlan&, const RunOutcome&) override { return false; }
  void RollingBack(size_t, size_t) override {}
};

// The child: collects the folder and renames every file slowly through the workflow both front
// ends use, and says so once it is well under way.
void RenameSlowlyUntilKilled(const std::string& folder, const std::string& state) {
  FakeFileSystem files;
  LinuxJournalFolder journals(state);
  int renames = 0;
  files.beforeRename = [&](const std::string&, const std::string&) {
    if (++renames == 20) std::ofstream(folder + "/../under-way") << "yes";
    QThread::usleep(3000);
  };
  FileRows rows;
  WalkFolder(files, folder, false, rows);
  for (int i = 0; i < rows.Count(); ++i) rows.SetNewName(i, Name("bild", i));
  RunToTheEnd observer;
  (void)ApplyPlan(MakePlan(rows), rows.Identities(), files, journals, observer);
  std::_Exit(3);  // not killed: the parent finds the run was not cut off
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// A real program, renaming real files, killed in the middle of its run; the next start undoes
// exactly what it did, by the journal alone.
TEST(CrashRecovery, ARunKilledMidwayIsUndoneAtTheNextStart) {
  const QString childFolder = qEnvironmentVariable(kFolderVariable);
  if (!childFolder.isEmpty()) {
    RenameSlowlyUntilKilled(childFolder.toStdString(),
                            qEnvironmentVariable(kStateVariable).toStdString());
    return;
  }

  TempFolder temp;
  const std::string folder = temp.Path("files");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  std::map<std::string, ino_t> inodes;
  for (int i = 0; i < kFiles; ++i) {
    const std::string path = temp.Put("files/" + Name("foto", i), "content " + std::to_string(i));
    inodes[Name("foto", i)] = Inode(path);
  }
  TestServices services;

  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(kFolderVariable), QString::fromStdString(folder));
  environment.insert(QString::fromLatin1(kStateVariable),
                     QString::fromStdString(services.realJournals.Path()));
  child.setProcessEnvironment(environment);
  child.start(
      QCoreApplication::applicationFilePath(),
      {QStringLiteral("--gtest_filter=CrashRecovery.ARunKilledMidwayIsUndoneAtTheNextStart")});
  QElapsedTimer waited;
  waited.start();
  while (temp.Read("under-way") != "yes") {
    ASSERT_NE(child.state(), QProcess::NotRunning) << child.readAllStandardOutput().toStdString();
    ASSERT_LT(waited.elapsed(), 120000) << "the child did not start its run";
    QThread::msleep(5);
  }
  EXPECT_TRUE(ScanJournals(services.journals).cutOff.empty())
      << "the running program's journal is locked";
  QThread::msleep(30);
  child.kill();  // SIGKILL
  ASSERT_TRUE(child.waitForFinished(60000));
  ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "the run was over before the kill";

  int renamed = 0;
  for (int i = 0; i < kFiles; ++i) renamed += temp.Read("files/" + Name("bild", i)) != "<missing>";
  ASSERT_GT(renamed, 0);
  ASSERT_LT(renamed, kFiles);

  services.prompter.answers = {Prompter::Answer::Yes};
  CZulboApp app(services);
  ASSERT_TRUE(app.InitInstance({}));
  ASSERT_EQ(services.prompter.messages.size(), 1u);
  EXPECT_TRUE(services.prompter.messages[0].text.contains(
      QStringLiteral("\n%1 von %2 Dateien").arg(renamed).arg(kFiles)));
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = Name("foto", i);
    EXPECT_EQ(temp.Read("files/" + name), "content " + std::to_string(i)) << name;
    EXPECT_EQ(Inode(folder + '/' + name), inodes[name]) << name;
    EXPECT_EQ(temp.Read("files/" + Name("bild", i)), "<missing>");
  }
  std::vector<std::string> journals;
  EXPECT_FALSE(services.realJournals.List(journals));
  EXPECT_EQ(journals, std::vector<std::string>{kRunLockFile});
}

}  // namespace

}  // namespace zul
