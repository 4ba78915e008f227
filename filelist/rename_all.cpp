#include <chrono>
#include <numeric>
#include <utility>

#include "core/rename_run.h"
#include "core/run_journal.h"
#include "core/run_lock_text.h"
#include "filelist/undo_report.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

// The title and text of the question after a run that stopped early: which file failed, or that
// the user cancelled; then whether to rename back what was renamed.
std::pair<QString, QString> StoppedQuestion(const RenamePlan& plan, const RunOutcome& outcome) {
  const QString rollBack =
      QStringLiteral("Sollen die bereits umbenannten Dateien zurückbenannt werden?");
  if (outcome.cancelled) {
    return {QStringLiteral("Umbenennung abgebrochen"),
            QStringLiteral("Die Umbenennung wurde abgebrochen.\n%1 von %2 Dateien sind "
                           "umbenannt.\n")
                    .arg(static_cast<qulonglong>(outcome.renamed))
                    .arg(static_cast<qulonglong>(plan.size())) +
                rollBack};
  }
  const RenameStep& failed = plan[outcome.renamed];
  return {QStringLiteral("Umbenennung fehlgeschlagen"),
          QStringLiteral("Die Datei \n") + TextOf(failed.FromPath()) +
              QStringLiteral("\nkonnte nicht in\n") + TextOf(failed.ToPath()) +
              QStringLiteral("\numbenannt werden.\n") + rollBack};
}

}  // namespace

void CZulboView::OnApplyFilter() { RenameAll(); }

void CZulboView::RenameAll() {
  if (m_model->Count() == 0) return;
  const CheckHold hold(*this);
  JournaledRun run;
  run.started = std::chrono::duration_cast<std::chrono::seconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  run.plan = MakePlan(m_model->Rows());
  run.identities = IdentifyFiles(run.plan, m_services.files);
  Result<RunJournal> journal = RunJournal::Begin(m_services.journals, run);
  if (!journal && journal.error() == MakeErrorCode(JournalError::Busy)) {
    m_services.prompter.Message(this, QStringLiteral("Umbenennung nicht begonnen"),
                                QStringLiteral("Es wurde keine Datei umbenannt.\n") +
                                    TextOf(RunBusyText(RunLockHolder(m_services.journals))),
                                Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return;
  }
  if (!journal) {
    m_services.prompter.Message(
        this, QStringLiteral("Umbenennung nicht begonnen"),
        QStringLiteral("Es wurde keine Datei umbenannt: Das Protokoll, mit dem sich die "
                       "Umbenennung auch nach einem Absturz rückgängig machen lässt, konnte nicht "
                       "geschrieben werden.\n") +
            TextOf(FileErrorText(journal.error(), m_services.journals.Path())),
        Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return;
  }

  const RenamePlan& plan = run.plan;
  RunOutcome outcome;
  {
    const int total = static_cast<int>(plan.size());
    const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
        this,
        [total](int done) {
          return QStringLiteral("Dateien werden umbenannt …\n%1 von %2").arg(done).arg(total);
        },
        total, true);
    outcome = RunPlan(plan, m_services.files,
                      [&](size_t done) { return progress->Continue(static_cast<int>(done)); });
  }
  std::vector<size_t> renamed(outcome.renamed);
  std::iota(renamed.begin(), renamed.end(), size_t{0});
  if (!renamed.empty()) emit FilesRenamed(plan, renamed, false);
  const bool rolledBack = !outcome.Finished(plan) && OfferRollBack(plan, outcome);
  // A run rolled back leaves nothing to undo and does not replace the last run.
  const size_t left = rolledBack ? 0 : outcome.renamed;
  const std::error_code finished = journal->Finish(left);
  run.renamed = outcome.renamed;
  run.renamedBy = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  SetLastRun(left > 0 ? std::optional(std::move(run)) : std::nullopt);
  if (finished) {
    m_services.prompter.Message(
        this, QStringLiteral("Protokoll nicht abgeschlossen"),
        QStringLiteral("Das Protokoll der Umbenennung konnte nicht abgeschlossen werden.\n") +
            TextOf(FileErrorText(finished, m_services.journals.Path())) +
            QStringLiteral("\nEs bleibt erhalten: Die Umbenennung lässt sich mit „Rückgängig“, "
                           "beim nächsten Start oder mit „zulren --undo“ rückgängig machen."),
        Prompter::Buttons::Ok, Prompter::Icon::Warning);
  }
}

bool CZulboView::OfferRollBack(const RenamePlan& plan, const RunOutcome& outcome) {
  if (outcome.cancelled && outcome.renamed == 0) return false;
  const auto [title, question] = StoppedQuestion(plan, outcome);
  if (m_services.prompter.Message(this, title, question, Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) != Prompter::Answer::Yes) {
    return false;
  }
  const size_t renamed = outcome.renamed;
  std::vector<Unrestored> unrestored;
  {
    // Stopping half-way back would leave the files in a state nobody asked for.
    const int total = static_cast<int>(renamed);
    const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
        this, [total](int done) { return UndoProgressLabel(done, total); }, total, false);
    unrestored = RollBack(plan, renamed, m_services.files,
                          [&](size_t done) { progress->Continue(static_cast<int>(done)); });
  }
  std::vector<size_t> restored;
  for (size_t k = renamed, next = 0; k-- > 0;) {
    if (next < unrestored.size() && unrestored[next].step == k) {
      ++next;
      continue;
    }
    restored.push_back(k);
  }
  if (!restored.empty()) emit FilesRenamed(plan, restored, true);
  ReportUnrestored(m_services.prompter, this, QStringLiteral("Zurückbenennen fehlgeschlagen"), plan,
                   unrestored);
  return unrestored.empty();
}

}  // namespace zul
