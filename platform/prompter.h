#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace zul {

// Feedback of one long piece of work, started by Prompter::StartProgress.
class Progress {
 public:
  virtual ~Progress() = default;
  // Tells how far the work has come; cheap enough to call for every step. False once the user
  // has cancelled: the work then stops before its next step.
  virtual bool Continue(int done) = 0;
};

// Every modal question, message, progress display and file or folder chooser goes through this
// interface, so that every handler can be tested without a display: production shows Qt's
// dialogs, tests answer from a script (platform/testing/scripted_prompter.h). Paths are byte
// strings.
class Prompter {
 public:
  enum class Buttons { Ok, YesNo, YesNoCancel };  // Yes is the default button
  enum class Icon { None, Question, Warning, Information, Critical };
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~Prompter() = default;

  // A modal message box; an empty title gives the application title "Zul". Closing it without
  // a button answers No to Yes/No, else Cancel.
  virtual Answer Message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                         Icon icon) = 0;

  // A message about several items, files say: `text` (whose first line gives their count), then
  // the items one a line in a scrolling list of fixed height, so that any number fits the
  // screen.
  virtual Answer MessageWithList(QWidget* owner, const QString& title, const QString& text,
                                 const QStringList& items, Buttons buttons, Icon icon) = 0;

  // Several existing files; an empty list when cancelled. Each filter "Name (patterns)" shows
  // its name alone.
  virtual std::vector<std::string> ChooseFiles(QWidget* owner, const QString& caption,
                                               const std::string& folder,
                                               const QString& filters) = 0;

  // One folder; empty when cancelled. The instruction stands above the folder tree.
  virtual std::string ChooseFolder(QWidget* owner, const QString& instruction,
                                   const std::string& initialFolder) = 0;

  // The document's open and save dialogs; empty when cancelled. Filters show as with ChooseFiles.
  // The open dialog starts in `folder` (empty: the working folder).
  virtual std::string ChooseOpenFile(QWidget* owner, const QString& caption,
                                     const std::string& folder, const QString& filters) = 0;
  virtual std::string ChooseSaveFile(QWidget* owner, const QString& caption,
                                     const std::string& proposed, const QString& filters) = 0;

  // Shows a modal dialog and returns its result code.
  virtual int RunDialog(QDialog& dialog) = 0;

  // Feedback for work of `total` steps (0: unknown). Nothing shows while the work is short; after
  // about half a second a window-modal progress dialog shows `label(done)`, with "Abbrechen"
  // where the work can be cancelled, and the window keeps being painted. It closes when the
  // returned object ends.
  virtual std::unique_ptr<Progress> StartProgress(QWidget* owner,
                                                  std::function<QString(int done)> label, int total,
                                                  bool cancellable) = 0;
};

// Qt's dialogs and message boxes.
Prompter& QtPrompter();

}  // namespace zul
