#include <QString>

#include "filelist/zulbo_view.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

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
  // The dialog hands names over as text: a name that is not valid UTF-8 comes back altered and
  // names no file. Such a path is not listed; the user learns which and what keeps the name.
  QStringList missing;
  for (const std::string& path : paths) {
    const Result<FileStatus> status = m_services.files.Examine(path);
    if (!status && status.error() == std::errc::no_such_file_or_directory)
      missing.push_back(TextOf(path));
    else
      AddFile(path);
  }
  RecomputeNewNames();
  if (missing.empty()) return;
  const QString count =
      missing.size() == 1 ? QStringLiteral(
                                "1 Datei konnte nicht hinzugefügt werden, weil es sie unter diesem "
                                "Namen nicht gibt:")
                          : QStringLiteral(
                                "%1 Dateien konnten nicht hinzugefügt werden, weil es sie unter "
                                "diesen Namen nicht gibt:")
                                .arg(missing.size());
  m_services.prompter.MessageWithList(
      this, QStringLiteral("Datei(en) hinzufügen"),
      count + QStringLiteral("\n\nDer Dateidialog gibt Namen, die nicht in UTF-8 geschrieben "
                             "sind, verändert zurück. „Verzeichnis hinzufügen...“ und das Ziehen "
                             "der Dateien auf das Fenster übernehmen solche Namen unverändert."),
      missing, Prompter::Buttons::Ok, Prompter::Icon::Warning);
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

}  // namespace zul
