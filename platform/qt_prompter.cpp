#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/prompter.h"
#include "platform/text_bytes.h"
#include "platform/timed_progress.h"

namespace {

std::string ToPath(const QString& path) { return BytesOf(path); }

QString FromPath(const std::string& path) { return TextOf(path); }

// Qt's own dialogs and message boxes.
class QtDialogPrompter : public Prompter {
 public:
  Answer Message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                 Icon icon) override {
    QMessageBox box(owner);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Zul") : title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
      case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
      case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
      case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
      case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
      case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::YesNo) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
    } else {
      box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return Answer::Yes;
      case QMessageBox::No:
        return Answer::No;
      case QMessageBox::Ok:
        return Answer::Ok;
      default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
  }

  std::vector<std::string> ChooseFiles(QWidget* owner, const QString& caption,
                                       const std::string& folder, const QString& filters) override {
    std::vector<std::string> paths;
    for (const QString& path :
         QFileDialog::getOpenFileNames(owner, caption, FromPath(folder), filters, nullptr,
                                       QFileDialog::HideNameFilterDetails))
      paths.push_back(ToPath(path));
    return paths;
  }

  std::string ChooseFolder(QWidget* owner, const QString& instruction,
                           const std::string& initialFolder) override {
    return ToPath(QFileDialog::getExistingDirectory(owner, instruction, FromPath(initialFolder)));
  }

  std::string ChooseOpenFile(QWidget* owner, const QString& caption,
                             const QString& filters) override {
    return ToPath(QFileDialog::getOpenFileName(owner, caption, QString(), filters, nullptr,
                                               QFileDialog::HideNameFilterDetails));
  }

  std::string ChooseSaveFile(QWidget* owner, const QString& caption, const std::string& proposed,
                             const QString& filters) override {
    return ToPath(QFileDialog::getSaveFileName(owner, caption, FromPath(proposed), filters, nullptr,
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
