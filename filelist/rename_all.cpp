#include <chrono>
#include <numeric>

#include "filelist/core/rename_run.h"
#include "filelist/core/run_journal.h"
#include "filelist/undo_report.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

void CZulboView::OnApplyFilter() { RenameAll(); }

void CZulboView::RenameAll() {
  if (m_model->Count() == 0) return;
  JournaledRun run;
  run.started = std::chrono::duration_cast<std::chrono::seconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  run.plan = MakePlan(m_model->Rows());
  run.identities = IdentifyFiles(run.plan, m_services.files);
  Result<RunJournal> journal = RunJournal::Begin(m_services.journals, run);
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
  const RunOutcome outcome = RunPlan(plan, m_services.files);
  std::vector<size_t> renamed(outcome.renamed);
  std::iota(renamed.begin(), renamed.end(), size_t{0});
  if (!renamed.empty()) emit FilesRenamed(plan, renamed, false);
  const bool rolledBack = !outcome.Finished(plan) && OfferRollBack(plan, outcome.renamed);
  journal->Finish(outcome.renamed);
  run.renamed = outcome.renamed;
  SetLastRun(outcome.renamed > 0 && !rolledBack ? std::optional(std::move(run)) : std::nullopt);
}

bool CZulboView::OfferRollBack(const RenamePlan& plan, size_t renamed) {
  const RenameStep& failed = plan[renamed];
  const QString question =
      QStringLiteral("Die Datei \n") + TextOf(failed.FromPath()) +
      QStringLiteral("\nkonnte nicht in\n") + TextOf(failed.ToPath()) +
      QStringLiteral(
          "\numbenannt werden.\nSollen die bereits umbenannten Dateien zurückbenannt werden?");
  if (m_services.prompter.Message(this, QStringLiteral("Umbenennung fehlgeschlagen"), question,
                                  Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) != Prompter::Answer::Yes) {
    return false;
  }
  const std::vector<Unrestored> unrestored = RollBack(plan, renamed, m_services.files);
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
  return true;
}
