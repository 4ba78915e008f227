#include "document/zulbo_doc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <QFile>

#include "document/file_error_text.h"
#include "document/filter_file.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace {

const QString kOpenFailed = QStringLiteral("Fehler beim Öffnen des Dokuments.");
const QString kSaveFailed = QStringLiteral("Fehler beim Speichern des Dokuments.");

// Reads a file descriptor in blocks; a read error ends the data and is kept in Error().
class FdLineSource : public LineSource {
 public:
  explicit FdLineSource(int fd) : m_fd(fd) {}

  int NextByte() override {
    if (m_next == m_filled && !Fill()) return -1;
    return static_cast<unsigned char>(m_buffer[m_next++]);
  }
  int Error() const { return m_error; }

 private:
  bool Fill() {
    if (m_error != 0 || m_atEnd) return false;
    ssize_t count;
    do {
      count = ::read(m_fd, m_buffer, sizeof m_buffer);
    } while (count < 0 && errno == EINTR);
    if (count < 0) m_error = errno;
    if (count <= 0) {
      m_atEnd = true;
      return false;
    }
    m_next = 0;
    m_filled = static_cast<size_t>(count);
    return true;
  }

  int m_fd;
  char m_buffer[65536];
  size_t m_next = 0;
  size_t m_filled = 0;
  int m_error = 0;
  bool m_atEnd = false;
};

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return m_fd; }
  // Closes now; 0 or the errno of the close (a late write error shows here).
  int Close() {
    const int result = ::close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    return result;
  }

 private:
  int m_fd;
};

// Absolute and tidied, still naming the same file: "." and doubled slashes are dropped by text,
// but ".." only by the system, since after a symbolic link it leads elsewhere than the text says.
std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) return path;
  if (std::find(full.begin(), full.end(), "..") == full.end())
    return full.lexically_normal().string();
  const std::filesystem::path name = full.filename();
  const bool plainName = !name.empty() && name != "." && name != "..";
  const std::filesystem::path folder =
      std::filesystem::canonical(plainName ? full.parent_path() : full, error);
  if (error) return full.string();
  return plainName ? (folder / name).string() : folder.string();
}

// 0, or the errno of the first failing write.
int WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(count);
  }
  return 0;
}

// Read-only as the file's attributes say, whoever runs the program (root may write anyway).
bool IsReadOnly(const struct stat& info, const std::string& path) {
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Writes `bytes` as the file at `path`. The old content is replaced only once the new one is
// complete on disk (a temporary file beside it, then renamed over it), so a full disk never
// leaves a cut filter file behind. Where the folder allows no new file, the file is overwritten in
// place. 0 or an errno value.
int WriteFileSafely(const std::string& path, const std::string& bytes) {
  std::string target = path;
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) return S_ISDIR(existing.st_mode) ? EISDIR : EACCES;
    if (IsReadOnly(existing, path)) return EACCES;
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    if (!error) target = resolved.string();
  }
  std::string temporary = target + ".XXXXXX";
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno != EACCES && errno != EPERM && errno != EROFS) return errno;
    FileDescriptor direct(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (direct.Get() < 0) return errno;
    if (const int error = WriteAll(direct.Get(), bytes)) return error;
    return direct.Close();
  }
  int error = WriteAll(fd.Get(), bytes);
  if (error == 0 && ::fchmod(fd.Get(), exists ? existing.st_mode & 07777 : NewFileMode()) != 0)
    error = errno;
  if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
  if (const int closeError = fd.Close(); error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temporary.c_str());
  return error;
}

bool HasExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.find('.', nameStart) != std::string::npos;
}

void ShowFileError(QWidget* owner, const QString& what, int error, const std::string& path) {
  CurrentPrompter().Message(owner, QString(), what + QLatin1Char('\n') + FileErrorText(error, path),
                            Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace

CZulboDoc::CZulboDoc(FilterSettings& filter, CZulboView& view, QWidget* owner)
    : m_filter(filter), m_view(view), m_owner(owner) {}

QString CZulboDoc::Title() const {
  if (m_path.empty()) return QStringLiteral("Umbennenungstool");
  return QFile::decodeName(m_path.substr(m_path.rfind('/') + 1).c_str());
}

// Each description is followed by its patterns; the dialogs show the descriptions only, so the
// second reads "Alle Dateien (*.*)" while it matches names without a dot as well.
QString CZulboDoc::FileFilters() { return QStringLiteral(".fil (*.fil);;Alle Dateien (*.*) (*)"); }

std::string CZulboDoc::ProposedFileName(const QString& title) {
  const std::string bytes = QFile::encodeName(title).toStdString();
  return bytes.substr(0, bytes.find_first_of(" #%;/\\")) + ".fil";
}

bool CZulboDoc::Open(const std::string& path) {
  const std::string full = FullPath(path);
  if (!m_path.empty() && full == m_path) return true;

  // Not blocking, so that a FIFO without a writer reads as empty instead of hanging.
  FileDescriptor fd(::open(full.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  int error = fd.Get() < 0 ? errno : ::fstat(fd.Get(), &info) != 0 ? errno : 0;
  if (error == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
  if (error == 0 && S_ISREG(info.st_mode)) ::fcntl(fd.Get(), F_SETFL, 0);
  if (error != 0) {
    ShowFileError(m_owner, kOpenFailed, error, full);
    return false;
  }

  if (S_ISREG(info.st_mode) && info.st_size == 0) {
    SetPathName(full);
  } else {
    FilterSettings read = m_filter;
    FdLineSource source(fd.Get());
    const FilterReadResult result = ReadFrom(read, source);
    if (source.Error() != 0) {
      ShowFileError(m_owner, kOpenFailed, source.Error(), full);
      return false;
    }
    if (result == ReadOk) {
      m_filter = read;
      SetPathName(full);
    } else {
      m_view.AddFile(full);
      m_view.RecomputeNewNames();
    }
  }
  m_view.OnInitialUpdate();
  return true;
}

bool CZulboDoc::OnFileOpen() {
  const std::string path =
      CurrentPrompter().ChooseOpenFile(m_owner, QStringLiteral("Öffnen"), FileFilters());
  return !path.empty() && Open(path);
}

bool CZulboDoc::OnFileSave() {
  struct stat info {};
  if (m_path.empty() || (::stat(m_path.c_str(), &info) == 0 && IsReadOnly(info, m_path)))
    return OnFileSaveAs();
  return Write(m_path);
}

bool CZulboDoc::OnFileSaveAs() {
  // A document that has a file proposes that file; the title with ".fil" would double the
  // extension.
  std::string proposed = m_path.empty() ? ProposedFileName(Title()) : m_path;
  std::string path;
  for (;;) {
    path = CurrentPrompter().ChooseSaveFile(m_owner, QStringLiteral("Speichern unter"), proposed,
                                            FileFilters());
    if (path.empty()) return false;
    if (HasExtension(path)) break;
    // The dialog confirmed the name as typed; the name with ".fil" may be another, existing file.
    path += ".fil";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) break;
    const QString question =
        QStringLiteral("„%1“ existiert bereits.\nSoll die Datei ersetzt werden?")
            .arg(QFile::decodeName(path.c_str()));
    if (CurrentPrompter().Message(m_owner, QStringLiteral("Speichern unter"), question,
                                  Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) == Prompter::Answer::Yes)
      break;
    proposed = path;
  }
  path = FullPath(path);
  if (!Write(path)) return false;
  SetPathName(path);
  return true;
}

bool CZulboDoc::Write(const std::string& path) {
  std::string bytes;
  WriteTo(m_filter, bytes);
  if (const int error = WriteFileSafely(path, bytes)) {
    ShowFileError(m_owner, kSaveFailed, error, path);
    return false;
  }
  return true;
}

void CZulboDoc::SetPathName(const std::string& path) {
  m_path = path;
  emit TitleChanged(Title());
}
