#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/rename_plan.h"
#include "platform/file_system.h"
#include "platform/result.h"

namespace zul {

// A renaming run as its journal records it: the plan, and which file each step was to rename.
struct JournaledRun {
  int64_t started = 0;  // seconds since the epoch
  RenamePlan plan;
  // Of each step's file under its old name before the run; {} (never a file's) where unknown.
  std::vector<FileIdentity> identities;
  // Set once the run has ended: how many steps it renamed, whatever a roll-back did since.
  std::optional<size_t> renamed;
  // Not in the journal's bytes but from its file: a time (nanoseconds since the epoch) no rename
  // of the run came after; 0 where unknown. A rename sets a file's status-change time, so a
  // file that changed later is not known to be the one the run renamed.
  int64_t renamedBy = 0;
};

// The journal file, in bytes; every integer little-endian:
//   header   "ZULJOURN", u32 version (1), u32 folder count, u64 step count, i64 started
//   folders  per folder: u32 length, the path's bytes
//   steps    per step: u32 folder index, u32 length + old name, u32 length + new name,
//            u64 device, u64 inode, i64 birth time in nanoseconds (0: unknown)
//   u32      CRC-32 of every byte before it
// and, once the run has ended, the finish record: "DONE", u64 steps renamed, u32 CRC-32 of
// these 12 bytes. Lengths make any byte a name's; the checksums tell a torn or damaged file.
std::string EncodeJournal(const JournaledRun& run);
std::string EncodeFinish(size_t renamed);

// The run a journal records. A finish record cut short (the program stopped while writing it)
// counts as none. Anything else that is not a whole journal fails with a JournalError.
Result<JournaledRun> DecodeJournal(std::string_view bytes);

// Gives at most `size` bytes of a journal from `offset` on, fewer only at its end.
using JournalSource =
    std::function<std::error_code(uint64_t offset, size_t size, std::string& bytes)>;
// The same, read from the source a piece at a time: never more than the records take, however
// large the file is. An error of the source is passed on as it is.
Result<JournaledRun> DecodeJournal(const JournalSource& source);

// Why a journal is refused, and why a step cannot be renamed back.
enum class JournalError {
  NotAJournal = 1,
  UnknownVersion,
  Truncated,
  BadChecksum,
  Malformed,
  OtherFile,  // another file holds the step's new name
  Unproven,   // the file under the new name may have been made after the run
  BadName,    // the step's names are not plain names of its folder
  Busy,       // another run holds the journal folder
};
const std::error_category& JournalCategory();
inline std::error_code MakeErrorCode(JournalError error) {
  return {static_cast<int>(error), JournalCategory()};
}

}  // namespace zul
