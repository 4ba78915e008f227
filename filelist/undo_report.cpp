#include "filelist/undo_report.h"

#include "filelist/core/run_undo.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

// A plain message until the prompter can show a list that scrolls.
void ReportUnrestored(Prompter& prompter, QWidget* owner, const RenamePlan& plan,
                      const std::vector<Unrestored>& unrestored) {
  if (unrestored.empty()) return;
  QString text = unrestored.size() == 1
                     ? QStringLiteral(
                           "1 Datei konnte nicht zurückbenannt werden und trägt "
                           "weiterhin den neuen Namen:\n")
                     : QStringLiteral(
                           "%1 Dateien konnten nicht zurückbenannt werden und tragen "
                           "weiterhin den neuen Namen:\n")
                           .arg(unrestored.size());
  for (const Unrestored& entry : unrestored) {
    const RenameStep& step = plan[entry.step];
    text += QStringLiteral("\n") + TextOf(step.ToPath()) + QStringLiteral("\n    ursprünglich: ") +
            TextOf(step.FromPath()) + QStringLiteral("\n    ") +
            TextOf(UnrestoredReason(entry.error, step.ToPath())) + QStringLiteral("\n");
  }
  prompter.Message(owner, QStringLiteral("Rückgängig unvollständig"), text, Prompter::Buttons::Ok,
                   Prompter::Icon::Warning);
}

QString UndoProgressLabel(int done, int total) {
  return QStringLiteral("Dateien werden zurückbenannt...\n%1 von %2").arg(done).arg(total);
}
