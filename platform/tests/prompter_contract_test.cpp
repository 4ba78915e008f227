#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/prompter.h"
#include "platform/testing/scripted_prompter.h"

namespace zul {

// One suite for Qt's prompter and for the scripted one the other tests answer with, so that no
// script promises a handler what a user in front of the real dialogs cannot do.

namespace {

using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;

// Someone answering one of the prompters.
class User {
 public:
  virtual ~User() = default;
  virtual Prompter& Asked() = 0;
  // Whether an answer the box cannot give fails the test instead of reaching the handler.
  virtual bool RefusesImpossibleAnswers() const = 0;
  // The next message is answered by pressing the button of `answer`, or, where the box has none,
  // by closing it.
  virtual void WillPress(Answer answer) = 0;
  // The next progress started is cancelled, as far as it lets itself be, between step
  // `step - 1` and `step`.
  virtual void WillCancelAt(int step) = 0;
  // Called by the work before it tells the progress of step `done`.
  virtual void BeforeStep(int done) = 0;
  // The text the user sees of the progress.
  virtual QString ShownLabel() = 0;
};

class ScriptUser : public User {
 public:
  Prompter& Asked() override { return m_prompter; }
  bool RefusesImpossibleAnswers() const override { return true; }
  void WillPress(Answer answer) override { m_prompter.answers.push_back(answer); }
  void WillCancelAt(int step) override { m_prompter.cancelProgressAt.push_back(step); }
  void BeforeStep(int) override {}
  QString ShownLabel() override { return m_prompter.progressStarted.back().first; }

 private:
  ScriptedPrompter m_prompter;
};

QDialogButtonBox::StandardButton ButtonOf(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QDialogButtonBox::Ok;
    case Answer::Yes:
      return QDialogButtonBox::Yes;
    case Answer::No:
      return QDialogButtonBox::No;
    case Answer::Cancel:
      break;
  }
  return QDialogButtonBox::Cancel;
}

// In front of Qt's dialogs: presses their buttons once they are up.
class ScreenUser : public User {
 public:
  Prompter& Asked() override { return QtPrompter(); }
  bool RefusesImpossibleAnswers() const override { return false; }
  void WillPress(Answer answer) override {
    QTimer::singleShot(0, [answer] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) {
        ADD_FAILURE() << "no message box";
        return;
      }
      QPushButton* button = box->findChild<QDialogButtonBox*>()->button(ButtonOf(answer));
      if (button)
        button->click();
      else
        QTest::keyClick(box, Qt::Key_Escape);
    });
  }
  void WillCancelAt(int step) override { m_cancelAt = step; }
  void BeforeStep(int done) override {
    // Waits for the dialog before the step that shows it, and cancels once it has shown.
    if (done == m_cancelAt - 1) QTest::qWait(kShownAfterMs);
    if (done != m_cancelAt) return;
    QProgressDialog* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    if (auto* button = dialog->findChild<QPushButton*>()) {
      button->click();
    } else {
      QTest::keyClick(dialog, Qt::Key_Escape);
      dialog->close();
    }
  }
  QString ShownLabel() override {
    QProgressDialog* dialog = Dialog();
    return dialog && dialog->isVisible() ? dialog->labelText() : QString();
  }
  QWidget owner;

 private:
  static constexpr int kShownAfterMs = 600;  // beyond the delay before the dialog shows
  QProgressDialog* Dialog() const { return owner.findChild<QProgressDialog*>(); }
  int m_cancelAt = -1;
};

struct Backend {
  const char* name;
  std::function<std::unique_ptr<User>()> make;
};

const Backend kBackends[] = {
    {"Script", [] { return std::make_unique<ScriptUser>(); }},
    {"Screen", [] { return std::make_unique<ScreenUser>(); }},
};

std::string BackendName(const Backend& backend) { return backend.name; }

using AnswerCase = std::tuple<Backend, Buttons, Answer, bool /*with a list*/>;

std::string AnswerCaseName(const ::testing::TestParamInfo<AnswerCase>& info) {
  const auto& [backend, buttons, answer, withList] = info.param;
  const char* const buttonsNames[] = {"Ok", "YesNo", "YesNoCancel"};
  const char* const answerNames[] = {"Ok", "Yes", "No", "Cancel"};
  return BackendName(backend) + "_" + buttonsNames[static_cast<int>(buttons)] + "_Pressed" +
         answerNames[static_cast<int>(answer)] + (withList ? "_WithList" : "");
}

class MessageContract : public ::testing::TestWithParam<AnswerCase> {};

// A box gives the answer of the button pressed; a box without that button, closed, gives one of
// its own answers.
TEST_P(MessageContract, GivesThePressedAnswerOrOneOfItsOwn) {
  const auto& [backend, buttons, pressed, withList] = GetParam();
  const std::unique_ptr<User> user = backend.make();
  const bool offered = ScriptedPrompter::CanAnswer(buttons, pressed);
  user->WillPress(pressed);
  Answer given{};
  auto ask = [&, buttons = buttons, withList = withList] {
    const QString text = QStringLiteral("Frage?");
    given = withList ? user->Asked().MessageWithList(nullptr, QString(), text, {"a"}, buttons,
                                                     Prompter::Icon::Question)
                     : user->Asked().Message(nullptr, QString(), text, buttons,
                                             Prompter::Icon::Question);
  };
  if (!offered && user->RefusesImpossibleAnswers()) {
    EXPECT_NONFATAL_FAILURE(ask(), "cannot give");
  } else {
    ask();
  }
  EXPECT_TRUE(ScriptedPrompter::CanAnswer(buttons, given));
  // Closing a box with "OK" alone may give either of its answers.
  if (offered && (buttons != Buttons::Ok || pressed == Answer::Ok)) {
    EXPECT_EQ(given, pressed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Prompters, MessageContract,
    ::testing::Combine(::testing::ValuesIn(kBackends),
                       ::testing::Values(Buttons::Ok, Buttons::YesNo, Buttons::YesNoCancel),
                       ::testing::Values(Answer::Ok, Answer::Yes, Answer::No, Answer::Cancel),
                       ::testing::Bool()),
    AnswerCaseName);

using ProgressCase = std::tuple<Backend, bool /*cancellable*/>;

std::string ProgressCaseName(const ::testing::TestParamInfo<ProgressCase>& info) {
  const auto& [backend, cancellable] = info.param;
  return BackendName(backend) + (cancellable ? "_Cancellable" : "_NotCancellable");
}

class ProgressContract : public ::testing::TestWithParam<ProgressCase> {};

QString Label(int done) { return QStringLiteral("%1 von 6").arg(done); }

// Work that can be cancelled stops at the step after "Abbrechen" and never goes on; work that
// cannot runs to its end whatever the user does. The label shown is that of a step reached.
TEST_P(ProgressContract, CancelStopsOnlyWhatMayStop) {
  const auto& [backend, cancellable] = GetParam();
  const std::unique_ptr<User> user = backend.make();
  auto* screen = dynamic_cast<ScreenUser*>(user.get());
  constexpr int kCancelAt = 3;
  user->WillCancelAt(kCancelAt);
  std::vector<bool> going;
  QString shown;
  {
    const std::unique_ptr<Progress> progress =
        user->Asked().StartProgress(screen ? &screen->owner : nullptr, Label, 6, cancellable);
    for (int done = 0; done < 6; ++done) {
      if (done == kCancelAt) shown = user->ShownLabel();
      user->BeforeStep(done);
      going.push_back(progress->Continue(done));
    }
  }
  const std::vector<bool> expected = cancellable
                                         ? std::vector<bool>{true, true, true, false, false, false}
                                         : std::vector<bool>(6, true);
  EXPECT_EQ(going, expected);
  bool reached = false;
  for (int done = 0; done < kCancelAt; ++done) reached = reached || shown == Label(done);
  EXPECT_TRUE(reached) << shown.toStdString();
  if (screen) {
    EXPECT_EQ(screen->owner.findChild<QProgressDialog*>(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Prompters, ProgressContract,
                         ::testing::Combine(::testing::ValuesIn(kBackends), ::testing::Bool()),
                         ProgressCaseName);

}  // namespace

}  // namespace zul
