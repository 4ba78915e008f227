#pragma once

#include <ostream>

#include "cli/options.h"

namespace zul {

class CaptureReader;
class FileSystem;
class JournalFolder;

// Exit statuses of zulren.
enum ExitStatus : int {
  kExitOk = 0,
  kExitConflicts = 1,  // conflicts, a failed and rolled-back run, or files an undo left
  kExitUsage = 2,      // bad call or no readable filter file: nothing renamed
  // A failed run whose roll-back could not restore everything, or a journal that could not be
  // written: nothing is undoable then.
  kExitUnrestored = 3
};

// Where zulren writes: the table (or the NUL-separated list) to `out`, messages, the summary
// and the progress to `err`; `errIsTerminal` allows the progress line.
struct Console {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
};

// Carries out what the options ask for, with the journals of runs in `journals` and the capture
// times of photos read by `captures`; returns the exit status.
int RunZulren(const Options& options, FileSystem& files, JournalFolder& journals,
              const CaptureReader& captures, Console console);

}  // namespace zul
