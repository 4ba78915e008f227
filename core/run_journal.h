#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "core/journal_format.h"
#include "platform/journal_folder.h"

namespace zul {

// The journals of renaming runs in their folder. A run's journal is on the disk before the run
// renames its first file, under a name of its own ("run-….zjl"), and locked while the run goes
// on. When the run ends, its journal is marked finished and becomes the folder's "last.zjl", in
// place of the previous run's. A "run-….zjl" that nobody holds is thus the journal of a run that
// was cut off (a crash, a kill, a power cut): the state of its files follows from the disk.
inline constexpr char kLastJournal[] = "last.zjl";

// The identity each step's file has now under its old name (a link is not followed); {} where
// it has none: the old name is missing or leaves its folder.
std::vector<FileIdentity> IdentifyFiles(const RenamePlan& plan, FileSystem& files);

// The journal of the run in progress.
class RunJournal {
 public:
  // Writes the journal of a run about to start and returns once it is on the disk, file and
  // folder entry. Where it cannot be written, nothing is left behind, and the run must not start.
  static Result<RunJournal> Begin(JournalFolder& folder, const JournaledRun& run);

  RunJournal(RunJournal&& other) noexcept;
  RunJournal& operator=(RunJournal&&) = delete;
  // Unlocks. A journal not finished stays as that of a cut-off run.
  ~RunJournal();

  // Marks the run ended, with its first `renamed` steps renamed, and makes the journal the last
  // one. Where it cannot be marked it is removed, so that an ended run is never taken for a
  // cut-off one; the error says why.
  [[nodiscard]] std::error_code Finish(size_t renamed);

 private:
  RunJournal(JournalFolder& folder, int file, std::string name, uint64_t size)
      : m_folder(&folder), m_file(file), m_name(std::move(name)), m_size(size) {}

  JournalFolder* m_folder;
  int m_file;  // -1 once finished
  std::string m_name;
  uint64_t m_size;
};

// The journal of a cut-off run, locked while this object lives, so that no other program takes
// it at the same time.
class PendingJournal {
 public:
  PendingJournal(JournalFolder& folder, int file, std::string name, JournaledRun run)
      : m_folder(&folder), m_file(file), m_name(std::move(name)), m_run(std::move(run)) {}
  PendingJournal(PendingJournal&& other) noexcept;
  PendingJournal& operator=(PendingJournal&& other) noexcept;
  // Unlocks; a journal not dropped is found again at the next start.
  ~PendingJournal();

  const JournaledRun& Run() const { return m_run; }
  const std::string& Name() const { return m_name; }
  // Removes the journal once its run is dealt with.
  void Drop();

 private:
  void Release();

  JournalFolder* m_folder;
  int m_file;
  std::string m_name;
  JournaledRun m_run;
};

// A journal that could not be read as one (a JournalError says why).
struct DamagedJournal {
  std::string name;  // its name now: set aside as "….damaged", unless the renaming failed
  std::error_code defect;
};

struct JournalScan {
  std::vector<PendingJournal> cutOff;  // the newest run first
  std::vector<DamagedJournal> damaged;
};

// Looks through the folder for journals of cut-off runs, leaving those of runs in progress
// elsewhere alone. A damaged journal is set aside, so that nothing ever renames a file by it; a
// finished one that did not get its last name before the program stopped gets it now.
JournalScan ScanJournals(JournalFolder& folder);

}  // namespace zul
