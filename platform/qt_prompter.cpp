#include <QDialog>
#include <QFileDialog>

#include "platform/folder_chooser.h"
#include "platform/message_boxes.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"
#include "platform/timed_progress.h"

namespace zul {

namespace {

// Qt's own dialogs and message boxes.
class QtDialogPrompter : public Prompter {
 public:
  Answer Message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                 Icon icon) override {
    return ShowMessage(owner, title, text, buttons, icon);
  }

  Answer MessageWithList(QWidget* owner, const QString& title, const QString& text,
                         const QStringList& items, Buttons buttons, Icon icon) override {
    return ShowListMessage(owner, title, text, items, buttons, icon);
  }

  std::vector<std::string> ChooseFiles(QWidget* owner, const QString& caption,
                                       const std::string& folder, const QString& filters) override {
    std::vector<std::string> paths;
    for (const QString& path : QFileDialog::getOpenFileNames(
             owner, caption, TextOf(folder), filters, nullptr, QFileDialog::HideNameFilterDetails))
      paths.push_back(BytesOf(path));
    return paths;
  }

  std::string ChooseFolder(QWidget* owner, const QString& instruction,
                           const std::string& initialFolder) override {
    return ShowFolderChooser(owner, instruction, initialFolder);
  }

  std::string ChooseOpenFile(QWidget* owner, const QString& caption, const std::string& folder,
                             const QString& filters) override {
    return BytesOf(QFileDialog::getOpenFileName(owner, caption, TextOf(folder), filters, nullptr,
                                                QFileDialog::HideNameFilterDetails));
  }

  std::string ChooseSaveFile(QWidget* owner, const QString& caption, const std::string& proposed,
                             const QString& filters) override {
    return BytesOf(QFileDialog::getSaveFileName(owner, caption, TextOf(proposed), filters, nullptr,
                                                QFileDialog::HideNameFilterDetails));
  }

  int RunDialog(QDialog& dialog) override { return dialog.exec(); }

  std::unique_ptr<Progress> StartProgress(QWidget* owner, std::function<QString(int done)> label,
                                          int total, bool cancellable) override {
    return std::make_unique<TimedProgress>(owner, std::move(label), total, cancellable);
  }
};

}  // namespace

Prompter& QtPrompter() {
  static QtDialogPrompter prompter;
  return prompter;
}

}  // namespace zul
