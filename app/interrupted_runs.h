#pragma once

#include <string>

#include "platform/services.h"

namespace zul {

// At start, before anything else: offers to undo each renaming run that was cut off (by a crash,
// a kill or a power cut), the newest first, and tells of damaged journals found and set aside.
// "Ja" renames back the files under their new name and drops the journal, "Nein" drops it and
// keeps the files as they are, "Abbrechen" keeps it for the next start. A run that left no file
// under its new name has nothing to undo: its journal is dropped without a question. A journal
// whose files cannot all be accounted for is set aside instead of dropped, and the user told.
// Nothing is asked while another program holds the journals (see RunLock). Returns what the
// status bar says once the window shows: how many files were renamed back ("3 Dateien
// zurückbenannt."), or nothing where none was.
[[nodiscard]] std::string OfferUndoOfInterruptedRuns(const Services& services);

}  // namespace zul
