#include "platform/testing/memory_file_system.h"

#include <algorithm>
#include <chrono>

#include "platform/case_compare.h"

namespace zul {

namespace {

constexpr uint64_t kRoot = 1;
constexpr uint64_t kDevice = 7;

// Inode numbers are never reused here, so a birth time made from them is unique too.
int64_t Birth(uint64_t inode) { return static_cast<int64_t>(inode) * 1'000'000'000; }

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// The names of an absolute path; empty for "/".
std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash > start) names.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return names;
}

std::pair<std::string, std::string> FolderAndName(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"/", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

class MemoryInputFile : public InputFile {
 public:
  MemoryInputFile(std::string content, const FileStatus& status)
      : m_content(std::move(content)), m_status(status) {}
  const FileStatus& Status() const override { return m_status; }
  Result<size_t> Read(char* buffer, size_t size) override {
    const size_t count = std::min(size, m_content.size() - m_next);
    std::copy_n(m_content.data() + m_next, count, buffer);
    m_next += count;
    return count;
  }

 private:
  std::string m_content;
  FileStatus m_status;
  size_t m_next = 0;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() {
  Node root;
  root.kind = FileKind::Folder;
  root.inode = kRoot;
  m_nodes.emplace(kRoot, std::move(root));
}

uint64_t MemoryFileSystem::NewNode(Node node) {
  node.inode = m_nextInode++;
  node.changed = Now();
  node.birth = Birth(node.inode);
  const uint64_t inode = node.inode;
  m_nodes.emplace(inode, std::move(node));
  return inode;
}

std::pair<std::string, uint64_t>* MemoryFileSystem::Entry(Node& folder, const std::string& name) {
  for (auto& entry : folder.entries) {
    if (entry.first == name || (folder.ignoresCase && EqualIgnoringCase(entry.first, name)))
      return &entry;
  }
  return nullptr;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  return const_cast<MemoryFileSystem*>(this)->Find(path);
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) {
  if (path.empty() || path[0] != '/') return nullptr;
  Node* node = &m_nodes.at(kRoot);
  for (const std::string& name : Split(path)) {
    if (node->kind != FileKind::Folder) return nullptr;
    const auto* entry = Entry(*node, name);
    if (!entry) return nullptr;
    node = &m_nodes.at(entry->second);
  }
  return node;
}

void MemoryFileSystem::AddFolder(const std::string& path, bool ignoresCase, size_t maxName) {
  uint64_t current = kRoot;
  for (const std::string& name : Split(path)) {
    auto* entry = Entry(m_nodes.at(current), name);
    if (!entry) {
      Node folder;
      folder.kind = FileKind::Folder;
      const uint64_t inode = NewNode(std::move(folder));
      m_nodes.at(current).entries.emplace_back(name, inode);
      current = inode;
    } else {
      current = entry->second;
    }
  }
  m_nodes.at(current).ignoresCase = ignoresCase;
  m_nodes.at(current).maxName = maxName;
}

uint64_t MemoryFileSystem::AddFile(const std::string& path, const std::string& content,
                                   FileTimes times) {
  const auto [folderPath, name] = FolderAndName(path);
  Node& folder = *Find(folderPath);
  Node file;
  file.content = content;
  file.times = times;
  const uint64_t inode = NewNode(std::move(file));
  if (auto* entry = Entry(folder, name)) {
    entry->second = inode;
  } else {
    folder.entries.emplace_back(name, inode);
  }
  return inode;
}

void MemoryFileSystem::Remove(const std::string& path) {
  const auto [folderPath, name] = FolderAndName(path);
  Node* folder = Find(folderPath);
  if (!folder) return;
  if (const auto* entry = Entry(*folder, name))
    folder->entries.erase(folder->entries.begin() + (entry - folder->entries.data()));
}

std::string MemoryFileSystem::Content(const std::string& path) const {
  const Node* node = Find(path);
  return node && node->kind == FileKind::File ? node->content : "<missing>";
}

uint64_t MemoryFileSystem::Inode(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->inode : 0;
}

std::vector<std::string> MemoryFileSystem::Names(const std::string& folder) const {
  std::vector<std::string> names;
  if (const Node* node = Find(folder)) {
    for (const auto& entry : node->entries) names.push_back(entry.first);
  }
  return names;
}

Result<std::string> MemoryFileSystem::RealPath(const std::string& path) {
  std::vector<std::string> parts;
  for (const std::string& name : Split(path.empty() || path[0] != '/' ? "/" + path : path)) {
    if (name == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (name != ".") {
      parts.push_back(name);
    }
  }
  std::string real;
  for (const std::string& name : parts) real += "/" + name;
  if (real.empty()) real.push_back('/');
  if (!Find(real)) return ErrnoCode(ENOENT);
  return real;
}

Result<FileTimes> MemoryFileSystem::ReadTimes(const std::string& path) {
  const Node* node = Find(path);
  if (!node) return ErrnoCode(ENOENT);
  return node->times;
}

Result<FileTimes> MemoryFileSystem::ReadTimesInFolder(int folder, const std::string& name) {
  const Result<uint64_t> inode = InodeInFolder(folder, name);
  if (!inode) return inode.error();
  return m_nodes.at(*inode).times;
}

Result<FileStatus> MemoryFileSystem::Examine(const std::string& path) {
  const Node* node = Find(path);
  if (!node) return ErrnoCode(ENOENT);
  return FileStatus{node->kind, node->content.size(), IdentityOf(node->inode), true};
}

Result<int> MemoryFileSystem::OpenFolder(const std::string& path) {
  const Node* node = Find(path);
  if (!node) return ErrnoCode(ENOENT);
  if (node->kind != FileKind::Folder) return ErrnoCode(ENOTDIR);
  m_handles.push_back(node->inode);
  return static_cast<int>(m_handles.size() - 1);
}

void MemoryFileSystem::CloseFolder(int folder) {
  if (folder >= 0 && static_cast<size_t>(folder) < m_handles.size()) m_handles[folder] = 0;
}

MemoryFileSystem::Node* MemoryFileSystem::FolderOfHandle(int folder) {
  if (folder < 0 || static_cast<size_t>(folder) >= m_handles.size() || m_handles[folder] == 0)
    return nullptr;
  return &m_nodes.at(m_handles[folder]);
}

Result<uint64_t> MemoryFileSystem::InodeInFolder(int folder, const std::string& name) {
  Node* dir = FolderOfHandle(folder);
  if (!dir) return ErrnoCode(EBADF);
  if (name.size() > dir->maxName) return ErrnoCode(ENAMETOOLONG);
  const auto* entry = Entry(*dir, name);
  if (!entry) return ErrnoCode(ENOENT);
  return entry->second;
}

FileIdentity MemoryFileSystem::IdentityOf(uint64_t inode) const {
  return {kDevice, inode, m_birthTimes ? m_nodes.at(inode).birth : 0};
}

void MemoryFileSystem::Recreate(const std::string& path, const std::string& content) {
  Node* node = Find(path);
  node->content = content;
  node->birth = node->changed = Now();
}

void MemoryFileSystem::Touch(const std::string& path) { Find(path)->changed = Now(); }

Result<FileIdentity> MemoryFileSystem::IdentifyInFolder(int folder, const std::string& name) {
  const Result<uint64_t> inode = InodeInFolder(folder, name);
  if (!inode) return inode.error();
  return IdentityOf(*inode);
}

Result<FileTrace> MemoryFileSystem::TraceInFolder(int folder, const std::string& name) {
  const Result<uint64_t> inode = InodeInFolder(folder, name);
  if (!inode) return inode.error();
  return FileTrace{IdentityOf(*inode), m_nodes.at(*inode).changed};
}

size_t MemoryFileSystem::MaxNameLength(int folder) {
  const Node* dir = FolderOfHandle(folder);
  return dir ? dir->maxName : 255;
}

bool MemoryFileSystem::IgnoresCase(int folder) {
  const Node* dir = FolderOfHandle(folder);
  return dir && dir->ignoresCase;
}

std::error_code MemoryFileSystem::ListNamesInFolder(int folder, size_t limit,
                                                    std::vector<std::string>& names) {
  const Node* dir = FolderOfHandle(folder);
  if (!dir) return ErrnoCode(EBADF);
  for (const auto& entry : dir->entries) {
    if (names.size() == limit) return ErrnoCode(EOVERFLOW);
    names.push_back(entry.first);
  }
  return {};
}

std::error_code MemoryFileSystem::RenameInFolder(int folder, const std::string& from,
                                                 const std::string& to) {
  Node* dir = FolderOfHandle(folder);
  if (!dir) return ErrnoCode(EBADF);
  if (from.empty() || to.empty()) return ErrnoCode(ENOENT);
  if (from.size() > dir->maxName || to.size() > dir->maxName) return ErrnoCode(ENAMETOOLONG);
  auto* source = Entry(*dir, from);
  if (!source) return ErrnoCode(ENOENT);
  if (from == to) return {};
  if (const auto* target = Entry(*dir, to)) {
    // Only a new spelling of the same entry, where case does not count, passes.
    if (target != source) return ErrnoCode(EEXIST);
  }
  source->first = to;
  m_nodes.at(source->second).changed = Now();
  return {};
}

std::error_code MemoryFileSystem::ListFolder(const std::string& path,
                                             std::vector<FolderEntry>& entries) {
  const Node* dir = Find(path);
  if (!dir) return ErrnoCode(ENOENT);
  if (dir->kind != FileKind::Folder) return ErrnoCode(ENOTDIR);
  for (const auto& [name, inode] : dir->entries)
    entries.push_back({name, m_nodes.at(inode).kind, false, inode});
  return {};
}

Result<std::unique_ptr<InputFile>> MemoryFileSystem::OpenInput(const std::string& path) {
  const Node* node = Find(path);
  if (!node) return ErrnoCode(ENOENT);
  if (node->kind == FileKind::Folder) return ErrnoCode(EISDIR);
  const FileStatus status{node->kind, node->content.size(), IdentityOf(node->inode), true};
  return std::unique_ptr<InputFile>(std::make_unique<MemoryInputFile>(node->content, status));
}

std::error_code MemoryFileSystem::WriteFileAtomically(const std::string& path,
                                                      const std::string& bytes) {
  const auto [folderPath, name] = FolderAndName(path);
  Node* folder = Find(folderPath);
  if (!folder || folder->kind != FileKind::Folder) return ErrnoCode(ENOENT);
  if (const auto* entry = Entry(*folder, name);
      entry && m_nodes.at(entry->second).kind == FileKind::Folder)
    return ErrnoCode(EISDIR);
  // As on the disk, the new content comes as a new file under the old name.
  AddFile(path, bytes, Find(path) ? Find(path)->times : FileTimes{});
  return {};
}

}  // namespace zul
