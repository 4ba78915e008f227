#include "filelist/undo_report.h"

#include <QStringList>

#include "core/run_undo.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

void ReportUnrestored(Prompter& prompter, QWidget* owner, const QString& title,
                      const RenamePlan& plan, const std::vector<Unrestored>& unrestored) {
  if (unrestored.empty()) return;
  QStringList files;
  for (const Unrestored& entry : unrestored) {
    const RenameStep& step = plan[entry.step];
    files.push_back(TextOf(step.ToPath()) + QStringLiteral("   (ursprünglich: ") +
                    TextOf(step.from) + QStringLiteral(") ") +
                    TextOf(UnrestoredReason(entry.error, step.to)));
  }
  const QString text =
      files.size() == 1
          ? QStringLiteral(
                "1 Datei konnte nicht zurückbenannt werden und trägt weiterhin den neuen Namen:")
          : QStringLiteral(
                "%1 Dateien konnten nicht zurückbenannt werden und tragen weiterhin den neuen "
                "Namen:")
                .arg(files.size());
  prompter.MessageWithList(owner, title, text, files, Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
}

QString UndoProgressLabel(int done, int total) {
  return QStringLiteral("Dateien werden zurückbenannt...\n%1 von %2").arg(done).arg(total);
}

}  // namespace zul
