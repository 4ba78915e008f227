#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "engine/gcc_restrict_bug.h"
#include "filelist/tests/rename_fixture.h"

namespace zul {

// Strings built from short literals all through these tests.
ZUL_GCC_RESTRICT_BUG_BEGIN

namespace {

using Answer = Prompter::Answer;

class RenameProgressTest : public ListOnDisk {
 protected:
  void MakeRows(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string name = "f" + std::to_string(i);
      Make(name);
      AddRow(name, name + "-neu");
    }
  }
  // Whether every file has its old name (true) or its new one (false).
  bool AllAt(int first, int end, bool old) const {
    for (int i = first; i < end; ++i) {
      const std::string name = "f" + std::to_string(i);
      if (Read(old ? name : name + "-neu") != "content of " + name) return false;
    }
    return true;
  }
};

class CancelAnswers : public RenameProgressTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(CancelAnswers, CancelStopsBeforeTheNextRowAndAsksAboutRollingBack) {
  MakeRows(5);
  m_prompter.cancelProgressAt = {2};
  m_prompter.answers = {GetParam()};
  m_view.RenameAll();

  ASSERT_EQ(m_prompter.messages.size(), 1u);
  const ScriptedPrompter::Shown& question = m_prompter.messages[0];
  EXPECT_EQ(question.title, "Umbenennung abgebrochen");
  EXPECT_EQ(question.text, QString::fromUtf8("Die Umbenennung wurde abgebrochen.\n2 von 5 Dateien "
                                             "sind umbenannt.\nSollen die bereits umbenannten "
                                             "Dateien zurückbenannt werden?"));
  EXPECT_EQ(question.buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(question.icon, Prompter::Icon::Warning);
  ASSERT_FALSE(m_prompter.progressStarted.empty());
  EXPECT_EQ(m_prompter.progressStarted[0].first,
            QString::fromUtf8("Dateien werden umbenannt …\n0 von 5"));
  EXPECT_EQ(m_prompter.progressStarted[0].second, 5);
  EXPECT_TRUE(AllAt(2, 5, true));
  if (GetParam() == Answer::Yes) {
    EXPECT_TRUE(AllAt(0, 2, true));
    ASSERT_EQ(m_prompter.progressStarted.size(), 2u);
    EXPECT_EQ(m_prompter.progressStarted[1].first,
              QString::fromUtf8("Dateien werden zurückbenannt...\n0 von 2"));
  } else {
    EXPECT_TRUE(AllAt(0, 2, false));
    EXPECT_EQ(m_prompter.progressStarted.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, CancelAnswers, ::testing::Values(Answer::Yes, Answer::No));

TEST_F(RenameProgressTest, CancelBeforeAnyRenameAsksNothing) {
  MakeRows(2);
  m_prompter.cancelProgressAt = {0};
  m_view.RenameAll();
  EXPECT_TRUE(m_prompter.messages.empty());
  EXPECT_TRUE(AllAt(0, 2, true));
}

// The real dialog: hidden while the run is short, then window-modal with "n von N" and
// "Abbrechen", painted meanwhile; the roll-back shows one that cannot be cancelled.
TEST_F(RenameProgressTest, ALongRunShowsTheDialogRepaintsAndCanBeCancelled) {
  MakeRows(12);
  m_view.resize(600, 300);
  m_view.show();
  m_prompter.realProgress = true;
  m_prompter.answers = {Answer::Yes};

  int step = 0;
  int firstShown = -1;
  QString runLabel;
  bool modal = false;
  bool rollBackShown = false;
  bool rollBackCancellable = true;
  int paints = 0;
  struct PaintCounter : QObject {
    int& count;
    explicit PaintCounter(int& c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++count;
      return false;
    }
  } counter(paints);
  m_services.files.beforeRename = [&](const std::string& from, const std::string&) {
    QTest::qSleep(130);
    auto* dialog = m_view.findChild<QProgressDialog*>();
    if (dialog) dialog->installEventFilter(&counter);  // once per dialog: Qt keeps no duplicates
    const bool back = from.ends_with("-neu");
    if (dialog && dialog->isVisible() && back) {
      rollBackShown = true;
      rollBackCancellable = dialog->findChild<QPushButton*>() != nullptr;
    } else if (dialog && dialog->isVisible() && firstShown < 0) {
      firstShown = step;
      runLabel = dialog->labelText();
      modal = dialog->windowModality() == Qt::WindowModal;
      auto* cancel = dialog->findChild<QPushButton*>();
      if (cancel && cancel->text() == "Abbrechen") QTest::mouseClick(cancel, Qt::LeftButton);
    }
    ++step;
  };
  QCoreApplication::processEvents();
  m_view.RenameAll();

  ASSERT_GE(firstShown, 3) << "nothing shows during the first half second";
  EXPECT_EQ(runLabel, QString::fromUtf8("Dateien werden umbenannt …\n%1 von 12").arg(firstShown));
  EXPECT_TRUE(modal);
  EXPECT_GT(paints, 0) << "the dialog is painted while the run goes on";
  EXPECT_TRUE(m_view.updatesEnabled()) << "the list repaints again after the run";
  ASSERT_EQ(m_prompter.messages.size(), 1u);
  EXPECT_EQ(m_prompter.messages[0].title, "Umbenennung abgebrochen");
  EXPECT_TRUE(m_prompter.messages[0].text.startsWith(
      QString::fromUtf8("Die Umbenennung wurde abgebrochen.\n%1 von 12").arg(firstShown + 1)));
  EXPECT_TRUE(rollBackShown);
  EXPECT_FALSE(rollBackCancellable);
  EXPECT_TRUE(AllAt(0, 12, true));
  EXPECT_EQ(m_view.findChild<QProgressDialog*>(), nullptr) << "closed with the run";
}

}  // namespace

ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
