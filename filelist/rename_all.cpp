#include <numeric>
#include <utility>

#include "filelist/core/rename_run.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace {

// "n von N" below the label of a long run or roll-back.
std::function<QString(int)> Counted(const QString& label, size_t total) {
  return [label, total](int done) {
    return label + QStringLiteral("\n%1 von %2").arg(done).arg(static_cast<qulonglong>(total));
  };
}

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
  const RenamePlan plan = MakePlan(m_model->Rows());
  RunOutcome outcome;
  {
    const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
        this, Counted(QStringLiteral("Dateien werden umbenannt …"), plan.size()),
        static_cast<int>(plan.size()), true);
    outcome = RunPlan(plan, m_services.files,
                      [&](size_t done) { return progress->Continue(static_cast<int>(done)); });
  }
  std::vector<size_t> renamed(outcome.renamed);
  std::iota(renamed.begin(), renamed.end(), size_t{0});
  if (!renamed.empty()) emit FilesRenamed(plan, renamed, false);
  if (outcome.Finished(plan) || (outcome.cancelled && outcome.renamed == 0)) return;

  const auto [title, question] = StoppedQuestion(plan, outcome);
  if (m_services.prompter.Message(this, title, question, Prompter::Buttons::YesNo,
                                  Prompter::Icon::Warning) != Prompter::Answer::Yes) {
    return;
  }
  std::vector<Unrestored> unrestored;
  {
    // Stopping half-way back would leave the files in a state nobody asked for.
    const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
        this, Counted(QStringLiteral("Dateien werden zurückbenannt …"), outcome.renamed),
        static_cast<int>(outcome.renamed), false);
    unrestored = RollBack(plan, outcome.renamed, m_services.files,
                          [&](size_t done) { progress->Continue(static_cast<int>(done)); });
  }
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
