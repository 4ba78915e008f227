#pragma once

#include <string>

#include "platform/journal_folder.h"
#include "platform/testing/fault_plan.h"

namespace zul {

// Passes every call to another journal folder and makes chosen calls fail with a chosen errno
// without reaching it (a full disk, a read-only home), as FaultPlan describes. Calls that name
// a file are matched by its name; calls on a handle name nothing.
class FakeJournalFolder : public JournalFolder {
 public:
  enum class Op { Prepare, List, Create, Open, Lock, Write, Read, Sync, Rename, Remove, kCount };

  explicit FakeJournalFolder(JournalFolder& inner) : m_inner(inner) {}

  void FailNth(Op op, int nth, int error) { m_faults.FailNth(op, nth, error); }
  void FailAll(Op op, int error) { m_faults.FailAll(op, error); }
  void FailOn(Op op, const std::string& name, int error) { m_faults.FailOn(op, name, error); }
  void Reset() { m_faults.Reset(); }
  int Calls(Op op) const { return m_faults.Calls(op); }

  const std::string& Path() const override { return m_inner.Path(); }
  std::error_code Prepare() override;
  std::error_code List(std::vector<std::string>& names) override;
  Result<int> Create(const std::string& name) override;
  Result<int> Open(const std::string& name) override;
  void Close(int file) override { m_inner.Close(file); }
  std::error_code Lock(int file) override;
  std::error_code Write(int file, uint64_t offset, std::string_view bytes) override;
  std::error_code Read(int file, uint64_t offset, size_t size, std::string& bytes) override;
  Result<int64_t> Modified(int file) override { return m_inner.Modified(file); }
  // Never fails: it runs on a thread of its own, beside the counting of calls.
  std::error_code Touch(int file) override { return m_inner.Touch(file); }
  std::error_code Sync(int file) override;
  std::error_code Rename(const std::string& from, const std::string& to) override;
  std::error_code Remove(const std::string& name) override;

 private:
  JournalFolder& m_inner;
  FaultPlan<Op> m_faults;
};

}  // namespace zul
