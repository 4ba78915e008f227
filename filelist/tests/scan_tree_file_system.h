#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/testing/memory_file_system.h"

namespace zul {

// A folder tree in memory that delivers entries in the order they were added, with links to
// folders and folders that cannot be read. Every file has the same times.
class ScanTreeFileSystem : public MemoryFileSystem {
 public:
  // Adds an entry to a folder (paths without a trailing '/'); a folder entry creates the folder.
  void File(const std::string& folder, const std::string& name, bool isLink = false) {
    Folder(folder).push_back({name, FolderEntry::Kind::File, isLink});
  }
  void Sub(const std::string& folder, const std::string& name) {
    Folder(folder).push_back({name, FolderEntry::Kind::Folder, false});
    Folder(folder + "/" + name);
  }
  // A link named `name` in `folder` leading to the folder `target`.
  void LinkToFolder(const std::string& folder, const std::string& name, const std::string& target) {
    Folder(folder).push_back({name, FolderEntry::Kind::Folder, true});
    m_links[folder + "/" + name] = target;
  }
  void Unreadable(const std::string& folder) { m_unreadable.insert(folder); }

  std::vector<std::string> listed;  // the folders listed, as resolved paths

  Result<FileTimes> ReadTimes(const std::string&) override { return kTimes; }
  Result<FileTimes> ReadTimesInFolder(int, const std::string&) override { return kTimes; }

  // Every file has the same times, wherever it is: any folder opens for reading them.
  Result<int> OpenFolder(const std::string&) override { return 0; }
  void CloseFolder(int) override {}

  std::error_code ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
    const std::string folder = Resolve(path);
    listed.push_back(folder);
    if (m_unreadable.contains(folder) || !m_folders.contains(folder)) return ErrnoCode(EACCES);
    entries = m_folders[folder];
    return {};
  }
  // A folder, or a file entry of a folder.
  Result<FileStatus> Examine(const std::string& path) override {
    const std::string resolved = Resolve(path);
    const auto found = m_ids.find(resolved);
    if (found != m_ids.end()) return FileStatus{FileKind::Folder, 0, {7, found->second}, true};
    const size_t slash = resolved.rfind('/');
    const auto folder = m_folders.find(resolved.substr(0, slash));
    if (slash == std::string::npos || folder == m_folders.end()) return ErrnoCode(ENOENT);
    const std::string name = resolved.substr(slash + 1);
    for (const FolderEntry& entry : folder->second) {
      if (entry.name == name && entry.kind == FolderEntry::Kind::File)
        return FileStatus{FileKind::File, 0, {7, 0}, true};
    }
    return ErrnoCode(ENOENT);
  }

 private:
  std::vector<FolderEntry>& Folder(const std::string& path) {
    m_ids.emplace(path, m_ids.size() + 1);
    return m_folders[path];
  }

  // Follows links component by component; paths are absolute, a trailing '/' is dropped.
  std::string Resolve(const std::string& path) const {
    std::string resolved;
    size_t start = 0;
    while (start < path.size()) {
      const size_t end = std::min(path.find('/', start), path.size());
      if (end > start) {
        resolved += "/" + path.substr(start, end - start);
        const auto link = m_links.find(resolved);
        if (link != m_links.end()) resolved = link->second;
      }
      start = end + 1;
    }
    return resolved;
  }

  static constexpr FileTimes kTimes{946684799, 1078099205};

  std::map<std::string, std::vector<FolderEntry>> m_folders;
  std::map<std::string, uint64_t> m_ids;
  std::map<std::string, std::string> m_links;
  std::set<std::string> m_unreadable;
};

}  // namespace zul
