#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/run_journal.h"
#include "core/run_undo.h"

namespace zul {

// Undoing the most recent renaming run of the user, whichever program made it: the last run
// that ended ("last.zjl"), or a run cut off later than it (a crash, a kill), which is thereby
// recovered. The front ends only show what this returns.
struct LastRunUndo {
  enum class Status {
    Done,        // `outcome` says what was renamed back
    NoRun,       // no run to undo
    Busy,        // another run holds the journal folder: `holder`
    Unreadable,  // the journal could not be read (`error`) or is damaged (`damaged`)
  };
  Status status = Status::NoRun;
  std::optional<RunHolder> holder;
  std::error_code error;
  bool cutOff = false;  // the run undone was cut off, not ended
  JournaledRun run;
  UndoOutcome outcome;
  // The journal's name in the folder now. Removed once every file is back; kept (an ended run's)
  // or set aside (a cut-off run's) where some are not, so that no record is lost.
  std::string journal;
  bool journalKept = false;
  std::vector<DamagedJournal> damaged;  // found on the way and set aside
};

LastRunUndo UndoLastRun(JournalFolder& journals, FileSystem& files,
                        const std::function<void(size_t done, size_t total)>& progress = {});

// Undoes `run`, one that this program ended and still holds, under the run lock. Where every
// file is back and the last journal is still that run's, the journal is removed, so that the run
// is no longer the last.
LastRunUndo UndoEndedRun(JournalFolder& journals, FileSystem& files, const JournaledRun& run,
                         const std::function<void(size_t done, size_t total)>& progress = {});

// The recovery of one cut-off run found by ScanJournals: renames back what it left renamed and
// drops its journal, or sets it aside where some files cannot be dealt with.
struct Recovery {
  UndoOutcome outcome;
  std::string journal;  // its name now where set aside; empty where dropped
};
Recovery RecoverRun(PendingJournal& journal, FileSystem& files,
                    const std::function<void(size_t done)>& progress = {});

// Leaves a cut-off run as it is (the user chose so) and drops its journal; one whose files are
// not all accounted for is set aside instead. Returns the journal's name where set aside.
std::string KeepRun(PendingJournal& journal, FileSystem& files);

}  // namespace zul
