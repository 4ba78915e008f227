#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/result.h"

namespace zul {

// Our thin layer over the file system. Paths and names are byte strings, passed to the system
// unchanged. Every call that can fail says why as a std::error_code (see platform/result.h).
// Production uses SystemFileSystem(); tests hand in doubles (platform/testing/).

// Creation and last-write time in seconds since the epoch (UTC).
struct FileTimes {
  int64_t created = 0;
  int64_t modified = 0;
};

// Identifies a file or folder across the different paths to it. An inode number is reused once
// its file is deleted; the birth time (nanoseconds since the epoch, 0 where the file system keeps
// none) tells a file made since under the same number from the one recorded.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t birth = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What tells whether a file found under a name is the one a run renamed: its identity, and when
// its status last changed (a rename sets that time, in nanoseconds since the epoch).
struct FileTrace {
  FileIdentity identity;
  int64_t changed = 0;
};

enum class FileKind { File, Folder, Other };

// What a path leads to.
struct FileStatus {
  FileKind kind = FileKind::Other;
  uint64_t size = 0;
  FileIdentity identity;
  // Writable as its permission bits say, whoever runs the program (root may write anyway).
  bool writable = false;
};

// One entry of a folder, as the system delivers it.
struct FolderEntry {
  using Kind = FileKind;
  std::string name;
  Kind kind = Kind::Other;  // of the link's target for a symbolic link
  bool isLink = false;
  // The entry's inode as the listing gives it (of the link itself for a symbolic link). The
  // same as a lookup's on the usual file systems; some overlays give another.
  uint64_t inode = 0;
};

// A file opened for reading.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // The file as it was when opened.
  virtual const FileStatus& Status() const = 0;
  // Reads up to `size` bytes; 0 at the end of the data.
  virtual Result<size_t> Read(char* buffer, size_t size) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The file's times: birth time where the file system reports one, else the last-write time
  // stands in for it.
  virtual Result<FileTimes> ReadTimes(const std::string& path) = 0;
  // The same for the entry `name` of an opened folder (links followed), without looking up the
  // folder's path again for every file.
  virtual Result<FileTimes> ReadTimesInFolder(int folder, const std::string& name) = 0;

  // What the path leads to, symbolic links followed.
  virtual Result<FileStatus> Examine(const std::string& path) = 0;
  // The absolute path of what `path` leads to, every symbolic link, "." and ".." resolved;
  // "." gives the working folder.
  virtual Result<std::string> RealPath(const std::string& path) = 0;

  // Opens a folder for lookups and renames inside it; the handle stays valid until CloseFolder.
  virtual Result<int> OpenFolder(const std::string& path) = 0;
  virtual void CloseFolder(int folder) = 0;

  // The identity of the entry `name` of an opened folder; a symbolic link is not followed.
  virtual Result<FileIdentity> IdentifyInFolder(int folder, const std::string& name) = 0;
  // The same with the time of the entry's last status change.
  virtual Result<FileTrace> TraceInFolder(int folder, const std::string& name) = 0;
  // Whether a file in the opened folder keeps its birth time across a rename. Not on an overlay
  // file system: the first rename of a file of a lower layer copies it up as a new one.
  virtual bool KeepsBirth(int folder) = 0;
  // The longest name, in bytes, that the opened folder takes (255 where it cannot say).
  virtual size_t MaxNameLength(int folder) = 0;
  // Whether the opened folder treats names that differ only in letter case as one.
  virtual bool IgnoresCase(int folder) = 0;

  // The names in an opened folder, "." and ".." left out, in the order the system delivers them.
  // Reads at most `limit` names: a folder with more fails with EOVERFLOW. Fails also (EACCES)
  // where names in the folder cannot be looked up, so that a listing never shows a name that
  // IdentifyInFolder would not find. On failure `names` holds what was read before it.
  virtual std::error_code ListNamesInFolder(int folder, size_t limit,
                                            std::vector<std::string>& names) = 0;

  // Renames `from` to `to`, both plain names inside the opened folder. Never replaces an existing
  // file: a `to` that exists fails with EEXIST, also when it is another link to the same file.
  // Renaming a name to itself succeeds when the file exists and changes nothing; a change of
  // letter case alone succeeds where the folder ignores case.
  virtual std::error_code RenameInFolder(int folder, const std::string& from,
                                         const std::string& to) = 0;

  // The entries of a folder in the order the system delivers them, "." and ".." left out. On
  // failure `entries` holds what was read before it.
  virtual std::error_code ListFolder(const std::string& path,
                                     std::vector<FolderEntry>& entries) = 0;

  // Opens a file for reading. A FIFO without a writer reads as empty instead of blocking; a folder
  // fails with EISDIR.
  virtual Result<std::unique_ptr<InputFile>> OpenInput(const std::string& path) = 0;

  // Makes `bytes` the content of the file at `path` (a symbolic link's target where it is one).
  // The old content is replaced only once the new one is complete on the disk, so a failure never
  // leaves a cut file behind; where the folder allows no new file, the file is written in place.
  // An existing file that is not writable fails with EACCES, a folder with EISDIR.
  virtual std::error_code WriteFileAtomically(const std::string& path,
                                              const std::string& bytes) = 0;
};

// The real file system (Linux system calls).
FileSystem& SystemFileSystem();

}  // namespace zul
