#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace zul {

// Answers every prompt from a script and records what was asked, so handlers run without a
// display. A prompt with no scripted answer, or with one its box cannot give, fails the test
// (ADD_FAILURE) and is answered as a closed box would be, with nothing chosen. Progress is
// recorded and cancelled where the script says so.
class ScriptedPrompter : public Prompter {
 public:
  // Whether a box with `buttons` can give `answer`, through one of its buttons or by being
  // closed: a script cannot promise a handler an answer that no user can give.
  static bool CanAnswer(Buttons buttons, Answer answer);

  struct Shown {
    QString title;
    QString text;
    Buttons buttons;
    Icon icon;
    QStringList list;  // of MessageWithList
  };
  struct Chooser {
    QString caption;  // or the instruction of a folder chooser
    std::string folder;
    QString filters;
  };

  // Scripted answers, consumed in order.
  std::deque<Answer> answers;
  std::deque<std::vector<std::string>> chosenFiles;
  std::deque<std::string> chosenFolders;
  std::deque<std::string> chosenPaths;  // for ChooseOpenFile and ChooseSaveFile
  // Runs a modal dialog: gets the dialog (shown, not modal) and returns its result code.
  std::deque<std::function<int(QDialog&)>> dialogActions;

  // For each progress started, in order: the step at which "Abbrechen" is pressed (-1: never).
  // Without an entry the work runs to its end.
  std::deque<int> cancelProgressAt;
  // Shows the real timed progress dialog instead (with its delay), for tests of the dialog.
  bool realProgress = false;

  // What was asked, in order (messages with a list as well).
  std::vector<Shown> messages;
  std::vector<Chooser> choosers;
  int dialogsRun = 0;
  // Each progress started: its label before the first step, and its total.
  std::vector<std::pair<QString, int>> progressStarted;
  // The last step each progress was told of (a deque: each progress keeps a reference).
  std::deque<int> progressDone;

  Answer Message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                 Icon icon) override;
  Answer MessageWithList(QWidget* owner, const QString& title, const QString& text,
                         const QStringList& items, Buttons buttons, Icon icon) override;
  std::vector<std::string> ChooseFiles(QWidget* owner, const QString& caption,
                                       const std::string& folder, const QString& filters) override;
  std::string ChooseFolder(QWidget* owner, const QString& instruction,
                           const std::string& initialFolder) override;
  std::string ChooseOpenFile(QWidget* owner, const QString& caption, const std::string& folder,
                             const QString& filters) override;
  std::string ChooseSaveFile(QWidget* owner, const QString& caption, const std::string& proposed,
                             const QString& filters) override;
  int RunDialog(QDialog& dialog) override;
  std::unique_ptr<Progress> StartProgress(QWidget* owner, std::function<QString(int done)> label,
                                          int total, bool cancellable) override;
};

}  // namespace zul
