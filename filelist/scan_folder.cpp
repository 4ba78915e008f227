#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/folder_cache.h"
#include "engine/random.h"
#include "filelist/zulbo_view.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

namespace zul {

namespace {

// Rows found are handed to the list this many at a time: one insertion for the view each.
constexpr int kRowsPerChunk = 4096;

// One ScanFolder command: walks the tree depth first, in the order the file system delivers the
// entries, with an explicit stack so that depth cannot exhaust the call stack. A file's times are
// read relative to its open folder, not by its full path.
//
// Every folder's scan ends with a recomputation of all names, which draws one random value per
// row. Only the last one (the chosen folder's) is ever seen, so the earlier ones are counted and
// skipped in one jump of the generator: the final names and the generator's state are the same
// as with a full recomputation after every folder, without its quadratic cost.
class FolderScan {
 public:
  FolderScan(CZulboView& view, FileSystem& files, Progress& progress)
      : m_view(view),
        m_files(files),
        m_folders(files),
        m_progress(progress),
        m_subfolders(view.Options().includeSubfolders) {}

  // Returns how many files were added when the user cancelled, or -1 when the scan ran to its end.
  int Run(const std::string& folder) {
    // The rows name their folders absolutely, as AddFile does.
    Enter(folder.empty() ? folder : AbsolutePath(folder));
    while (!m_stack.empty()) {
      Frame& frame = m_stack.back();
      if (m_cancelled || frame.next == frame.entries.size()) {
        m_stack.pop_back();
        if (!m_stack.empty() && !m_cancelled)
          m_skippedDraws += uint64_t(m_view.RowCount()) + uint64_t(m_found.Count());
        continue;
      }
      const FolderEntry& entry = frame.entries[frame.next++];
      if (entry.name.empty() || entry.name[0] == '.') continue;
      if (entry.kind == FolderEntry::Kind::Folder) {
        if (m_subfolders) EnterSubfolder(frame.folder + entry.name, entry.isLink);
        continue;
      }
      Add(frame.Directory(), entry.name);
      if (!m_progress.Continue(++m_foundTotal)) m_cancelled = true;
    }
    m_view.Model().Append(std::move(m_found));
    SkipRandom(m_skippedDraws);
    m_view.RecomputeNewNames();
    return m_cancelled ? m_foundTotal : -1;
  }

 private:
  struct Frame {
    std::string folder;  // ends with '/'
    std::vector<FolderEntry> entries;
    size_t next = 0;

    // The folder as a row names it: without the '/' at its end.
    std::string_view Directory() const {
      return std::string_view(folder).substr(0, folder.size() - 1);
    }
  };

  void Add(std::string_view directory, const std::string& name) {
    std::optional<FileTimes> times;
    if (const Result<FileTimes> read = m_folders.ReadTimes(directory, name)) times = *read;
    m_found.Append(directory, name, times);
    if (m_found.Count() == kRowsPerChunk) m_view.Model().Append(std::move(m_found));
  }

  // A folder already scanned in this command is not scanned again: that ends link loops. A link
  // whose target cannot be identified is not followed, since its loop could not be detected.
  void EnterSubfolder(std::string path, bool isLink) {
    const std::optional<FileIdentity> identity = IdentifyFolder(path);
    if (!identity ? isLink : Seen(*identity)) return;
    Enter(std::move(path), identity);
  }

  void Enter(const std::string& folder) { Enter(folder, IdentifyFolder(folder)); }

  void Enter(std::string folder, const std::optional<FileIdentity>& identity) {
    if (identity) m_scanned.insert({identity->device, identity->inode});
    if (folder.empty() || folder.back() != '/') folder += '/';
    Frame frame;
    frame.folder = std::move(folder);
    // A folder that cannot be read contributes what was read before the failure, usually nothing.
    m_files.ListFolder(frame.folder, frame.entries);
    m_stack.push_back(std::move(frame));
    if (!m_progress.Continue(m_foundTotal)) m_cancelled = true;
  }

  // The identity of the folder a path leads to (links followed); empty when it is none.
  std::optional<FileIdentity> IdentifyFolder(const std::string& path) {
    const Result<FileStatus> status = m_files.Examine(path);
    if (!status || status->kind != FileKind::Folder) return std::nullopt;
    return status->identity;
  }

  bool Seen(const FileIdentity& identity) const {
    return m_scanned.contains({identity.device, identity.inode});
  }

  CZulboView& m_view;
  FileSystem& m_files;
  FolderCache m_folders;
  Progress& m_progress;
  const bool m_subfolders;
  std::vector<Frame> m_stack;
  std::set<std::pair<uint64_t, uint64_t>> m_scanned;
  FileRows m_found;  // found and not yet handed to the list
  uint64_t m_skippedDraws = 0;
  int m_foundTotal = 0;
  bool m_cancelled = false;
};

}  // namespace

void CZulboView::ScanFolder(const std::string& folder) {
  const CheckHold hold(*this);
  const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
      this,
      [](int found) {
        return QStringLiteral("Dateien werden hinzugefügt...\n%1 Dateien gefunden").arg(found);
      },
      0, true);
  const int added = FolderScan(*this, m_services.files, *progress).Run(folder);
  if (added < 0) return;
  // The rows found stay; the user learns how far the scan came.
  emit StatusMessage(
      added == 1 ? QStringLiteral("Hinzufügen abgebrochen: 1 Datei hinzugefügt.")
                 : QStringLiteral("Hinzufügen abgebrochen: %1 Dateien hinzugefügt.").arg(added));
}

}  // namespace zul
