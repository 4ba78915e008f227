#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zul {

// A file system held in memory, for tests that need what the disk here cannot give: folders that
// ignore letter case, a smaller name limit, files that cannot be examined. Paths are absolute,
// with '/' between names; there are no links. It keeps the contracts of FileSystem, which the
// contract suite checks against the real one.
class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();

  // Creates a folder (and its parents, which take the defaults).
  void AddFolder(const std::string& path, bool ignoresCase = false, size_t maxName = 255);
  // Creates or replaces a file (its folder must exist); returns its inode.
  uint64_t AddFile(const std::string& path, const std::string& content = {}, FileTimes times = {});
  // Removes a file.
  void Remove(const std::string& path);
  // Deletes a file and makes a new one under its name that gets the same inode number, as a
  // file system may do; it is born now.
  void Recreate(const std::string& path, const std::string& content);
  // Changes a file's status now (as chmod does).
  void Touch(const std::string& path);
  // From now on reports no birth times, as some file systems do.
  void ForgetBirthTimes() { m_birthTimes = false; }

  bool Exists(const std::string& path) const { return Find(path) != nullptr; }
  // The content of a file, or "<missing>".
  std::string Content(const std::string& path) const;
  // The inode of a file or folder; 0 when there is none.
  uint64_t Inode(const std::string& path) const;
  // The names in a folder, in the order it lists them.
  std::vector<std::string> Names(const std::string& folder) const;

  Result<FileTimes> ReadTimes(const std::string& path) override;
  Result<FileTimes> ReadTimesInFolder(int folder, const std::string& name) override;
  Result<FileStatus> Examine(const std::string& path) override;
  // Knows no links: the path tidied; the working folder is the root.
  Result<std::string> RealPath(const std::string& path) override;
  Result<int> OpenFolder(const std::string& path) override;
  void CloseFolder(int folder) override;
  Result<FileIdentity> IdentifyInFolder(int folder, const std::string& name) override;
  Result<FileTrace> TraceInFolder(int folder, const std::string& name) override;
  bool KeepsBirth(int /*folder*/) override { return true; }
  size_t MaxNameLength(int folder) override;
  bool IgnoresCase(int folder) override;
  std::error_code ListNamesInFolder(int folder, size_t limit,
                                    std::vector<std::string>& names) override;
  std::error_code RenameInFolder(int folder, const std::string& from,
                                 const std::string& to) override;
  std::error_code ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  Result<std::unique_ptr<InputFile>> OpenInput(const std::string& path) override;
  std::error_code WriteFileAtomically(const std::string& path, const std::string& bytes) override;

 private:
  struct Node {
    FileKind kind = FileKind::File;
    uint64_t inode = 0;
    std::string content;
    FileTimes times;
    int64_t changed = 0;  // status change, real time in nanoseconds, as the disk keeps it
    int64_t birth = 0;
    bool ignoresCase = false;
    size_t maxName = 255;
    // A folder's entries, in the order they were made (each with its spelling).
    std::vector<std::pair<std::string, uint64_t>> entries;
  };

  const Node* Find(const std::string& path) const;
  Node* Find(const std::string& path);
  // The node of `name` in `folder`, as the folder spells it there.
  std::pair<std::string, uint64_t>* Entry(Node& folder, const std::string& name);
  Node* FolderOfHandle(int folder);
  // The inode of the entry `name` of an opened folder, or why there is none.
  Result<uint64_t> InodeInFolder(int folder, const std::string& name);
  uint64_t NewNode(Node node);
  FileIdentity IdentityOf(uint64_t inode) const;

  std::map<uint64_t, Node> m_nodes;
  uint64_t m_nextInode = 2;
  bool m_birthTimes = true;
  std::vector<uint64_t> m_handles;  // the folder of each handle; 0 once closed
};

}  // namespace zul
