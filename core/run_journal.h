#pragma once

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "core/journal_format.h"
#include "core/run_lock.h"
#include "platform/journal_folder.h"

namespace zul {

// The journals of renaming runs in their folder. A run's journal is on the disk before the run
// renames its first file, under a name of its own ("run-….zjl"), and locked while the run goes
// on. When the run ends, its journal is marked finished and becomes the folder's "last.zjl", in
// place of the previous run's. A "run-….zjl" that nobody holds is thus the journal of a run that
// was cut off (a crash, a kill, a power cut): the state of its files follows from the disk.
inline constexpr char kLastJournal[] = "last.zjl";

// The identity each step's file has now under its old name (a link is not followed); {} where
// it has none: the old name is missing or leaves its folder. Without its birth time where the
// folder does not keep it across a rename (an overlay).
std::vector<FileIdentity> IdentifyFiles(const RenamePlan& plan, FileSystem& files);

// A cut-off run renamed nothing later than this after its journal's last heartbeat.
inline constexpr int64_t kHeartbeatSlack = 2'000'000'000;  // nanoseconds

// Reads the journal `file` a piece at a time (see DecodeJournal), and sets the run's
// `renamedBy` from the file's last write: the finish record, or a cut-off run's last heartbeat.
Result<JournaledRun> ReadJournal(JournalFolder& folder, int file);

// The journal of the run in progress.
class RunJournal {
 public:
  // Takes the run lock (see RunLock: JournalError::Busy where another run keeps it), writes the
  // journal of a run about to start and returns once it is on the disk, file and folder entry.
  // Where it cannot be written, nothing is left behind, and the run must not start. The lock is
  // held until Finish, and the journal's time of last write kept fresh meanwhile, so that a
  // cut-off run's journal tells how late it can have renamed.
  static Result<RunJournal> Begin(JournalFolder& folder, const JournaledRun& run);

  RunJournal(RunJournal&& other) noexcept;
  RunJournal& operator=(RunJournal&&) = delete;
  // Unlocks. A journal not finished stays as that of a cut-off run.
  ~RunJournal();

  // Marks the run ended, with its first `renamed` steps renamed, and makes the journal the last
  // one, in place of the previous run's. A run that left nothing renamed (none done, or all
  // rolled back) does not replace it: its journal is removed. Where the journal cannot be
  // marked, it stays as that of a cut-off run, undoable by the records on the disk, and the
  // error is returned for the caller to report.
  [[nodiscard]] std::error_code Finish(size_t renamed);

 private:
  class Heartbeat;
  RunJournal(JournalFolder& folder, RunLock lock, int file, std::string name, uint64_t size);
  void Close();

  JournalFolder* m_folder;
  RunLock m_lock;
  int m_file;  // -1 once finished
  std::string m_name;
  uint64_t m_size;
  std::unique_ptr<Heartbeat> m_heartbeat;
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
  // Sets the journal aside (see SetJournalAside) where its run could not be dealt with wholly;
  // returns its name now.
  std::string SetAside();

 private:
  void Release();

  JournalFolder* m_folder;
  int m_file;
  std::string m_name;
  JournaledRun m_run;
};

// A journal that could not be read as one (a JournalError says why, or the read error).
struct DamagedJournal {
  std::string name;  // its name now: set aside as "….damaged", unless the renaming failed
  std::error_code defect;
};

// Sets a journal that was not acted on aside under `name` + `suffix`, where no scan takes it up
// again and the user can still look at it. Returns its name now (the old one where the renaming
// failed).
std::string SetJournalAside(JournalFolder& folder, const std::string& name,
                            std::string_view suffix);

struct JournalScan {
  std::vector<PendingJournal> cutOff;  // the newest run first
  std::vector<DamagedJournal> damaged;
};

// Looks through the folder for journals of cut-off runs, leaving those of runs in progress
// elsewhere alone. A damaged journal is set aside, so that nothing ever renames a file by it; a
// finished one that did not get its last name before the program stopped gets it now.
JournalScan ScanJournals(JournalFolder& folder);

}  // namespace zul
