#include "core/folder_walk.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "core/folder_cache.h"
#include "platform/file_system.h"

namespace zul {

namespace {

// Depth first with a stack of its own, so that no depth of folders exhausts the call stack.
class Walk {
 public:
  Walk(FileSystem& files, bool subfolders, FileRows& rows, const WalkProgress& progress,
       const NeedsTimes& needsTimes, std::vector<FolderListing>* listings)
      : m_files(files),
        m_folders(files),
        m_subfolders(subfolders),
        m_rows(rows),
        m_progress(progress),
        m_needsTimes(needsTimes),
        m_listings(listings) {}

  WalkOutcome Run(const std::string& folder) {
    const Result<FileStatus> status = m_files.Examine(folder);
    Enter(folder, status ? status->identity : FileIdentity{});
    while (!m_stack.empty()) {
      Frame& frame = m_stack.back();
      if (m_outcome.cancelled || frame.next == frame.entries.size()) {
        m_stack.pop_back();
        if (!m_stack.empty() && !m_outcome.cancelled) {
          ++m_outcome.subfoldersEnded;
          m_outcome.foundAtSubfolderEnds += static_cast<uint64_t>(m_outcome.found);
        }
        continue;
      }
      const FolderEntry& entry = frame.entries[frame.next++];
      if (entry.name.empty() || entry.name[0] == '.') continue;
      // A symbolic link is a name like any file's, whatever it leads to, and is never followed:
      // a walk stays inside the tree it was given, as find without -L does.
      if (entry.kind == FileKind::Folder && !entry.isLink) {
        if (m_subfolders) EnterSubfolder(frame.prefix + entry.name);
        continue;
      }
      AddFile(frame, entry);
      ++m_outcome.found;
      if (m_progress && !m_progress(m_outcome.found)) m_outcome.cancelled = true;
    }
    return m_outcome;
  }

 private:
  struct Frame {
    std::string prefix;  // the folder's path with a '/' at its end
    std::vector<FolderEntry> entries;
    size_t next = 0;
    uint64_t device = 0;
    std::optional<bool> listingIdentifies;  // judged at the folder's first file
    std::optional<bool> keepsBirth;         // asked at the first lookup

    std::string_view Directory() const {
      return std::string_view(prefix).substr(0, prefix.size() - 1);
    }
  };

  void EnterSubfolder(const std::string& path) {
    const Result<FileStatus> status = m_files.Examine(path);
    if (status && status->kind == FileKind::Folder) Enter(path, status->identity);
  }

  void Enter(std::string path, const FileIdentity& identity) {
    if (identity != FileIdentity{} && !m_seen.insert({identity.device, identity.inode}).second)
      return;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    Frame frame;
    frame.prefix = path == "/" ? path : path + "/";
    frame.device = identity.device;
    const auto readAt = std::chrono::steady_clock::now();
    // An unreadable folder gives what could be read before the failure, usually nothing.
    const std::error_code error = m_files.ListFolder(path, frame.entries);
    std::sort(frame.entries.begin(), frame.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    if (m_listings && !error) {
      FolderListing& listing = m_listings->emplace_back();
      listing.directory = frame.Directory();
      listing.readAt = readAt;
      listing.names.reserve(frame.entries.size());
      for (const FolderEntry& entry : frame.entries) listing.names.push_back(entry.name);
    }
    m_stack.push_back(std::move(frame));
    if (m_progress && !m_progress(m_outcome.found)) m_outcome.cancelled = true;
  }

  // The identity of a folder's files comes from its listing, without a lookup per file, unless
  // the listing's inode of the folder's first file differs from a lookup's (as on some overlays).
  // They carry no birth time then.
  void AddFile(Frame& frame, const FolderEntry& entry) {
    const std::string_view directory = frame.Directory();
    const Result<int> folder = m_folders.Open(directory);
    const auto lookup = [&]() -> FileIdentity {
      if (!folder) return {};
      Result<FileIdentity> identity = m_files.IdentifyInFolder(*folder, entry.name);
      if (!identity) return {};
      // An overlay gives a file a new birth time when a rename copies it up: no proof there.
      if (!frame.keepsBirth) frame.keepsBirth = m_files.KeepsBirth(*folder);
      if (!*frame.keepsBirth) identity->birth = 0;
      return *identity;
    };
    FileIdentity identity;
    if (!frame.listingIdentifies) {
      identity = lookup();
      frame.listingIdentifies = identity.inode == entry.inode && identity.device == frame.device;
    } else {
      identity = *frame.listingIdentifies ? FileIdentity{frame.device, entry.inode, 0} : lookup();
    }
    std::optional<FileTimes> times;
    if (folder && (!m_needsTimes || m_needsTimes(entry.name))) {
      if (const Result<FileTimes> read = m_files.ReadTimesInFolder(*folder, entry.name))
        times = *read;
    }
    m_rows.Append(directory, entry.name, times, identity);
  }

  FileSystem& m_files;
  FolderCache m_folders;
  const bool m_subfolders;
  FileRows& m_rows;
  const WalkProgress& m_progress;
  const NeedsTimes& m_needsTimes;
  std::vector<FolderListing>* m_listings;
  std::vector<Frame> m_stack;
  std::set<std::pair<uint64_t, uint64_t>> m_seen;
  WalkOutcome m_outcome;
};

}  // namespace

WalkOutcome WalkFolder(FileSystem& files, const std::string& folder, bool subfolders,
                       FileRows& rows, const WalkProgress& progress, const NeedsTimes& needsTimes,
                       std::vector<FolderListing>* listings) {
  return Walk(files, subfolders, rows, progress, needsTimes, listings).Run(folder);
}

}  // namespace zul
