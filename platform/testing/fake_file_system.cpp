#include "platform/testing/fake_file_system.h"

#include <time.h>

namespace zul {

namespace {

constexpr uint64_t kUpperDevice = 0x1000;
constexpr uint64_t kListingInodes = 0x5a5a'0000;

// The clock a file system stamps files with, a tick behind the precise one.
int64_t CoarseNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

FileIdentity FakeFileSystem::AsOverlay(FileIdentity identity) const {
  if (!m_overlay) return identity;
  if (const auto copy = m_copiedUp.find(identity.inode); copy != m_copiedUp.end())
    identity.birth = copy->second;
  identity.device += kUpperDevice;
  return identity;
}

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
  Result<FileStatus> status = m_inner.Examine(path);
  if (status && status->kind != FileKind::Folder) status->identity = AsOverlay(status->identity);
  return status;
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
  const Result<FileIdentity> identity = m_inner.IdentifyInFolder(folder, name);
  if (!identity) return identity;
  return AsOverlay(*identity);
}

Result<FileTrace> FakeFileSystem::TraceInFolder(int folder, const std::string& name) {
  if (const auto error = Count(Op::TraceInFolder, name)) return error;
  Result<FileTrace> trace = m_inner.TraceInFolder(folder, name);
  if (trace) trace->identity = AsOverlay(trace->identity);
  return trace;
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
  const std::error_code error = m_inner.RenameInFolder(folder, from, to);
  if (!error && m_overlay) {
    if (const Result<FileIdentity> moved = m_inner.IdentifyInFolder(folder, to))
      m_copiedUp.try_emplace(moved->inode, CoarseNow());
  }
  return error;
}

std::error_code FakeFileSystem::ListFolder(const std::string& path,
                                           std::vector<FolderEntry>& entries) {
  if (const auto error = Count(Op::ListFolder, path)) return error;
  const size_t before = entries.size();
  const std::error_code error = m_inner.ListFolder(path, entries);
  if (m_overlay) {
    for (size_t k = before; k < entries.size(); ++k) entries[k].inode ^= kListingInodes;
  }
  return error;
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
