#pragma once

#include "platform/file_system.h"

namespace zul {

// The file system through Linux system calls.
class LinuxFileSystem : public FileSystem {
 public:
  Result<FileTimes> ReadTimes(const std::string& path) override;
  Result<FileTimes> ReadTimesInFolder(int folder, const std::string& name) override;
  Result<FileStatus> Examine(const std::string& path) override;
  Result<std::string> RealPath(const std::string& path) override;
  Result<int> OpenFolder(const std::string& path) override;
  void CloseFolder(int folder) override;
  Result<FileIdentity> IdentifyInFolder(int folder, const std::string& name) override;
  Result<FileTrace> TraceInFolder(int folder, const std::string& name) override;
  bool KeepsBirth(int folder) override;
  size_t MaxNameLength(int folder) override;
  bool IgnoresCase(int folder) override;
  std::error_code RenameInFolder(int folder, const std::string& from,
                                 const std::string& to) override;
  std::error_code ListNamesInFolder(int folder, size_t limit,
                                    std::vector<std::string>& names) override;
  std::error_code ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  Result<std::unique_ptr<InputFile>> OpenInput(const std::string& path) override;
  std::error_code WriteFileAtomically(const std::string& path, const std::string& bytes) override;
};

}  // namespace zul
