#include <memory>
#include <utility>

#include "core/apply_run.h"
#include "filelist/undo_report.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/journal_folder.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

// The window's side of a run: its progress dialogs and its question, through the prompter.
class ViewRunObserver : public RunObserver {
 public:
  ViewRunObserver(Prompter& prompter, QWidget* owner) : m_prompter(prompter), m_owner(owner) {}

  bool Renaming(size_t done, size_t total) override {
    if (!m_progress) {
      const int count = static_cast<int>(total);
      m_progress = m_prompter.StartProgress(
          m_owner,
          [count](int renamed) {
            return QStringLiteral("Dateien werden umbenannt …\n%1 von %2").arg(renamed).arg(count);
          },
          count, true);
    }
    return m_progress->Continue(static_cast<int>(done));
  }

  bool ShouldRollBack(const RenamePlan& plan, const RunOutcome& outcome) override {
    m_progress.reset();
    const std::string from = outcome.cancelled ? std::string() : plan[outcome.renamed].FromPath();
    const std::string to = outcome.cancelled ? std::string() : plan[outcome.renamed].ToPath();
    const auto [title, question] = RollBackQuestion(plan, outcome, from, to);
    return m_prompter.Message(m_owner, TextOf(title), TextOf(question), Prompter::Buttons::YesNo,
                              Prompter::Icon::Warning) == Prompter::Answer::Yes;
  }

  void RollingBack(size_t done, size_t total) override {
    if (!m_progress) {
      // Stopping half-way back would leave the files in a state nobody asked for.
      const int count = static_cast<int>(total);
      m_progress = m_prompter.StartProgress(
          m_owner, [count](int back) { return UndoProgressLabel(back, count); }, count, false);
    }
    m_progress->Continue(static_cast<int>(done));
  }

  void Done() { m_progress.reset(); }

 private:
  Prompter& m_prompter;
  QWidget* m_owner;
  std::unique_ptr<Progress> m_progress;
};

}  // namespace

void CZulboView::OnApplyFilter() { RenameAll(); }

void CZulboView::RenameAll() {
  if (m_model->Count() == 0) return;
  ApplyOutcome outcome;
  const RenamePlan plan = MakePlan(m_model->Rows());
  {
    const CheckHold hold(*this);
    ViewRunObserver observer(m_services.prompter, this);
    outcome = ApplyPlan(plan, m_model->Rows().Identities(), m_services.files, m_services.journals,
                        observer);
    observer.Done();
    if (!outcome.Started()) {
      m_services.prompter.Message(this, QStringLiteral("Umbenennung nicht begonnen"),
                                  TextOf(NotStartedText(outcome, m_services.journals.Path())),
                                  Prompter::Buttons::Ok, Prompter::Icon::Warning);
      return;
    }
    ShowFilesRenamed(plan, outcome.RenamedSteps(), false);
    ReportUnrestored(m_services.prompter, this, QStringLiteral("Zurückbenennen fehlgeschlagen"),
                     plan, outcome.unrestored);
    if (outcome.finishError) {
      m_services.prompter.Message(
          this, QStringLiteral("Protokoll nicht abgeschlossen"),
          TextOf(JournalNotFinishedText(outcome.finishError, m_services.journals.Path(),
                                        "der nächste Start von Zul oder „zulren --undo“")),
          Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
    SetLastRun(std::move(outcome.undoable));
  }
  emit StatusMessage(TextOf(ApplySummary(plan, outcome)));
}

void CZulboView::ShowFilesRenamed(const RenamePlan& plan, const std::vector<size_t>& steps,
                                  bool back) {
  if (steps.empty()) return;
  if (m_model->FollowRenames(plan, steps, back) > 0) RecomputeNewNames();
  emit FilesRenamed(plan, steps, back);
}

}  // namespace zul
