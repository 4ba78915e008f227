#include <cerrno>
#include <string_view>

#include "filelist/zulbo_view.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

namespace {

QString Bytes(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  std::string path;
  path.reserve(directory.size() + 1 + name.size());
  path += directory;
  path += '/';
  path += name;
  return path;
}

// A name that stays inside its folder: a mask from any filter file could otherwise move files
// elsewhere.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Keeps the handle of the folder last used open, since rows of one folder usually follow each
// other.
class FolderHandle {
 public:
  explicit FolderHandle(FileSystem& fs) : m_fs(fs) {}
  ~FolderHandle() { Close(); }
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // A handle >= 0 or -errno.
  int For(std::string_view directory) {
    if (!m_open || directory != m_directory) {
      Close();
      m_directory = directory;
      m_handle = m_fs.OpenFolder(m_directory.empty() ? std::string("/") : m_directory);
      m_open = true;
    }
    return m_handle;
  }

  // Renames within `directory`; 0 or an errno value. Names that would leave the folder fail
  // without reaching the disk.
  int Rename(std::string_view directory, const std::string& from, const std::string& to) {
    if (!IsPlainName(from) || !IsPlainName(to)) return EINVAL;
    const int folder = For(directory);
    return folder < 0 ? -folder : m_fs.RenameInFolder(folder, from, to);
  }

 private:
  void Close() {
    if (m_open && m_handle >= 0) m_fs.CloseFolder(m_handle);
    m_open = false;
  }

  FileSystem& m_fs;
  std::string m_directory;
  int m_handle = -1;
  bool m_open = false;
};

// Renames the files of a run back, last first; returns the texts naming those that stay renamed.
QString RollBack(FolderHandle& folder, const std::vector<std::string>& renamedFrom,
                 const std::vector<std::string>& renamedTo) {
  QString unrestored;
  for (size_t k = renamedTo.size(); k-- > 0;) {
    const std::string& current = renamedTo[k];
    const std::string& original = renamedFrom[k];
    const size_t slash = current.rfind('/');
    const std::string_view directory = std::string_view(current).substr(0, slash);
    if (folder.Rename(directory, current.substr(slash + 1), original.substr(slash + 1)) != 0) {
      unrestored += QStringLiteral("\n") + Bytes(current) +
                    QString::fromUtf8("\n    ursprünglich: ") + Bytes(original) +
                    QStringLiteral("\n");
    }
  }
  return unrestored;
}

}  // namespace

void CZulboView::OnApplyFilter() { RenameAll(); }

void CZulboView::RenameAll() {
  if (m_model->Count() == 0) return;
  FolderHandle folder(CurrentFileSystem());
  std::vector<std::string> renamedFrom;
  std::vector<std::string> renamedTo;
  for (int i = 0; i < m_model->Count(); ++i) {
    const FileEntry& row = m_model->Row(i);
    std::string from = JoinPath(row.directory, row.oldName);
    std::string to = JoinPath(row.directory, row.newName);
    if (folder.Rename(row.directory, row.oldName, row.newName) == 0) {
      renamedFrom.push_back(std::move(from));
      renamedTo.push_back(std::move(to));
      continue;
    }
    const QString question =
        QStringLiteral("Die Datei \n") + Bytes(from) + QStringLiteral("\nkonnte nicht in\n") +
        Bytes(to) +
        QString::fromUtf8(
            "\numbenannt werden.\nSollen die bereits umbenannten Dateien zurückbenannt werden?");
    if (CurrentPrompter().Message(this, QString::fromUtf8("Umbenennung fehlgeschlagen"), question,
                                  Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) != Prompter::Answer::Yes) {
      return;
    }
    const QString unrestored = RollBack(folder, renamedFrom, renamedTo);
    if (!unrestored.isEmpty()) {
      CurrentPrompter().Message(
          this, QString::fromUtf8("Zurückbenennen fehlgeschlagen"),
          QString::fromUtf8("Diese Dateien konnten nicht zurückbenannt werden und tragen "
                            "weiterhin den neuen Namen:\n") +
              unrestored,
          Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
    return;
  }
}
