#include "cli/collect_rows.h"

#include <algorithm>
#include <set>
#include <utility>

#include "core/folder_cache.h"
#include "platform/error_text.h"
#include "platform/file_system.h"
#include "platform/full_path.h"

namespace zul {

namespace {

class Collector {
 public:
  Collector(FileSystem& files, bool recursive, const NeedsTimes& needsTimes)
      : m_files(files), m_folders(files), m_recursive(recursive), m_needsTimes(needsTimes) {}

  // False, with the reason in `error`, when `path` names nothing at all.
  bool Add(const std::string& given, std::string& error) {
    const std::string path = FullPath(given);
    const Result<FileStatus> status = m_files.Examine(path);
    if (status && status->kind == FileKind::Folder) {
      AddFolder(path, status->identity);
      return true;
    }
    if (!status && !ExistsAsLink(path)) {
      error = FileErrorText(status.error(), given);
      return false;
    }
    AppendRow(path);
    m_collected.identities.push_back(Identify(path));
    return true;
  }

  CollectedRows Take() { return std::move(m_collected); }

 private:
  // The row of the file at the absolute `path`; its dates are read only where they are needed.
  void AppendRow(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size()) {
      m_collected.rows.Append(MakeRecord(m_folders, path));
      return;
    }
    AppendRow(path, std::string_view(path).substr(0, slash + 1), path.substr(slash + 1));
  }
  // The same, with `prefix` the folder's path with a '/' at its end.
  void AppendRow(const std::string& path, std::string_view prefix, const std::string& name) {
    if (!m_needsTimes || m_needsTimes(name)) {
      m_collected.rows.Append(MakeRecord(m_folders, path));
      return;
    }
    m_collected.rows.Append(prefix.substr(0, prefix.size() - 1), name, std::nullopt);
  }

  // A symbolic link whose target is gone is still a name to rename.
  bool ExistsAsLink(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const Result<int> handle = m_files.OpenFolder(folder);
    if (!handle) return false;
    const bool exists = m_files.IdentifyInFolder(*handle, path.substr(slash + 1)).ok();
    m_files.CloseFolder(*handle);
    return exists;
  }

  // The identity of the entry itself (a link is not followed), or none.
  FileIdentity Identify(const std::string& path) {
    const size_t slash = path.rfind('/');
    const Result<int> folder = m_folders.Open(slash == 0 ? "/" : path.substr(0, slash));
    if (!folder) return {};
    const Result<FileIdentity> identity = m_files.IdentifyInFolder(*folder, path.substr(slash + 1));
    return identity ? *identity : FileIdentity{};
  }

  // Whether the listing's inodes of a folder are those a lookup gives, judged by its first file.
  bool ListingIdentifies(const std::string& prefix, const FolderEntry& first) {
    return Identify(prefix + first.name).inode == first.inode;
  }

  // Depth first with a stack of its own, so that no depth of folders exhausts the call stack.
  void AddFolder(const std::string& folder, const FileIdentity& identity) {
    struct Frame {
      std::string prefix;  // the folder's path with a '/' at its end
      std::vector<FolderEntry> entries;
      size_t next = 0;
      uint64_t device = 0;
      std::optional<bool> listingIdentifies;  // judged at the folder's first file
    };
    std::vector<Frame> stack;
    const auto enter = [&](std::string path, const FileIdentity& id) {
      if (!m_seen.insert({id.device, id.inode}).second) return;
      while (path.size() > 1 && path.back() == '/') path.pop_back();
      Frame frame;
      frame.prefix = path == "/" ? path : path + "/";
      frame.device = id.device;
      // An unreadable folder gives what could be read, as in the window.
      m_files.ListFolder(path, frame.entries);
      std::sort(frame.entries.begin(), frame.entries.end(),
                [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
      stack.push_back(std::move(frame));
    };
    enter(folder, identity);
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.entries.size()) {
        stack.pop_back();
        continue;
      }
      const FolderEntry& entry = frame.entries[frame.next++];
      if (entry.name.empty() || entry.name[0] == '.') continue;
      std::string path = frame.prefix + entry.name;
      if (entry.kind != FileKind::Folder) {
        if (!frame.listingIdentifies)
          frame.listingIdentifies = ListingIdentifies(frame.prefix, entry);
        m_collected.identities.push_back(
            *frame.listingIdentifies ? FileIdentity{frame.device, entry.inode, 0} : Identify(path));
        AppendRow(path, frame.prefix, entry.name);
      } else if (m_recursive) {
        if (const Result<FileStatus> sub = m_files.Examine(path); sub)
          enter(std::move(path), sub->identity);
      }
    }
  }

  FileSystem& m_files;
  FolderCache m_folders;  // the folder of the last file, for its times
  const bool m_recursive;
  const NeedsTimes& m_needsTimes;
  CollectedRows m_collected;
  std::set<std::pair<uint64_t, uint64_t>> m_seen;
};

}  // namespace

std::optional<CollectedRows> CollectRows(FileSystem& files, const std::vector<std::string>& paths,
                                         bool recursive, const NeedsTimes& needsTimes,
                                         std::string& error) {
  Collector collector(files, recursive, needsTimes);
  for (const std::string& path : paths) {
    if (!collector.Add(path, error)) return std::nullopt;
  }
  return collector.Take();
}

}  // namespace zul
