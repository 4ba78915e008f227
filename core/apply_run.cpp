#include "core/apply_run.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

#include "core/run_journal.h"
#include "core/run_lock.h"
#include "core/run_lock_text.h"
#include "platform/error_text.h"

namespace zul {

namespace {

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string Quoted(const std::string& text) { return "„" + text + "“"; }

// What stopped the run: the user, or the step that failed (named by its old name).
std::string StopReason(const RenamePlan& plan, const RunOutcome& run) {
  if (run.cancelled) return "abgebrochen";
  return "Fehler bei " + Quoted(plan[run.renamed].from);
}

}  // namespace

std::vector<size_t> ApplyOutcome::RenamedSteps() const {
  std::vector<size_t> steps;
  if (!rolledBack) {
    steps.resize(run.renamed);
    for (size_t k = 0; k < run.renamed; ++k) steps[k] = k;
    return steps;
  }
  for (const Unrestored& entry : unrestored) steps.push_back(entry.step);
  std::sort(steps.begin(), steps.end());
  return steps;
}

ApplyOutcome ApplyPlan(const RenamePlan& plan, std::vector<FileIdentity> identities,
                       FileSystem& files, JournalFolder& journals, RunObserver& observer) {
  ApplyOutcome outcome;
  JournaledRun run{Now(), plan, std::move(identities), std::nullopt};
  Result<RunJournal> journal = RunJournal::Begin(journals, run);
  if (!journal) {
    outcome.journalError = journal.error();
    if (outcome.journalError == MakeErrorCode(JournalError::Busy))
      outcome.holder = RunLockHolder(journals);
    return outcome;
  }
  outcome.run =
      RunPlan(plan, files, [&](size_t done) { return observer.Renaming(done, plan.size()); });
  const RunOutcome& done = outcome.run;
  // A cancel before the first rename leaves nothing to ask about; a failure is always told.
  if (!done.Finished(plan) && !(done.cancelled && done.renamed == 0) &&
      observer.ShouldRollBack(plan, done)) {
    outcome.rolledBack = true;
    outcome.unrestored = RollBack(plan, done.renamed, files,
                                  [&](size_t back) { observer.RollingBack(back, done.renamed); });
    for (size_t k = done.renamed, next = 0; k-- > 0;) {
      if (next < outcome.unrestored.size() && outcome.unrestored[next].step == k) {
        ++next;
        continue;
      }
      outcome.restored.push_back(k);
    }
  }
  const size_t left = outcome.LeftRenamed();
  // Nothing left renamed: the run must not become the one "Rückgängig" undoes.
  outcome.finishError = journal->Finish(left == 0 ? 0 : done.renamed);
  // A journal that could not be finished stays as a cut-off run's: the next start or
  // "zulren --undo" recovers it from the disk, not the window from memory.
  if (left > 0 && !outcome.finishError) {
    run.renamed = done.renamed;
    run.renamedBy = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    outcome.undoable = std::move(run);
  }
  return outcome;
}

std::string FilesText(size_t count) {
  return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

std::string ApplySummary(const RenamePlan& plan, const ApplyOutcome& outcome) {
  if (!outcome.Started())
    return "Keine Datei umbenannt: Das Protokoll konnte nicht geschrieben werden.";
  const RunOutcome& run = outcome.run;
  if (run.Finished(plan)) return FilesText(plan.size()) + " umbenannt.";
  const std::string reason = StopReason(plan, run);
  if (!outcome.rolledBack || run.renamed == 0) {
    if (run.renamed == 0) return "Keine Datei umbenannt, " + reason + ".";
    return std::to_string(run.renamed) + " von " + FilesText(plan.size()) + " umbenannt, " +
           reason + ".";
  }
  std::string text = "Keine Datei umbenannt, " + reason + ": ";
  if (outcome.unrestored.empty()) {
    return text + "Die bereits umbenannten " + FilesText(run.renamed) + " wurden zurückbenannt.";
  }
  return text + FilesText(outcome.restored.size()) + " zurückbenannt, " +
         FilesText(outcome.unrestored.size()) +
         (outcome.unrestored.size() == 1 ? " trägt" : " tragen") + " weiterhin den neuen Namen.";
}

std::string FailureText(const RunOutcome& run, const std::string& shownFrom,
                        const std::string& shownTo) {
  // A rename fails with these where the source itself is gone or may not be touched.
  const int error = run.failure.value();
  const bool source =
      run.failure.category() == std::generic_category() && (error == ENOENT || error == EPERM);
  return FileErrorText(run.failure, source ? shownFrom : shownTo);
}

std::pair<std::string, std::string> RollBackQuestion(const RenamePlan& plan, const RunOutcome& run,
                                                     const std::string& shownFrom,
                                                     const std::string& shownTo) {
  const std::string rollBack = "Sollen die bereits umbenannten Dateien zurückbenannt werden?";
  if (run.cancelled) {
    return {"Umbenennung abgebrochen",
            "Die Umbenennung wurde abgebrochen.\n" + std::to_string(run.renamed) + " von " +
                FilesText(plan.size()) + " sind umbenannt.\n" + rollBack};
  }
  return {"Umbenennung fehlgeschlagen", "Die Datei \n" + shownFrom + "\nkonnte nicht in\n" +
                                            shownTo + "\numbenannt werden.\n" + rollBack};
}

std::string NotStartedText(const ApplyOutcome& outcome, const std::string& shownJournals) {
  if (outcome.journalError == MakeErrorCode(JournalError::Busy))
    return "Es wurde keine Datei umbenannt: " + RunBusyText(outcome.holder);
  return "Es wurde keine Datei umbenannt: Das Protokoll, mit dem sich die Umbenennung auch nach "
         "einem Absturz rückgängig machen lässt, konnte nicht geschrieben werden.\n" +
         FileErrorText(outcome.journalError, shownJournals);
}

std::string JournalNotFinishedText(std::error_code error, const std::string& shownJournals,
                                   const std::string& undoHint) {
  return "Das Protokoll der Umbenennung konnte nicht abgeschlossen werden: " +
         FileErrorText(error, shownJournals) + " Es bleibt erhalten; " + undoHint +
         " macht die Umbenennung rückgängig.";
}

}  // namespace zul
