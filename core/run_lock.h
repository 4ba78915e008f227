#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/journal_folder.h"

namespace zul {

// A run changes files under the journal folder's watch: a renaming, an undo, the recovery of a
// cut-off run. One at a time, across every program of the user, so that no run counts or moves
// files another is moving. The lock is the journal folder's ".lock" file, which also tells who
// holds it; it dies with its program, whatever way that ends.
inline constexpr char kRunLockFile[] = ".lock";
inline constexpr std::chrono::milliseconds kRunLockWait{2000};

// Who holds the run lock, as it wrote itself into the lock file.
struct RunHolder {
  std::string program;  // "zul", "zulren"
  int process = 0;
  int64_t since = 0;  // seconds since the epoch
};

class RunLock {
 public:
  // Takes the lock, waiting up to `wait` for a run that holds it to end; fails with
  // JournalError::Busy where it does not, or with the error of the journal folder.
  static Result<RunLock> Take(JournalFolder& folder, std::chrono::milliseconds wait = kRunLockWait);

  RunLock(RunLock&& other) noexcept;
  RunLock& operator=(RunLock&&) = delete;
  ~RunLock();

  void Release();

 private:
  RunLock(JournalFolder& folder, int file) : m_folder(&folder), m_file(file) {}

  JournalFolder* m_folder;
  int m_file;
};

// Who holds the run lock now; nothing where nobody does or it cannot be told.
std::optional<RunHolder> RunLockHolder(JournalFolder& folder);

}  // namespace zul
