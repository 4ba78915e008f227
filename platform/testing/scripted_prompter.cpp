#include "platform/testing/scripted_prompter.h"

#include <gtest/gtest.h>
#include <QDialog>

#include "platform/timed_progress.h"

namespace zul {

namespace {

class ScriptedProgress : public Progress {
 public:
  ScriptedProgress(int& done, int cancelAt) : m_done(done), m_cancelAt(cancelAt) {}
  bool Continue(int done) override {
    m_done = done;
    return m_cancelAt < 0 || done < m_cancelAt;
  }

 private:
  int& m_done;
  int m_cancelAt;
};

}  // namespace

Prompter::Answer ScriptedPrompter::Message(QWidget* owner, const QString& title,
                                           const QString& text, Buttons buttons, Icon icon) {
  return MessageWithList(owner, title, text, {}, buttons, icon);
}

bool ScriptedPrompter::CanAnswer(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::Ok:
      return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
      return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
      return answer != Answer::Ok;
  }
  return false;
}

Prompter::Answer ScriptedPrompter::MessageWithList(QWidget*, const QString& title,
                                                   const QString& text, const QStringList& items,
                                                   Buttons buttons, Icon icon) {
  messages.push_back({title, text, buttons, icon, items});
  const Answer closed = buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected message: " << text.toStdString();
    return closed;
  }
  const Answer answer = answers.front();
  answers.pop_front();
  if (!CanAnswer(buttons, answer)) {
    ADD_FAILURE() << "a scripted answer this box cannot give: " << text.toStdString();
    return closed;
  }
  return answer;
}

std::vector<std::string> ScriptedPrompter::ChooseFiles(QWidget*, const QString& caption,
                                                       const std::string& folder,
                                                       const QString& filters) {
  choosers.push_back({caption, folder, filters});
  if (chosenFiles.empty()) {
    ADD_FAILURE() << "unexpected file chooser";
    return {};
  }
  auto files = std::move(chosenFiles.front());
  chosenFiles.pop_front();
  return files;
}

std::string ScriptedPrompter::ChooseFolder(QWidget*, const QString& instruction,
                                           const std::string& initialFolder) {
  choosers.push_back({instruction, initialFolder, {}});
  if (chosenFolders.empty()) {
    ADD_FAILURE() << "unexpected folder chooser";
    return {};
  }
  auto folder = std::move(chosenFolders.front());
  chosenFolders.pop_front();
  return folder;
}

std::string ScriptedPrompter::ChooseOpenFile(QWidget*, const QString& caption,
                                             const std::string& folder, const QString& filters) {
  choosers.push_back({caption, folder, filters});
  if (chosenPaths.empty()) {
    ADD_FAILURE() << "unexpected open dialog";
    return {};
  }
  auto path = std::move(chosenPaths.front());
  chosenPaths.pop_front();
  return path;
}

std::string ScriptedPrompter::ChooseSaveFile(QWidget*, const QString& caption,
                                             const std::string& proposed, const QString& filters) {
  choosers.push_back({caption, proposed, filters});
  if (chosenPaths.empty()) {
    ADD_FAILURE() << "unexpected save dialog";
    return {};
  }
  auto path = std::move(chosenPaths.front());
  chosenPaths.pop_front();
  return path;
}

int ScriptedPrompter::RunDialog(QDialog& dialog) {
  ++dialogsRun;
  if (dialogActions.empty()) {
    ADD_FAILURE() << "unexpected dialog";
    return QDialog::Rejected;
  }
  auto action = std::move(dialogActions.front());
  dialogActions.pop_front();
  dialog.show();
  const int result = action(dialog);
  dialog.hide();
  return result;
}

std::unique_ptr<Progress> ScriptedPrompter::StartProgress(QWidget* owner,
                                                          std::function<QString(int done)> label,
                                                          int total, bool cancellable) {
  progressStarted.emplace_back(label(0), total);
  if (realProgress)
    return std::make_unique<TimedProgress>(owner, std::move(label), total, cancellable);
  progressDone.push_back(0);
  int cancelAt = -1;
  if (cancellable && !cancelProgressAt.empty()) {
    cancelAt = cancelProgressAt.front();
    cancelProgressAt.pop_front();
  }
  return std::make_unique<ScriptedProgress>(progressDone.back(), cancelAt);
}

}  // namespace zul
