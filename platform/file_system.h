#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Our thin layer over the file system. Paths and names are byte strings, passed to the system
// unchanged. Production uses SystemFileSystem(); tests replace it (see platform/testing/).

// Creation and last-write time in seconds since the epoch (UTC).
struct FileTimes {
  int64_t created = 0;
  int64_t modified = 0;
};

// One entry of a folder, as the system delivers it.
struct FolderEntry {
  enum class Kind { File, Folder, Other };
  std::string name;
  Kind kind = Kind::Other;  // of the link's target for a symbolic link
  bool isLink = false;
};

// Identifies a folder across different paths to it (device and inode).
struct FolderIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The file's times: birth time where the file system reports one, else the last-write time
  // stands in for it. Empty when the file cannot be examined at all.
  virtual std::optional<FileTimes> ReadTimes(const std::string& path) = 0;

  // Opens a folder for renames inside it; returns a handle >= 0, or -errno.
  virtual int OpenFolder(const std::string& path) = 0;
  virtual void CloseFolder(int folder) = 0;

  // Renames `from` to `to`, both plain names inside the opened folder. Never replaces an existing
  // file. Renaming a name to itself succeeds when the file exists and changes nothing; a change of
  // letter case alone of the same file succeeds on a case-insensitive file system. Returns 0 or an
  // errno value.
  virtual int RenameInFolder(int folder, const std::string& from, const std::string& to) = 0;

  // The entries of a folder in the order the system delivers them, "." and ".." left out.
  // False when the folder cannot be read; `entries` then holds what was read before the failure.
  virtual bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) = 0;

  // The identity of the folder a path leads to (links followed); empty when it cannot be examined.
  virtual std::optional<FolderIdentity> IdentifyFolder(const std::string& path) = 0;
};

// The real file system (Linux system calls).
FileSystem& SystemFileSystem();

// The file system every part of the program uses; tests install a fake with SetFileSystem and
// restore the real one with SetFileSystem(nullptr).
FileSystem& CurrentFileSystem();
void SetFileSystem(FileSystem* fileSystem);
