#include "core/apply_run.h"
#include "core/run_undo.h"
#include "filelist/undo_report.h"
#include "filelist/zulbo_view.h"
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
  const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
      this, [total](int done) { return UndoProgressLabel(done, total); }, total, false);
  const UndoOutcome outcome = UndoRun(
      run, m_services.files, [&](size_t done) { progress->Continue(static_cast<int>(done)); });
  ShowFilesRenamed(run.plan, outcome.restored, true);
  emit StatusMessage(TextOf(FilesText(outcome.restored.size()) + " zurückbenannt."));
  ReportUnrestored(m_services.prompter, this, QStringLiteral("Rückgängig unvollständig"), run.plan,
                   outcome.unrestored);
}

}  // namespace zul
