#include <numeric>

#include "filelist/core/rename_run.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

void CZulboView::OnApplyFilter() { RenameAll(); }

void CZulboView::RenameAll() {
  if (m_model->Count() == 0) return;
  const RenamePlan plan = MakePlan(m_model->Rows());
  const RunOutcome outcome = RunPlan(plan, m_services.files);
  std::vector<size_t> renamed(outcome.renamed);
  std::iota(renamed.begin(), renamed.end(), size_t{0});
  if (!renamed.empty()) emit FilesRenamed(plan, renamed, false);
  if (outcome.Finished(plan)) return;

  const RenameStep& failed = plan[outcome.renamed];
  const QString question =
      QStringLiteral("Die Datei \n") + TextOf(failed.FromPath()) +
      QStringLiteral("\nkonnte nicht in\n") + TextOf(failed.ToPath()) +
      QStringLiteral(
          "\numbenannt werden.\nSollen die bereits umbenannten Dateien zurückbenannt werden?");
  if (m_services.prompter.Message(this, QStringLiteral("Umbenennung fehlgeschlagen"), question,
                                  Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) != Prompter::Answer::Yes) {
    return;
  }
  const std::vector<Unrestored> unrestored = RollBack(plan, outcome.renamed, m_services.files);
  std::vector<size_t> restored;
  for (size_t k = outcome.renamed, next = 0; k-- > 0;) {
    if (next < unrestored.size() && unrestored[next].step == k) {
      ++next;
      continue;
    }
    restored.push_back(k);
  }
  if (!restored.empty()) emit FilesRenamed(plan, restored, true);
  if (unrestored.empty()) return;
  QString list;
  for (const Unrestored& entry : unrestored) {
    list += QStringLiteral("\n") + TextOf(plan[entry.step].ToPath()) +
            QStringLiteral("\n    ursprünglich: ") + TextOf(plan[entry.step].FromPath()) +
            QStringLiteral("\n");
  }
  m_services.prompter.Message(
      this, QStringLiteral("Zurückbenennen fehlgeschlagen"),
      QStringLiteral("Diese Dateien konnten nicht zurückbenannt werden und tragen "
                     "weiterhin den neuen Namen:\n") +
          list,
      Prompter::Buttons::Ok, Prompter::Icon::Warning);
}
