#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/journal_format.h"
#include "core/rename_run.h"

namespace zul {

// Undoing a journaled run by what the disk shows, file by file: a step counts as renamed when its
// new name holds the very file the journal recorded: the same device and inode, and the same
// birth time, or where the record has none, a birth (or without one, a status change) no later
// than the run's `renamedBy`. A file is never renamed back on a name alone. The steps looked at are
// those an ended run renamed, or every step of a cut-off one.

// How many of the steps are renamed now.
size_t CountRenamed(const JournaledRun& run, FileSystem& files);

struct RunSurvey {
  size_t renamed = 0;  // under the new name, to be renamed back
  size_t unclear = 0;  // neither surely renamed nor surely not: UndoRun would report them
};
RunSurvey SurveyRun(const JournaledRun& run, FileSystem& files);

struct UndoOutcome {
  std::vector<size_t> restored;  // in the order done: the last step first
  // Steps whose file could not be renamed back: EEXIST where its old name is taken, ENOENT where
  // neither name holds the file (moved or deleted), JournalError::OtherFile where another file
  // holds its new name, JournalError::Unproven where the file under it may be one made since,
  // JournalError::BadName where the journal's names are no plain names; or the error of the
  // rename.
  std::vector<Unrestored> unrestored;
};

// Why a step could not be renamed back, in German (UTF-8), naming the file as `shownPath`.
std::string UnrestoredReason(std::error_code error, std::string_view shownPath);

// Renames every renamed step back, last first, never over an existing file. Steps whose old name
// holds their file, whose file was unknown before the run, or whose names are one, are left
// alone. `progress` is told how many steps are done.
UndoOutcome UndoRun(const JournaledRun& run, FileSystem& files,
                    const std::function<void(size_t done)>& progress = {});

}  // namespace zul
