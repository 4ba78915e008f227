#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/fault_plan.h"

namespace zul {

// Passes every call to another file system (the real one unless told otherwise), counts the calls
// per operation and makes chosen calls fail with a chosen errno without reaching it: the N-th call
// of an operation, every call, or every call that names a given file.
class FakeFileSystem : public FileSystem {
 public:
  enum class Op {
    ReadTimes,
    ReadTimesInFolder,
    Examine,
    OpenFolder,
    CloseFolder,
    IdentifyInFolder,
    TraceInFolder,
    ListNamesInFolder,
    RenameInFolder,
    ListFolder,
    OpenInput,
    WriteFileAtomically,
    kCount,  // not an operation: the number of those above
  };

  explicit FakeFileSystem(FileSystem& inner = SystemFileSystem()) : m_inner(inner) {}

  // Makes call number `nth` (1-based, as counted by Calls) of `op` fail with `error`.
  // Several failures may be planned; CloseFolder cannot fail.
  void FailNth(Op op, int nth, int error) { m_faults.FailNth(op, nth, error); }
  // Fails every call of `op` from now on with `error` (0 stops it).
  void FailAll(Op op, int error) { m_faults.FailAll(op, error); }
  // Fails every call of `op` whose path ends in `name`, or whose name (for a rename: the old
  // name) is `name`; a listing of an opened folder counts with the path it was opened with.
  void FailOn(Op op, const std::string& name, int error) { m_faults.FailOn(op, name, error); }

  // From now on looks like an overlay whose layers lie on different file systems: a file's
  // device is unlike its folder's, a listing's inodes are unlike a lookup's, and the first
  // rename of a file copies it up, which gives it a new birth time.
  void ActAsOverlay() { m_overlay = true; }

  // Runs before each rename that is passed on; tests use it to make renames slow or to change
  // the disk in the middle of a run.
  std::function<void(const std::string& from, const std::string& to)> beforeRename;

  // Forgets the calls counted and the failures planned.
  void Reset() { m_faults.Reset(); }

  // Calls of `op` so far, failed ones included.
  int Calls(Op op) const { return m_faults.Calls(op); }

  Result<FileTimes> ReadTimes(const std::string& path) override;
  Result<FileTimes> ReadTimesInFolder(int folder, const std::string& name) override;
  Result<FileStatus> Examine(const std::string& path) override;
  Result<std::string> RealPath(const std::string& path) override { return m_inner.RealPath(path); }
  Result<int> OpenFolder(const std::string& path) override;
  void CloseFolder(int folder) override;
  Result<FileIdentity> IdentifyInFolder(int folder, const std::string& name) override;
  Result<FileTrace> TraceInFolder(int folder, const std::string& name) override;
  bool KeepsBirth(int folder) override { return !m_overlay && m_inner.KeepsBirth(folder); }
  size_t MaxNameLength(int folder) override { return m_inner.MaxNameLength(folder); }
  bool IgnoresCase(int folder) override { return m_inner.IgnoresCase(folder); }
  std::error_code ListNamesInFolder(int folder, size_t limit,
                                    std::vector<std::string>& names) override;
  std::error_code RenameInFolder(int folder, const std::string& from,
                                 const std::string& to) override;
  std::error_code ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  Result<std::unique_ptr<InputFile>> OpenInput(const std::string& path) override;
  std::error_code WriteFileAtomically(const std::string& path, const std::string& bytes) override;

 private:
  std::error_code Count(Op op, const std::string& name) { return m_faults.Count(op, name); }

  FileSystem& m_inner;
  FaultPlan<Op> m_faults;
  std::map<int, std::string> m_folderPaths;  // of the folders opened through this fake
  // The identity a file has as the overlay shows it.
  FileIdentity AsOverlay(FileIdentity identity) const;

  bool m_overlay = false;
  // The birth time each file renamed on the overlay got at its copy-up, by its inner inode.
  std::map<uint64_t, int64_t> m_copiedUp;
};

}  // namespace zul
