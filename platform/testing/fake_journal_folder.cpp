#include "platform/testing/fake_journal_folder.h"

namespace zul {

std::error_code FakeJournalFolder::Prepare() {
  if (const auto error = m_faults.Count(Op::Prepare, {})) return error;
  return m_inner.Prepare();
}

std::error_code FakeJournalFolder::List(std::vector<std::string>& names) {
  if (const auto error = m_faults.Count(Op::List, {})) return error;
  return m_inner.List(names);
}

Result<int> FakeJournalFolder::Create(const std::string& name) {
  if (const auto error = m_faults.Count(Op::Create, name)) return error;
  return m_inner.Create(name);
}

Result<int> FakeJournalFolder::Open(const std::string& name) {
  if (const auto error = m_faults.Count(Op::Open, name)) return error;
  return m_inner.Open(name);
}

std::error_code FakeJournalFolder::Lock(int file) {
  if (const auto error = m_faults.Count(Op::Lock, {})) return error;
  return m_inner.Lock(file);
}

std::error_code FakeJournalFolder::Write(int file, uint64_t offset, std::string_view bytes) {
  if (const auto error = m_faults.Count(Op::Write, {})) return error;
  return m_inner.Write(file, offset, bytes);
}

std::error_code FakeJournalFolder::Read(int file, uint64_t offset, size_t size,
                                        std::string& bytes) {
  if (const auto error = m_faults.Count(Op::Read, {})) return error;
  return m_inner.Read(file, offset, size, bytes);
}

std::error_code FakeJournalFolder::Sync(int file) {
  if (const auto error = m_faults.Count(Op::Sync, {})) return error;
  return m_inner.Sync(file);
}

std::error_code FakeJournalFolder::Rename(const std::string& from, const std::string& to) {
  if (const auto error = m_faults.Count(Op::Rename, from)) return error;
  return m_inner.Rename(from, to);
}

std::error_code FakeJournalFolder::Remove(const std::string& name) {
  if (const auto error = m_faults.Count(Op::Remove, name)) return error;
  return m_inner.Remove(name);
}

}  // namespace zul
