#include "document/zulbo_doc.h"

#include <algorithm>

#include "core/full_path.h"
#include "document/filter_file.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

const QString kOpenFailed = QStringLiteral("Fehler beim Öffnen des Dokuments.");
const QString kSaveFailed = QStringLiteral("Fehler beim Speichern des Dokuments.");

bool HasExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.find('.', nameStart) != std::string::npos;
}

std::optional<FileIdentity> Identify(FileSystem& files, const std::string& path) {
  const Result<FileStatus> status = files.Examine(path);
  if (!status) return std::nullopt;
  return status->identity;
}

void ShowFileError(Prompter& prompter, QWidget* owner, const QString& what, std::error_code error,
                   const std::string& path) {
  prompter.Message(owner, QString(), what + QLatin1Char('\n') + TextOf(FileErrorText(error, path)),
                   Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace

CZulboDoc::CZulboDoc(FilterSettings& filter, CZulboView& view, const Services& services,
                     QWidget* owner)
    : m_filter(filter), m_view(view), m_services(services), m_owner(owner) {}

QString CZulboDoc::Title() const {
  if (m_path.empty()) return QStringLiteral("Umbennenungstool");
  return TextOf(m_path.substr(m_path.rfind('/') + 1));
}

// Each description is followed by its patterns; the dialogs show the descriptions only, so the
// second reads "Alle Dateien (*.*)" while it matches names without a dot as well.
QString CZulboDoc::FileFilters() { return QStringLiteral(".fil (*.fil);;Alle Dateien (*.*) (*)"); }

std::string CZulboDoc::ProposedFileName(const QString& title) {
  const std::string bytes = BytesOf(title);
  return bytes.substr(0, bytes.find_first_of(" #%;/\\")) + ".fil";
}

bool CZulboDoc::Open(const std::string& path) {
  const std::string full = FullPath(m_services.files, path);
  if (!m_path.empty() && full == m_path) return true;

  const Result<FilterFile> read = ReadFilterFile(m_services.files, full, m_filter);
  if (!read) {
    ShowFileError(m_services.prompter, m_owner, kOpenFailed, read.error(), full);
    return false;
  }
  switch (read->kind) {
    case FilterFile::Kind::Filter:
      m_filter = read->filter;
      SetPathName(full, read->status.identity);
      break;
    case FilterFile::Kind::EmptyFilter:
      SetPathName(full, read->status.identity);
      break;
    case FilterFile::Kind::NotAFilter:
      m_view.AddFile(full);
      m_view.RecomputeNewNames();
      break;
  }
  m_view.OnInitialUpdate();
  return true;
}

bool CZulboDoc::OnFileOpen() {
  const std::string path = m_services.prompter.ChooseOpenFile(m_owner, QStringLiteral("Öffnen"),
                                                              m_folder, FileFilters());
  return !path.empty() && Open(path);
}

bool CZulboDoc::OnFileSave() {
  if (m_path.empty()) return OnFileSaveAs();
  const Result<FileStatus> status = m_services.files.Examine(m_path);
  if (status && !status->writable) return OnFileSaveAs();
  // Another file may stand at the path by now (a renaming run moved the document's file away
  // and another one in its place, say).
  if (status && status->identity != m_identity &&
      !MayReplace(m_path, QStringLiteral("Filter Speichern")))
    return OnFileSaveAs();
  if (!Write(m_path)) return false;
  m_identity = Identify(m_services.files, m_path);  // the written file is a new one
  return true;
}

bool CZulboDoc::OnFileSaveAs() {
  // A document that has a file proposes that file; the title with ".fil" would double the
  // extension.
  std::string proposed = m_path.empty() ? ProposedFileName(Title()) : m_path;
  if (m_path.empty() && !m_folder.empty()) proposed = m_folder + '/' + proposed;
  std::string path;
  for (;;) {
    path = m_services.prompter.ChooseSaveFile(m_owner, QStringLiteral("Speichern unter"), proposed,
                                              FileFilters());
    if (path.empty()) return false;
    if (HasExtension(path)) break;
    // The dialog confirmed the name as typed; the name with ".fil" may be another, existing file.
    path += ".fil";
    if (!m_services.files.Examine(path) || MayReplace(path, QStringLiteral("Speichern unter")))
      break;
    proposed = path;
  }
  path = FullPath(m_services.files, path);
  if (!Write(path)) return false;
  SetPathName(path, Identify(m_services.files, path));
  return true;
}

bool CZulboDoc::MayReplace(const std::string& path, const QString& title) {
  const QString question =
      QStringLiteral("„%1“ existiert bereits.\nSoll die Datei ersetzt werden?").arg(TextOf(path));
  return m_services.prompter.Message(m_owner, title, question, Prompter::Buttons::YesNo,
                                     Prompter::Icon::Warning) == Prompter::Answer::Yes;
}

// Each rename moves the file from one name to another within its folder; the document's file is
// the one that bears the document's name before the rename and its identity after it.
void CZulboDoc::FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps, bool back) {
  if (m_path.empty() || !m_identity) return;
  std::string path = m_path;
  for (const size_t step : steps) {
    const RenameStep& rename = plan[step];
    const std::string& before = back ? rename.to : rename.from;
    if (path.compare(path.rfind('/') + 1, std::string::npos, before) != 0) continue;
    const std::string after = back ? rename.FromPath() : rename.ToPath();
    if (Identify(m_services.files, after) == m_identity) path = FullPath(m_services.files, after);
  }
  if (path != m_path) SetPathName(path, m_identity);
}

bool CZulboDoc::Write(const std::string& path) {
  std::string bytes;
  WriteTo(m_filter, bytes);
  if (const std::error_code error = m_services.files.WriteFileAtomically(path, bytes)) {
    ShowFileError(m_services.prompter, m_owner, kSaveFailed, error, path);
    return false;
  }
  return true;
}

void CZulboDoc::SetPathName(const std::string& path, std::optional<FileIdentity> identity) {
  m_path = path;
  m_identity = identity;
  if (const size_t slash = path.rfind('/'); slash != std::string::npos)
    m_folder = path.substr(0, std::max<size_t>(slash, 1));
  emit TitleChanged(Title());
}

}  // namespace zul
