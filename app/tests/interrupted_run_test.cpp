#include <gtest/gtest.h>

#include <QDateTime>
#include <QStatusBar>

#include "app/main_frame.h"
#include "app/tests/app_test_support.h"
#include "app/zulbo_app.h"
#include "core/rename_run.h"
#include "core/run_journal.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

using Answer = Prompter::Answer;

class InterruptedRunTest : public ::testing::Test {
 protected:
  // Leaves the journal of a run of a -> a2, b -> b2, c -> c2 that was cut off after two renames.
  void CutOffARun() {
    for (const char* name : {"a", "b", "c"}) folder.Put(name, std::string("content of ") + name);
    JournaledRun run;
    run.started = QDateTime(QDate(2024, 3, 5), QTime(14, 3, 12)).toSecsSinceEpoch();
    run.plan = {{folder.Path(), "a", "a2"}, {folder.Path(), "b", "b2"}, {folder.Path(), "c", "c2"}};
    run.identities = IdentifyFiles(run.plan, services.files);
    const Result<RunJournal> journal = RunJournal::Begin(services.journals, run);
    ASSERT_TRUE(journal);
    ASSERT_EQ(RunPlan(run.plan, services.files, [](size_t done) { return done < 2; }).renamed, 2u);
  }
  std::vector<std::string> Journals() {
    std::vector<std::string> names;
    EXPECT_FALSE(services.realJournals.List(names));
    std::erase(names, std::string(kRunLockFile));
    return names;
  }
  bool Renamed() const {
    return folder.Read("a2") == "content of a" && folder.Read("b2") == "content of b";
  }

  TestFolder folder;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
};

class StartUpQuestion : public InterruptedRunTest, public ::testing::WithParamInterface<Answer> {};

// Asked before anything else: here before the file named on the command line is opened.
TEST_P(StartUpQuestion, ComesFirstAndEachAnswerDoesItsPart) {
  CutOffARun();
  const Answer answer = GetParam();
  prompter.answers = {answer, Answer::Ok};
  CZulboApp app(services);
  EXPECT_FALSE(app.InitInstance({folder.Path("fehlt.fil")}));
  ASSERT_EQ(prompter.messages.size(), 2u);
  const ScriptedPrompter::Shown& question = prompter.messages[0];
  EXPECT_EQ(question.title, QString::fromUtf8("Umbenennung unterbrochen"));
  EXPECT_EQ(question.text,
            QString::fromUtf8("Die Umbenennung vom 05.03.2024 um 14:03:12 Uhr wurde nicht zu Ende "
                              "geführt.\n2 von 3 Dateien tragen bereits den neuen Namen.\nSollen "
                              "diese Dateien zurückbenannt werden?\n\n(„Nein“ lässt sie, wie sie "
                              "sind; „Abbrechen“ fragt beim nächsten Start wieder.)"));
  EXPECT_EQ(question.buttons, Prompter::Buttons::YesNoCancel);
  EXPECT_TRUE(prompter.messages[1].text.endsWith("fehlt.fil“ wurde nicht gefunden."));
  EXPECT_EQ(folder.Read("c"), "content of c");

  switch (answer) {
    case Answer::Yes:
      EXPECT_EQ(folder.Read("a"), "content of a");
      EXPECT_EQ(folder.Read("b"), "content of b");
      EXPECT_TRUE(Journals().empty());
      ASSERT_EQ(prompter.progressStarted.size(), 1u);
      EXPECT_EQ(prompter.progressStarted[0].second, 3);
      break;
    case Answer::No:
      EXPECT_TRUE(Renamed());
      EXPECT_TRUE(Journals().empty());
      break;
    default: {
      EXPECT_TRUE(Renamed());
      EXPECT_EQ(Journals().size(), 1u);
      prompter.answers = {Answer::No};
      CZulboApp next(services);
      ASSERT_TRUE(next.InitInstance({}));
      EXPECT_EQ(prompter.messages.size(), 3u) << "asked again at the next start";
      EXPECT_TRUE(Journals().empty());
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, StartUpQuestion,
                         ::testing::Values(Answer::Yes, Answer::No, Answer::Cancel),
                         [](const ::testing::TestParamInfo<Answer>& info) {
                           return info.param == Answer::Yes  ? "Ja"
                                  : info.param == Answer::No ? "Nein"
                                                             : "Abbrechen";
                         });

// A restore at start says what it did, as a run and an undo do.
TEST_F(InterruptedRunTest, ARestoreAtStartIsToldInTheStatusBar) {
  CutOffARun();
  prompter.answers = {Answer::Yes};
  CZulboApp app(services);
  ASSERT_TRUE(app.InitInstance({}));
  EXPECT_EQ(app.MainFrame()->statusBar()->currentMessage(),
            QString::fromUtf8("2 Dateien zurückbenannt."));
  EXPECT_EQ(folder.Read("a"), "content of a");
}

TEST_F(InterruptedRunTest, ARunThatRenamedNothingAsksNothingAndDamagedJournalsAreReported) {
  folder.Put("a", "content of a");
  JournaledRun run;
  run.plan = {{folder.Path(), "a", "a2"}};
  run.identities = IdentifyFiles(run.plan, services.files);
  ASSERT_TRUE(RunJournal::Begin(services.journals, run));
  const std::string journal = EncodeJournal(run);
  services.stateFolder.Put("zul/run-1-2-3.zjl", journal.substr(0, journal.size() - 2) + "xx");

  prompter.answers = {Answer::Ok};
  CZulboApp app(services);
  ASSERT_TRUE(app.InitInstance({}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, QString::fromUtf8("Umbenennungsprotokoll beschädigt"));
  EXPECT_EQ(
      prompter.messages[0].text,
      QString::fromUtf8("Protokolle unterbrochener Umbenennungen sind beschädigt. Mit ihnen "
                        "wird keine Datei zurückbenannt; sie bleiben zur Ansicht liegen:\n\n") +
          QString::fromStdString(services.realJournals.Path()) +
          QString::fromUtf8("/run-1-2-3.zjl.damaged (Prüfsumme falsch)"));
  EXPECT_EQ(Journals(), std::vector<std::string>{"run-1-2-3.zjl.damaged"});
  EXPECT_EQ(folder.Read("a"), "content of a");
}

}  // namespace

}  // namespace zul
