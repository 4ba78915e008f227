#include "core/apply_run.h"
#include "core/last_run.h"
#include "core/run_lock_text.h"
#include "filelist/undo_report.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

void CZulboView::SetLastRun(std::optional<JournaledRun> run) {
  m_lastRun = std::move(run);
  emit UndoAvailable(m_lastRun ? static_cast<int>(*m_lastRun->renamed) : 0);
}

void CZulboView::OnUndo() {
  if (!m_lastRun) return;
  const CheckHold hold(*this);
  const JournaledRun run = std::move(*m_lastRun);
  SetLastRun(std::nullopt);
  const int total = static_cast<int>(*run.renamed);
  LastRunUndo undo;
  {
    const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
        this, [total](int done) { return UndoProgressLabel(done, total); }, total, false);
    undo = UndoEndedRun(m_services.journals, m_services.files, run,
                        [&](size_t done, size_t) { progress->Continue(static_cast<int>(done)); });
  }
  if (undo.status != LastRunUndo::Status::Done) {
    // Nothing was touched: the run stays to be undone later.
    SetLastRun(run);
    const std::string why = undo.status == LastRunUndo::Status::Busy
                                ? RunBusyText(undo.holder)
                                : FileErrorText(undo.error, m_services.journals.Path());
    m_services.prompter.Message(this, QStringLiteral("Rückgängig nicht möglich"), TextOf(why),
                                Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return;
  }
  const UndoOutcome& outcome = undo.outcome;
  ShowFilesRenamed(run.plan, outcome.restored, true);
  emit StatusMessage(TextOf(FilesText(outcome.restored.size()) + " zurückbenannt."));
  ReportUnrestored(m_services.prompter, this, QStringLiteral("Rückgängig unvollständig"), run.plan,
                   outcome.unrestored);
}

}  // namespace zul
