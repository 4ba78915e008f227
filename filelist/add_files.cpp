#include <QString>

#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace {

// One type, shown as on the original dialog; its pattern matches every file, names without a dot
// too (a literal "*.*" would hide those on Linux).
const QString kAllFiles = QStringLiteral("Alle Dateien *.* (*)");

QString FolderInstruction(bool includeSubfolders) {
  return QStringLiteral("Wählen Sie den Ordner, den Sie hinzufügen möchten ") +
         (includeSubfolders ? QStringLiteral("(Unterordner werden ebenfalls hinzugefügt)")
                            : QStringLiteral("(OHNE Unterordner)"));
}

}  // namespace

void CZulboView::OnAddFiles() {
  const std::vector<std::string> paths =
      m_services.prompter.ChooseFiles(this, QString(), m_folderOptions.lastFolder, kAllFiles);
  if (paths.empty()) return;
  for (const std::string& path : paths) AddFile(path);
  RecomputeNewNames();
}

void CZulboView::OnAddFolder() {
  const std::string path = BrowseForFolder(
      this, FolderInstruction(m_folderOptions.includeSubfolders), m_folderOptions.lastFolder);
  if (path.empty()) return;
  ScanFolder(path);
  m_folderOptions.lastFolder = path;
}

std::string CZulboView::BrowseForFolder(QWidget* owner, const QString& instruction,
                                        const std::string& initialFolder) {
  return m_services.prompter.ChooseFolder(owner, instruction, initialFolder);
}
