#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/result.h"

namespace zul {

// The folder that keeps the journals of renaming runs, with the few system calls a journal needs:
// files made anew, written and flushed to the disk together with the folder's entry, and locked
// while a program works with them. Names are plain names inside the folder; file handles are
// valid until Close. Production uses SystemJournalFolder(); tests hand in one in a temporary
// folder, behind a double that fails on demand (platform/testing/fake_journal_folder.h).
class JournalFolder {
 public:
  virtual ~JournalFolder() = default;

  // The folder's path, for messages.
  virtual const std::string& Path() const = 0;

  // Makes the folder and its missing parents, new ones readable by the user alone.
  virtual std::error_code Prepare() = 0;
  // The names in the folder; a folder that does not exist yet holds none.
  virtual std::error_code List(std::vector<std::string>& names) = 0;

  // Makes the new, empty file `name` (EEXIST where the name is taken), open to read and write.
  virtual Result<int> Create(const std::string& name) = 0;
  // Opens the existing file `name` to read and write.
  virtual Result<int> Open(const std::string& name) = 0;
  // Closes the file; its lock ends with it.
  virtual void Close(int file) = 0;

  // Takes the file's exclusive lock (flock) without waiting: EWOULDBLOCK while another handle,
  // in this or another program, holds it. A lock dies with its program, whatever way it ends.
  virtual std::error_code Lock(int file) = 0;
  // Writes all of `bytes` at `offset`.
  virtual std::error_code Write(int file, uint64_t offset, std::string_view bytes) = 0;
  // Reads at most `size` bytes from `offset` on, fewer only at the file's end: a file is read a
  // piece at a time, never whole on trust.
  virtual std::error_code Read(int file, uint64_t offset, size_t size, std::string& bytes) = 0;
  // The time of the file's last write, in nanoseconds since the epoch.
  virtual Result<int64_t> Modified(int file) = 0;
  // Makes now the time of the file's last write. Safe to call from another thread.
  virtual std::error_code Touch(int file) = 0;
  // Returns once the file's content is on the disk (fsync).
  virtual std::error_code Sync(int file) = 0;

  // Renames `from` to `to`, replacing a file called `to`, and returns once the folder's new entry
  // is on the disk.
  virtual std::error_code Rename(const std::string& from, const std::string& to) = 0;
  virtual std::error_code Remove(const std::string& name) = 0;
};

// The program's own: $XDG_STATE_HOME/zul, where XDG_STATE_HOME is an absolute path, else
// ~/.local/state/zul.
JournalFolder& SystemJournalFolder();

}  // namespace zul
