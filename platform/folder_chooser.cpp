#include "platform/folder_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/dialog_frame.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

// Where the browser starts: the given folder, else the top of what the user keeps, the desktop.
// Never the file dialogs' last folder, which Qt would take for an empty start.
QString StartFolder(const std::string& initialFolder) {
  if (!initialFolder.empty()) return TextOf(initialFolder);
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  return !desktop.isEmpty() && QDir(desktop).exists() ? desktop : QDir::homePath();
}

}  // namespace

std::string ShowFolderChooser(QWidget* owner, const QString& instruction,
                              const std::string& initialFolder) {
  QDialog frame(owner);
  UseDialogTitleBar(frame);
  frame.setWindowTitle(QStringLiteral("Ordner hinzufügen"));
  auto* layout = new QVBoxLayout(&frame);
  auto* text = new QLabel(instruction, &frame);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  layout->addWidget(text);
  // Qt's own folder dialog, embedded, since a native one has no room for the instruction.
  auto* browser = new QFileDialog(&frame);
  browser->setWindowFlags(Qt::Widget);
  browser->setOption(QFileDialog::DontUseNativeDialog);
  browser->setOption(QFileDialog::ShowDirsOnly);
  browser->setFileMode(QFileDialog::Directory);
  browser->setDirectory(StartFolder(initialFolder));
  layout->addWidget(browser);
  QObject::connect(browser, &QDialog::finished, &frame, &QDialog::done);
  if (frame.exec() != QDialog::Accepted) return {};
  const QStringList chosen = browser->selectedFiles();
  return chosen.isEmpty() ? std::string() : BytesOf(chosen.front());
}

}  // namespace zul
