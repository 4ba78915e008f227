#pragma once

#include <string>
#include <vector>

#include <QString>

class QDialog;
class QWidget;

// Every modal question, message and file or folder chooser goes through this interface, so that
// every handler can be tested without a display: production shows Qt's dialogs, tests answer from
// a script (platform/testing/scripted_prompter.h). Paths are byte strings.
class Prompter {
 public:
  enum class Buttons { Ok, YesNo };
  enum class Icon { None, Question, Warning, Information, Critical };
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~Prompter() = default;

  // A modal message box; an empty title gives the application title "Zul".
  virtual Answer Message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                         Icon icon) = 0;

  // Several existing files; an empty list when cancelled. Each filter "Name (patterns)" shows
  // its name alone.
  virtual std::vector<std::string> ChooseFiles(QWidget* owner, const QString& caption,
                                               const std::string& folder,
                                               const QString& filters) = 0;

  // One folder; empty when cancelled. The instruction stands above the folder tree.
  virtual std::string ChooseFolder(QWidget* owner, const QString& instruction,
                                   const std::string& initialFolder) = 0;

  // The document's open and save dialogs; empty when cancelled. Filters show as with ChooseFiles.
  virtual std::string ChooseOpenFile(QWidget* owner, const QString& caption,
                                     const QString& filters) = 0;
  virtual std::string ChooseSaveFile(QWidget* owner, const QString& caption,
                                     const std::string& proposed, const QString& filters) = 0;

  // Shows a modal dialog and returns its result code.
  virtual int RunDialog(QDialog& dialog) = 0;
};

// The prompter in use: Qt's unless a test installed another (nullptr restores Qt's).
Prompter& CurrentPrompter();
void SetPrompter(Prompter* prompter);
