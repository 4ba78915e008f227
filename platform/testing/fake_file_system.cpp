#include "platform/testing/fake_file_system.h"

FakeFileSystem::FakeFileSystem() : m_real(SystemFileSystem()) { SetFileSystem(this); }

FakeFileSystem::~FakeFileSystem() { SetFileSystem(nullptr); }

void FakeFileSystem::FailNth(Op op, int nth, int error) { m_planned.push_back({op, nth, error}); }

void FakeFileSystem::FailAll(Op op, int error) { m_failAll[static_cast<size_t>(op)] = error; }

int FakeFileSystem::Count(Op op) {
  const int call = ++m_calls[static_cast<size_t>(op)];
  for (const Planned& planned : m_planned) {
    if (planned.op == op && planned.nth == call) return planned.error;
  }
  return m_failAll[static_cast<size_t>(op)];
}

std::optional<FileTimes> FakeFileSystem::ReadTimes(const std::string& path) {
  if (Count(Op::ReadTimes) != 0) return std::nullopt;
  return m_real.ReadTimes(path);
}

int FakeFileSystem::OpenFolder(const std::string& path) {
  if (const int error = Count(Op::OpenFolder)) return -error;
  return m_real.OpenFolder(path);
}

void FakeFileSystem::CloseFolder(int folder) {
  Count(Op::CloseFolder);
  m_real.CloseFolder(folder);
}

int FakeFileSystem::RenameInFolder(int folder, const std::string& from, const std::string& to) {
  if (const int error = Count(Op::RenameInFolder)) return error;
  return m_real.RenameInFolder(folder, from, to);
}

bool FakeFileSystem::ListFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  if (Count(Op::ListFolder) != 0) return false;
  return m_real.ListFolder(path, entries);
}

std::optional<FolderIdentity> FakeFileSystem::IdentifyFolder(const std::string& path) {
  if (Count(Op::IdentifyFolder) != 0) return std::nullopt;
  return m_real.IdentifyFolder(path);
}
