#include "app/interrupted_runs.h"

#include <QDateTime>

#include "core/apply_run.h"
#include "core/last_run.h"
#include "core/run_journal.h"
#include "core/run_undo.h"
#include "filelist/undo_report.h"
#include "platform/error_text.h"
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
  if (defect.category() != JournalCategory())
    return QStringLiteral("nicht lesbar: ") + TextOf(FileErrorText(defect, "…"));
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

// Tells of journals kept aside because some of their files could not be dealt with.
void ReportSetAside(Prompter& prompter, const std::string& folder,
                    const std::vector<std::string>& names) {
  if (names.empty()) return;
  QString text = QStringLiteral(
      "Nicht alle Dateien unterbrochener Umbenennungen ließen sich zuordnen. Ihre Protokolle "
      "wurden beiseitegelegt und bleiben zur Ansicht erhalten:\n");
  for (const std::string& name : names)
    text += QStringLiteral("\n") + TextOf(folder) + QStringLiteral("/") + TextOf(name);
  prompter.Message(nullptr, QStringLiteral("Umbenennungsprotokoll beiseitegelegt"), text,
                   Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace

std::string OfferUndoOfInterruptedRuns(const Services& services) {
  // A user who never renamed anything gets no state folder from a mere start.
  std::vector<std::string> names;
  services.journals.List(names);
  if (names.empty()) return {};
  // Another program's run or undo may be going on: its journals are its own, and it is asked
  // about at the next start.
  Result<RunLock> lock = RunLock::Take(services.journals, std::chrono::milliseconds(0));
  if (!lock) return {};
  JournalScan scan = ScanJournals(services.journals);
  std::vector<std::string> setAside;
  size_t restored = 0;
  for (PendingJournal& journal : scan.cutOff) {
    const JournaledRun& run = journal.Run();
    const size_t renamed = CountRenamed(run, services.files);
    std::string aside;
    if (renamed > 0) {
      const Prompter::Answer answer = services.prompter.Message(
          nullptr, QStringLiteral("Umbenennung unterbrochen"), Question(run, renamed),
          Prompter::Buttons::YesNoCancel, Prompter::Icon::Warning);
      if (answer == Prompter::Answer::Cancel) continue;
      if (answer == Prompter::Answer::Yes) {
        const int total = static_cast<int>(run.plan.size());
        Recovery recovery;
        {
          const std::unique_ptr<Progress> progress = services.prompter.StartProgress(
              nullptr, [total](int done) { return UndoProgressLabel(done, total); }, total, false);
          recovery = RecoverRun(journal, services.files,
                                [&](size_t done) { progress->Continue(static_cast<int>(done)); });
        }
        ReportUnrestored(services.prompter, nullptr, QStringLiteral("Rückgängig unvollständig"),
                         run.plan, recovery.outcome.unrestored);
        restored += recovery.outcome.restored.size();
        aside = recovery.journal;
      } else {
        aside = KeepRun(journal, services.files);
      }
    } else {
      aside = KeepRun(journal, services.files);
    }
    if (!aside.empty()) setAside.push_back(aside);
  }
  ReportDamaged(services.prompter, services.journals.Path(), scan.damaged);
  ReportSetAside(services.prompter, services.journals.Path(), setAside);
  return restored == 0 ? std::string() : FilesText(restored) + " zurückbenannt.";
}

}  // namespace zul
