#pragma once

#include <array>

#include "platform/file_system.h"

// Passes every call to the real file system, counts the calls per operation and can make the
// N-th call of one operation fail with a chosen errno (without reaching the disk). Installs itself
// as the current file system while it lives.
class FakeFileSystem : public FileSystem {
 public:
  enum class Op { ReadTimes, OpenFolder, CloseFolder, RenameInFolder, ListFolder, IdentifyFolder };
  static constexpr int kOpCount = 6;

  FakeFileSystem();
  ~FakeFileSystem() override;

  // Makes call number `nth` (1-based, as counted by Calls) of `op` fail with `error`.
  // Several failures may be planned; CloseFolder cannot fail.
  void FailNth(Op op, int nth, int error);
  // Fails every call of `op` from now on with `error` (0 stops it).
  void FailAll(Op op, int error);

  // Calls of `op` so far, failed ones included.
  int Calls(Op op) const { return m_calls[static_cast<size_t>(op)]; }

  std::optional<FileTimes> ReadTimes(const std::string& path) override;
  int OpenFolder(const std::string& path) override;
  void CloseFolder(int folder) override;
  int RenameInFolder(int folder, const std::string& from, const std::string& to) override;
  bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override;

 private:
  struct Planned {
    Op op;
    int nth;
    int error;
  };
  // Counts the call and returns the errno it is to fail with, or 0.
  int Count(Op op);

  FileSystem& m_real;
  std::array<int, kOpCount> m_calls{};
  std::array<int, kOpCount> m_failAll{};
  std::vector<Planned> m_planned;
};
