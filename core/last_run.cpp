#include "core/last_run.h"

#include <algorithm>

namespace zul {

namespace {

// The finished run's journal, read; fails with the folder's or the journal's error.
Result<JournaledRun> ReadLastJournal(JournalFolder& journals) {
  const Result<int> file = journals.Open(kLastJournal);
  if (!file) return file.error();
  Result<JournaledRun> run = ReadJournal(journals, *file);
  journals.Close(*file);
  return run;
}

// The run lock; false where another run holds it, which `result` then says. A journal folder
// that cannot hold a lock file (a home on a read-only disk) lets no run begin either: the undo
// goes ahead without it.
bool TakeLock(JournalFolder& journals, LastRunUndo& result, std::optional<RunLock>& lock) {
  Result<RunLock> taken = RunLock::Take(journals);
  if (taken) {
    lock.emplace(std::move(*taken));
  } else if (taken.error() == MakeErrorCode(JournalError::Busy)) {
    result.status = LastRunUndo::Status::Busy;
    result.holder = RunLockHolder(journals);
    return false;
  }
  return true;
}

}  // namespace

LastRunUndo UndoEndedRun(JournalFolder& journals, FileSystem& files, const JournaledRun& run,
                         const std::function<void(size_t done, size_t total)>& progress) {
  LastRunUndo result;
  std::optional<RunLock> lock;
  if (!TakeLock(journals, result, lock)) return result;
  result.run = run;
  const size_t total = run.renamed.value_or(run.plan.size());
  result.outcome = UndoRun(run, files, [&](size_t done) {
    if (progress) progress(done, total);
  });
  result.status = LastRunUndo::Status::Done;
  const Result<JournaledRun> last = ReadLastJournal(journals);
  const bool same = last && last->started == run.started && last->plan.size() == run.plan.size();
  if (same) {
    result.journal = kLastJournal;
    result.journalKept = !result.outcome.unrestored.empty() || journals.Remove(kLastJournal);
  }
  return result;
}

LastRunUndo UndoLastRun(JournalFolder& journals, FileSystem& files,
                        const std::function<void(size_t done, size_t total)>& progress) {
  LastRunUndo result;
  std::optional<RunLock> lock;
  if (!TakeLock(journals, result, lock)) return result;
  JournalScan scan = ScanJournals(journals);
  result.damaged = std::move(scan.damaged);
  Result<JournaledRun> last = ReadLastJournal(journals);
  const bool lastThere = last || last.error() != std::errc::no_such_file_or_directory;
  const bool cutOffNewer =
      !scan.cutOff.empty() && (!last || scan.cutOff.front().Run().started >= last->started);

  if (cutOffNewer) {
    PendingJournal& journal = scan.cutOff.front();
    result.cutOff = true;
    result.run = journal.Run();
    const size_t total = result.run.plan.size();
    const Recovery recovery = RecoverRun(journal, files, [&](size_t done) {
      if (progress) progress(done, total);
    });
    result.outcome = recovery.outcome;
    result.journal = recovery.journal;
    result.journalKept = !recovery.journal.empty();
    result.status = LastRunUndo::Status::Done;
    return result;
  }
  if (!lastThere) return result;
  if (!last) {
    // Left where it is: a read error may pass, and a damaged journal is still to be looked at.
    result.status = LastRunUndo::Status::Unreadable;
    result.error = last.error();
    result.journal = kLastJournal;
    return result;
  }
  result.run = std::move(*last);
  const size_t total = result.run.renamed.value_or(0);
  result.outcome = UndoRun(result.run, files, [&](size_t done) {
    if (progress) progress(done, total);
  });
  result.status = LastRunUndo::Status::Done;
  result.journal = kLastJournal;
  // An ended run's journal stays where a file could not be renamed back, so that a second undo
  // can finish the work once its way is clear; otherwise the run is undone and no longer the last.
  result.journalKept = !result.outcome.unrestored.empty() || journals.Remove(kLastJournal);
  return result;
}

Recovery RecoverRun(PendingJournal& journal, FileSystem& files,
                    const std::function<void(size_t done)>& progress) {
  Recovery recovery;
  recovery.outcome = UndoRun(journal.Run(), files, progress);
  if (recovery.outcome.unrestored.empty())
    journal.Drop();
  else
    recovery.journal = journal.SetAside();
  return recovery;
}

std::string KeepRun(PendingJournal& journal, FileSystem& files) {
  if (SurveyRun(journal.Run(), files).unclear == 0) {
    journal.Drop();
    return {};
  }
  return journal.SetAside();
}

}  // namespace zul
