#include "platform/testing/fake_file_system.h"

namespace zul {

Result<FileTimes> FakeFileSystem::ReadTimes(const std::string& path) {
  if (const auto error = Count(Op::ReadTimes, path)) return error;
  return m_inner.ReadTimes(path);
}

Result<FileTimes> FakeFileSystem::ReadTimesInFolder(int folder, const std::string& name) {
  if (const auto error = Count(Op::ReadTimesInFolder, name)) return error;
  return m_inner.ReadTimesInFolder(folder, name);
}

Result<FileStatus> FakeFileSystem::Examine(const std::string& path) {
  if (const auto error = Count(Op::Examine, path)) return error;
  return m_inner.Examine(path);
}

Result<int> FakeFileSystem::OpenFolder(const std::string& path) {
  if (const auto error = Count(Op::OpenFolder, path)) return error;
  Result<int> folder = m_inner.OpenFolder(path);
  if (folder) m_folderPaths[*folder] = path;
  return folder;
}

void FakeFileSystem::CloseFolder(int folder) {
  Count(Op::CloseFolder, {});
  m_folderPaths.erase(folder);
  m_inner.CloseFolder(folder);
}

Result<FileIdentity> FakeFileSystem::IdentifyInFolder(int folder, const std::string& name) {
  if (const auto error = Count(Op::IdentifyInFolder, name)) return error;
  return m_inner.IdentifyInFolder(folder, name);
}

std::error_code FakeFileSystem::ListNamesInFolder(int folder, size_t limit,
                                                  std::vector<std::string>& names) {
  const auto path = m_folderPaths.find(folder);
  if (const auto error =
          Count(Op::ListNamesInFolder, path == m_folderPaths.end() ? std::string() : path->second))
    return error;
  return m_inner.ListNamesInFolder(folder, limit, names);
}

std::error_code FakeFileSystem::RenameInFolder(int folder, const std::string& from,
                                               const std::string& to) {
  if (const auto error = Count(Op::RenameInFolder, from)) return error;
  if (beforeRename) beforeRename(from, to);
  return m_inner.RenameInFolder(folder, from, to);
}

std::error_code FakeFileSystem::ListFolder(const std::string& path,
                                           std::vector<FolderEntry>& entries) {
  if (const auto error = Count(Op::ListFolder, path)) return error;
  return m_inner.ListFolder(path, entries);
}

Result<std::unique_ptr<InputFile>> FakeFileSystem::OpenInput(const std::string& path) {
  if (const auto error = Count(Op::OpenInput, path)) return error;
  return m_inner.OpenInput(path);
}

std::error_code FakeFileSystem::WriteFileAtomically(const std::string& path,
                                                    const std::string& bytes) {
  if (const auto error = Count(Op::WriteFileAtomically, path)) return error;
  return m_inner.WriteFileAtomically(path, bytes);
}

}  // namespace zul
