#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"

// Passes every call to another file system (the real one unless told otherwise), counts the calls
// per operation and makes chosen calls fail with a chosen errno without reaching it: the N-th call
// of an operation, every call, or every call that names a given file.
class FakeFileSystem : public FileSystem {
 public:
  enum class Op {
    ReadTimes,
    Examine,
    OpenFolder,
    CloseFolder,
    IdentifyInFolder,
    RenameInFolder,
    ListFolder,
    OpenInput,
    WriteFileAtomically,
  };
  static constexpr int kOpCount = 9;

  explicit FakeFileSystem(FileSystem& inner = SystemFileSystem()) : m_inner(inner) {}

  // Makes call number `nth` (1-based, as counted by Calls) of `op` fail with `error`.
  // Several failures may be planned; CloseFolder cannot fail.
  void FailNth(Op op, int nth, int error);
  // Fails every call of `op` from now on with `error` (0 stops it).
  void FailAll(Op op, int error);
  // Fails every call of `op` whose path ends in `name`, or whose name (for a rename: the old
  // name) is `name`.
  void FailOn(Op op, const std::string& name, int error);

  // Runs before each rename that is passed on; tests use it to make renames slow or to change
  // the disk in the middle of a run.
  std::function<void(const std::string& from, const std::string& to)> beforeRename;

  // Forgets the calls counted and the failures planned.
  void Reset();

  // Calls of `op` so far, failed ones included.
  int Calls(Op op) const { return m_calls[static_cast<size_t>(op)]; }

  Result<FileTimes> ReadTimes(const std::string& path) override;
  Result<FileStatus> Examine(const std::string& path) override;
  Result<int> OpenFolder(const std::string& path) override;
  void CloseFolder(int folder) override;
  Result<FileIdentity> IdentifyInFolder(int folder, const std::string& name) override;
  size_t MaxNameLength(int folder) override { return m_inner.MaxNameLength(folder); }
  bool IgnoresCase(int folder) override { return m_inner.IgnoresCase(folder); }
  std::error_code RenameInFolder(int folder, const std::string& from,
                                 const std::string& to) override;
  std::error_code ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  Result<std::unique_ptr<InputFile>> OpenInput(const std::string& path) override;
  std::error_code WriteFileAtomically(const std::string& path, const std::string& bytes) override;

 private:
  struct Planned {
    Op op;
    int nth;  // 0: any call naming `name`
    std::string name;
    int error;
  };
  // Counts the call and returns the error it is to fail with, or an empty code.
  std::error_code Count(Op op, const std::string& name);

  FileSystem& m_inner;
  std::array<int, kOpCount> m_calls{};
  std::array<int, kOpCount> m_failAll{};
  std::vector<Planned> m_planned;
};
