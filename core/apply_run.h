#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/journal_format.h"
#include "core/rename_run.h"
#include "core/run_lock.h"

namespace zul {

class FileSystem;
class JournalFolder;

// What a front end is asked and told while a run goes on: its progress display and its question.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // Before each step, with how many of `total` are done; false cancels the run before that step.
  virtual bool Renaming(size_t done, size_t total) = 0;
  // After a run that stopped early (failed or cancelled) with files renamed: whether to rename
  // them back.
  virtual bool ShouldRollBack(const RenamePlan& plan, const RunOutcome& outcome) = 0;
  // While renaming back, with how many of `total` are done; a roll-back cannot be cancelled.
  virtual void RollingBack(size_t done, size_t total) = 0;
};

// What applying a plan did.
struct ApplyOutcome {
  // The journal could not be written, or another run holds the journal folder
  // (JournalError::Busy, with its `holder`): nothing was renamed.
  std::error_code journalError;
  std::optional<RunHolder> holder;
  RunOutcome run;
  bool rolledBack = false;
  std::vector<size_t> restored;        // the steps renamed back, the last step first
  std::vector<Unrestored> unrestored;  // those a roll-back could not rename back
  // The journal could not be marked finished: it stays as a cut-off run's, undoable from the
  // disk (at the next start, or by "zulren --undo"), but not from `undoable`.
  std::error_code finishError;
  // The run as its journal holds it, while it left files renamed: what "Rückgängig" undoes.
  std::optional<JournaledRun> undoable;

  bool Started() const { return !journalError; }
  // How many files carry their new name now.
  size_t LeftRenamed() const { return rolledBack ? unrestored.size() : run.renamed; }
  // The steps whose files carry their new name now, in plan order.
  std::vector<size_t> RenamedSteps() const;
};

// Applies a plan: writes its journal (with the identities of the rows' files, one per step), then
// renames step by step as the observer allows, and after a failure or a cancel asks it whether to
// roll back, and does. The journal is finished with the count left renamed: 0 after a complete
// roll-back, so that a run that left nothing renamed never becomes the one to undo.
[[nodiscard]] ApplyOutcome ApplyPlan(const RenamePlan& plan, std::vector<FileIdentity> identities,
                                     FileSystem& files, JournalFolder& journals,
                                     RunObserver& observer);

// The German texts of a run's outcome (UTF-8), for the window's status bar and message boxes and
// for zulren alike; paths are passed in as each front end shows them.

// One line for the end of a run: "142 Dateien umbenannt.", "3 von 142 Dateien umbenannt, Fehler
// bei „…“.", "Die bereits umbenannten 3 Dateien wurden zurückbenannt.".
std::string ApplySummary(const RenamePlan& plan, const ApplyOutcome& outcome);
// Why the step that failed could not be renamed, blaming the path the error belongs to: the
// source where it is gone or may not be touched, else the target.
std::string FailureText(const RunOutcome& run, const std::string& shownFrom,
                        const std::string& shownTo);
// The question after a run that stopped early: its title and text.
std::pair<std::string, std::string> RollBackQuestion(const RenamePlan& plan, const RunOutcome& run,
                                                     const std::string& shownFrom,
                                                     const std::string& shownTo);
// Why a run did not start: another run holds the journal folder, or "Es wurde keine Datei
// umbenannt: Das Protokoll … konnte nicht geschrieben werden." with the error.
std::string NotStartedText(const ApplyOutcome& outcome, const std::string& shownJournals);
// The run is done, but its journal could not be finished; it stays, and `undoHint` (the command
// that undoes it) is named.
std::string JournalNotFinishedText(std::error_code error, const std::string& shownJournals,
                                   const std::string& undoHint);
// "1 Datei", "3 Dateien".
std::string FilesText(size_t count);

}  // namespace zul
