#include "app/interrupted_runs.h"

#include <QDateTime>

#include "core/run_journal.h"
#include "core/run_undo.h"
#include "filelist/undo_report.h"
#include "platform/journal_folder.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

QString Question(const JournaledRun& run, size_t renamed) {
  const QDateTime started = QDateTime::fromSecsSinceEpoch(run.started);
  const size_t total = run.plan.size();
  return QStringLiteral("Die Umbenennung vom %1 um %2 Uhr wurde nicht zu Ende geführt.\n")
             .arg(started.toString(QStringLiteral("dd.MM.yyyy")),
                  started.toString(QStringLiteral("HH:mm:ss"))) +
         QStringLiteral("%1 von %2 %3 bereits den neuen Namen.\n")
             .arg(renamed)
             .arg(total)
             .arg(total == 1     ? QStringLiteral("Datei trägt")
                  : renamed == 1 ? QStringLiteral("Dateien trägt")
                                 : QStringLiteral("Dateien tragen")) +
         QStringLiteral(
             "Sollen diese Dateien zurückbenannt werden?\n\n"
             "(„Nein“ lässt sie, wie sie sind; „Abbrechen“ fragt beim nächsten Start "
             "wieder.)");
}

QString DefectText(const std::error_code& defect) {
  switch (static_cast<JournalError>(defect.value())) {
    case JournalError::UnknownVersion:
      return QStringLiteral("unbekannte Version");
    case JournalError::Truncated:
      return QStringLiteral("unvollständig");
    case JournalError::BadChecksum:
      return QStringLiteral("Prüfsumme falsch");
    default:
      return QStringLiteral("kein gültiges Protokoll");
  }
}

void ReportDamaged(Prompter& prompter, const std::string& folder,
                   const std::vector<DamagedJournal>& damaged) {
  if (damaged.empty()) return;
  QString text = QStringLiteral(
      "Protokolle unterbrochener Umbenennungen sind beschädigt. Mit ihnen wird keine Datei "
      "zurückbenannt; sie bleiben zur Ansicht liegen:\n");
  for (const DamagedJournal& journal : damaged)
    text += QStringLiteral("\n") + TextOf(folder + '/' + journal.name) + QStringLiteral(" (") +
            DefectText(journal.defect) + QStringLiteral(")");
  prompter.Message(nullptr, QStringLiteral("Umbenennungsprotokoll beschädigt"), text,
                   Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace

void OfferUndoOfInterruptedRuns(const Services& services) {
  JournalScan scan = ScanJournals(services.journals);
  for (PendingJournal& journal : scan.cutOff) {
    const JournaledRun& run = journal.Run();
    const size_t renamed = CountRenamed(run, services.files);
    if (renamed > 0) {
      const Prompter::Answer answer = services.prompter.Message(
          nullptr, QStringLiteral("Umbenennung unterbrochen"), Question(run, renamed),
          Prompter::Buttons::YesNoCancel, Prompter::Icon::Warning);
      if (answer == Prompter::Answer::Cancel) continue;
      if (answer == Prompter::Answer::Yes) {
        const int total = static_cast<int>(run.plan.size());
        const std::unique_ptr<Progress> progress = services.prompter.StartProgress(
            nullptr, [total](int done) { return UndoProgressLabel(done, total); }, total, false);
        const UndoOutcome outcome = UndoRun(
            run, services.files, [&](size_t done) { progress->Continue(static_cast<int>(done)); });
        ReportUnrestored(services.prompter, nullptr, QStringLiteral("Rückgängig unvollständig"),
                         run.plan, outcome.unrestored);
      }
    }
    journal.Drop();
  }
  ReportDamaged(services.prompter, services.journals.Path(), scan.damaged);
}

}  // namespace zul
