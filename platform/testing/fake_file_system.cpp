#include "platform/testing/fake_file_system.h"

namespace {

bool Names(const std::string& path, const std::string& name) {
  return path.size() >= name.size() &&
         path.compare(path.size() - name.size(), name.size(), name) == 0 &&
         (path.size() == name.size() || path[path.size() - name.size() - 1] == '/');
}

}  // namespace

void FakeFileSystem::FailNth(Op op, int nth, int error) {
  m_planned.push_back({op, nth, {}, error});
}

void FakeFileSystem::Reset() {
  m_calls = {};
  m_failAll = {};
  m_planned.clear();
}

void FakeFileSystem::FailAll(Op op, int error) { m_failAll[static_cast<size_t>(op)] = error; }

void FakeFileSystem::FailOn(Op op, const std::string& name, int error) {
  m_planned.push_back({op, 0, name, error});
}

std::error_code FakeFileSystem::Count(Op op, const std::string& name) {
  const int call = ++m_calls[static_cast<size_t>(op)];
  for (const Planned& planned : m_planned) {
    if (planned.op != op) continue;
    if (planned.nth == 0 ? Names(name, planned.name) : planned.nth == call)
      return ErrnoCode(planned.error);
  }
  const int all = m_failAll[static_cast<size_t>(op)];
  return all == 0 ? std::error_code() : ErrnoCode(all);
}

Result<FileTimes> FakeFileSystem::ReadTimes(const std::string& path) {
  if (const auto error = Count(Op::ReadTimes, path)) return error;
  return m_inner.ReadTimes(path);
}

Result<FileStatus> FakeFileSystem::Examine(const std::string& path) {
  if (const auto error = Count(Op::Examine, path)) return error;
  return m_inner.Examine(path);
}

Result<int> FakeFileSystem::OpenFolder(const std::string& path) {
  if (const auto error = Count(Op::OpenFolder, path)) return error;
  return m_inner.OpenFolder(path);
}

void FakeFileSystem::CloseFolder(int folder) {
  Count(Op::CloseFolder, {});
  m_inner.CloseFolder(folder);
}

Result<FileIdentity> FakeFileSystem::IdentifyInFolder(int folder, const std::string& name) {
  if (const auto error = Count(Op::IdentifyInFolder, name)) return error;
  return m_inner.IdentifyInFolder(folder, name);
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
