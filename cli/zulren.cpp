#include "cli/zulren.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/collect_rows.h"
#include "cli/files0_from.h"
#include "cli/filter_options.h"
#include "cli/json_report.h"
#include "cli/progress_line.h"
#include "cli/shell_quote.h"
#include "core/apply_run.h"
#include "core/full_path.h"
#include "core/last_run.h"
#include "core/plan_check.h"
#include "core/plan_check_text.h"
#include "core/rename_run.h"
#include "core/run_journal.h"
#include "core/run_lock_text.h"
#include "core/run_undo.h"
#include "core/unique_names.h"
#include "document/filter_file.h"
#include "document/input_line_source.h"
#include "platform/error_text.h"
#include "platform/file_system.h"
#include "res/version.h"

namespace zul {

namespace {

// Shows each path as it was given on the command line: a file's path as given, a path inside a
// given folder with the folder as given, and anything else (the journal's paths) absolute.
class Table {
 public:
  Table() = default;
  Table(FileSystem& files, const std::vector<std::string>& given) {
    for (const std::string& path : given) {
      // A file's folder as its path gave it (nothing for a bare name); a folder's own path.
      const Result<FileStatus> status = files.Examine(path);
      const bool folder = status && status->kind == FileKind::Folder;
      std::string full = FullPath(files, path);
      std::string shown = path;
      if (!folder) {
        full.erase(full.rfind('/') + 1);
        shown.erase(shown.rfind('/') == std::string::npos ? 0 : shown.rfind('/') + 1);
      } else {
        if (full.back() != '/') full += '/';
        if (shown.back() != '/') shown += '/';
      }
      m_prefixes.emplace_back(std::move(full), std::move(shown));
    }
  }

  std::string Shown(const std::string& path) const {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& prefix : m_prefixes) {
      if (path.starts_with(prefix.first) && (!best || prefix.first.size() > best->first.size()))
        best = &prefix;
    }
    if (!best) return ShellQuote(path);
    return ShellQuote(best->second + path.substr(best->first.size()));
  }

 private:
  // Each argument's folder, absolute with a '/' at its end, and as it was given.
  std::vector<std::pair<std::string, std::string>> m_prefixes;
};

// Reads the filter file as the window does; false, after a German message, when it is none.
bool ReadFilter(FileSystem& files, const std::string& path, FilterSettings& filter,
                std::ostream& err) {
  const Result<FilterFile> read = ReadFilterFile(files, path, filter);
  if (!read && read.error() == std::errc::file_too_large) {
    err << "zulren: „" << ShellQuote(path)
        << "“ ist keine Filterdatei von Zul: Eine Zeile ist länger als "
        << InputLineSource::kMaxLine / 1024 << " KiB.\n";
    return false;
  }
  if (!read) {
    err << "zulren: " << FileErrorText(read.error(), ShellQuote(path)) << '\n';
    return false;
  }
  // An empty "….fil" is a filter file the window has yet to write: it holds no filter to apply.
  if (read->kind != FilterFile::Kind::Filter) {
    err << "zulren: „" << ShellQuote(path) << "“ ist keine Filterdatei von Zul.\n";
    return false;
  }
  filter = read->filter;
  return true;
}

int SortColumn(Options::Sort sort) {
  switch (sort) {
    case Options::Sort::Name:
      return ColOldName;
    case Options::Sort::Created:
      return ColCreated;
    case Options::Sort::Modified:
      return ColModified;
    case Options::Sort::Captured:
      return ColCaptured;
    case Options::Sort::None:
      break;
  }
  return -1;
}

// "0 Konflikte", "1 Konflikt", with ", 2 Warnungen" where steps only warn.
std::string ConflictCount(const std::vector<StepCheck>& checks) {
  size_t conflicts = 0;
  size_t warnings = 0;
  for (const auto [issue, other] : checks) {
    if (IsConflict(issue))
      ++conflicts;
    else if (issue != StepIssue::None)
      ++warnings;
  }
  std::string text = std::to_string(conflicts) + (conflicts == 1 ? " Konflikt" : " Konflikte");
  if (warnings > 0)
    text += ", " + std::to_string(warnings) + (warnings == 1 ? " Warnung" : " Warnungen");
  return text;
}

bool AnyConflict(const std::vector<StepCheck>& checks) {
  return std::any_of(checks.begin(), checks.end(),
                     [](const StepCheck& check) { return IsConflict(check.issue); });
}

// One row of the table: old path, an arrow, new path, and after " # " the check's reason.
void PrintStep(const RenamePlan& plan, size_t step, StepCheck check, const Table& table,
               std::ostream& out) {
  out << table.Shown(plan[step].FromPath()) << " -> " << table.Shown(plan[step].ToPath());
  if (check.issue != StepIssue::None) out << "  # " << IssueText(plan, step, check);
  out << '\n';
}

// Lists the steps that could not be renamed back, each with why.
void ListUnrestored(const RenamePlan& plan, const std::vector<Unrestored>& unrestored,
                    const Table& table, std::ostream& err) {
  err << unrestored.size()
      << (unrestored.size() == 1 ? " Datei konnte nicht zurückbenannt werden und trägt"
                                 : " Dateien konnten nicht zurückbenannt werden und tragen")
      << " weiterhin den neuen Namen:\n";
  for (const Unrestored& entry : unrestored) {
    const RenameStep& step = plan[entry.step];
    err << "  " << table.Shown(step.ToPath()) << " (ursprünglich " << table.Shown(step.FromPath())
        << "): " << UnrestoredReason(entry.error, table.Shown(step.ToPath())) << '\n';
  }
}

// The terminal's side of a run: a progress line, and always a roll-back after a failure, since
// nobody is there to be asked.
class TerminalRunObserver : public RunObserver {
 public:
  explicit TerminalRunObserver(Console console) : m_console(console) {}

  bool Renaming(size_t done, size_t total) override {
    if (!m_progress)
      m_progress.emplace(m_console.err, m_console.errIsTerminal, "Umbenannt:", total);
    m_progress->Tell(done);
    return true;
  }
  bool ShouldRollBack(const RenamePlan&, const RunOutcome&) override {
    m_progress.reset();
    return true;
  }
  void RollingBack(size_t done, size_t total) override {
    if (!m_progress)
      m_progress.emplace(m_console.err, m_console.errIsTerminal, "Zurückbenannt:", total);
    m_progress->Tell(done);
  }
  void Done() { m_progress.reset(); }

 private:
  Console m_console;
  std::optional<ProgressLine> m_progress;
};

int Apply(const RenamePlan& plan, std::vector<FileIdentity> identities, FileSystem& files,
          JournalFolder& journals, const Table& table, Console console) {
  TerminalRunObserver observer(console);
  const ApplyOutcome outcome = ApplyPlan(plan, std::move(identities), files, journals, observer);
  observer.Done();
  if (!outcome.Started()) {
    console.err << "zulren: " << NotStartedText(outcome, ShellQuote(journals.Path())) << '\n';
    return kExitUnrestored;
  }
  if (!outcome.run.Finished(plan)) {
    const RenameStep& failed = plan[outcome.run.renamed];
    const std::string from = table.Shown(failed.FromPath());
    const std::string to = table.Shown(failed.ToPath());
    console.err << "zulren: " << from << " konnte nicht in " << to
                << " umbenannt werden: " << FailureText(outcome.run, from, to) << '\n';
  }
  if (!outcome.unrestored.empty()) ListUnrestored(plan, outcome.unrestored, table, console.err);
  console.err << ApplySummary(plan, outcome) << '\n';
  if (outcome.finishError) {
    console.err << "zulren: "
                << JournalNotFinishedText(outcome.finishError, ShellQuote(journals.Path()),
                                          "„zulren --undo“")
                << '\n';
    return kExitUnrestored;
  }
  if (!outcome.unrestored.empty()) return kExitUnrestored;
  return outcome.run.Finished(plan) ? kExitOk : kExitConflicts;
}

std::string StartedText(int64_t started) {
  const time_t when = started;
  struct tm local {};
  char text[32] = "";
  if (localtime_r(&when, &local))
    std::strftime(text, sizeof text, "vom %d.%m.%Y um %H:%M:%S Uhr", &local);
  return text;
}

// Undoes the most recent run, whoever made it: the last that ended, or one cut off since (a
// crash, a kill), which is thereby recovered.
int Undo(FileSystem& files, JournalFolder& journals, const Table& table, Console console) {
  LastRunUndo undo;
  {
    std::optional<ProgressLine> progress;
    undo = UndoLastRun(journals, files, [&](size_t done, size_t total) {
      if (!progress) progress.emplace(console.err, console.errIsTerminal, "Zurückbenannt:", total);
      progress->Tell(done);
    });
  }
  for (const DamagedJournal& damaged : undo.damaged)
    console.err << "zulren: Ein beschädigtes Protokoll wurde beiseitegelegt und nicht verwendet: "
                << ShellQuote(journals.Path() + "/" + damaged.name) << '\n';
  const std::string journal = ShellQuote(journals.Path() + "/" + undo.journal);
  switch (undo.status) {
    case LastRunUndo::Status::NoRun:
      console.err << "zulren: Es gibt keine Umbenennung, die sich rückgängig machen ließe.\n";
      return kExitConflicts;
    case LastRunUndo::Status::Busy:
      console.err << "zulren: Es wurde nichts zurückbenannt: " << RunBusyText(undo.holder) << '\n';
      return kExitConflicts;
    case LastRunUndo::Status::Unreadable:
      if (undo.error.category() == JournalCategory())
        console.err
            << "zulren: Das Protokoll der letzten Umbenennung ist beschädigt und wird nicht "
               "verwendet: "
            << journal << '\n';
      else
        console.err << "zulren: "
                    << FileErrorText(undo.error,
                                     undo.journal.empty() ? ShellQuote(journals.Path()) : journal)
                    << '\n';
      return kExitConflicts;
    case LastRunUndo::Status::Done:
      break;
  }
  if (undo.cutOff)
    console.err << "Die unterbrochene Umbenennung " << StartedText(undo.run.started)
                << " wurde wiederhergestellt: ";
  console.err << FilesText(undo.outcome.restored.size()) << " zurückbenannt.\n";
  if (undo.outcome.unrestored.empty()) return kExitOk;
  ListUnrestored(undo.run.plan, undo.outcome.unrestored, table, console.err);
  if (undo.journalKept) console.err << "Das Protokoll bleibt als " << journal << " erhalten.\n";
  return kExitConflicts;
}

// The dry run's summary, or the check's refusal, or the run itself; returns the exit status.
int ApplyChecked(const RenamePlan& plan, const std::vector<StepCheck>& checks,
                 std::vector<FileIdentity> identities, FileSystem& files, JournalFolder& journals,
                 const Table& table, bool apply, Console console) {
  const bool conflicts = AnyConflict(checks);
  if (!apply) {
    console.err << FilesText(plan.size()) << ", " << ConflictCount(checks) << '\n';
    return conflicts ? kExitConflicts : kExitOk;
  }
  if (conflicts) {
    console.err << "zulren: Es wurde keine Datei umbenannt, denn die Prüfung fand "
                << ConflictCount(checks) << ":\n";
    for (size_t i = 0; i < plan.size(); ++i)
      if (IsConflict(checks[i].issue)) PrintStep(plan, i, checks[i], table, console.err);
    return kExitConflicts;
  }
  return Apply(plan, std::move(identities), files, journals, table, console);
}

JsonSummary Summary(const std::vector<StepCheck>& checks, bool apply, int status) {
  JsonSummary summary;
  summary.files = checks.size();
  for (const StepCheck& check : checks) {
    if (IsConflict(check.issue))
      ++summary.conflicts;
    else if (check.issue != StepIssue::None)
      ++summary.warnings;
  }
  summary.apply = apply;
  summary.status = status;
  // A failed run renames back what it renamed, unless it says it could not.
  if (status == kExitOk)
    summary.renamed = apply ? checks.size() : 0;
  else if (status == kExitConflicts)
    summary.renamed = 0;
  return summary;
}

}  // namespace

int RunZulren(const Options& options, FileSystem& files, JournalFolder& journals,
              const CaptureReader& captures, Console console) {
  if (options.help) {
    console.out << HelpText();
    return kExitOk;
  }
  if (options.version) {
    console.out << "zulren (Zul) " << kVersion << '\n';
    return kExitOk;
  }

  if (options.undo) return Undo(files, journals, Table(), console);

  FilterSettings filter;
  if (!options.filterFile.empty() && !ReadFilter(files, options.filterFile, filter, console.err))
    return kExitUsage;
  options.overrides.ApplyTo(filter);
  std::string error;
  if (!options.saveFile.empty()) {
    if (!SaveFilterFile(files, options.saveFile, filter, error)) {
      console.err << "zulren: Der Filter wurde nicht gespeichert: " << error << '\n';
      return kExitUsage;
    }
    if (options.paths.empty() && !options.files0From) return kExitOk;
  }
  std::vector<std::string> paths = options.paths;
  if (options.files0From) {
    std::optional<std::vector<std::string>> read = ReadPaths0(files, *options.files0From, error);
    if (!read) {
      console.err << "zulren: " << error << '\n';
      return kExitUsage;
    }
    paths = std::move(*read);
  }
  // The dates are read only where the names or the order need them.
  const bool sortsByDate = options.sort == Options::Sort::Created ||
                           options.sort == Options::Sort::Modified ||
                           options.sort == Options::Sort::Captured;
  size_t failed = 0;
  std::vector<FolderListing> listings;
  Result<FileRows> collected = CollectRows(
      files, paths, options.recursive,
      [&](std::string_view name) { return sortsByDate || filter.NeedsFileTimes(name); }, listings,
      failed);
  if (!collected) {
    console.err << "zulren: " << FileErrorText(collected.error(), paths[failed]) << '\n';
    return kExitUsage;
  }
  FileRows& rows = *collected;
  if (const int column = SortColumn(options.sort); column >= 0) {
    // Sorted by capture time as the window sorts its column: every capture time read first.
    if (column == ColCaptured) rows.ReadCaptureTimes(captures);
    rows.Sort(column, true);
  }
  {
    ProgressLine progress(console.err, console.errIsTerminal,
                          "Metadaten gelesen:", static_cast<size_t>(rows.Count()));
    rows.ComputeNewNames(filter, captures, [&](int done) {
      progress.Tell(static_cast<size_t>(done));
      return true;
    });
  }
  MakeNamesUnique(rows, files);
  const RenamePlan plan = MakePlan(rows);
  const Table table(files, paths);
  // A folder the walk read moments ago is checked as it read it, not read a second time.
  const std::vector<StepCheck> checks = CheckSteps(plan, files, {}, listings);

  if (options.json) {
    for (size_t i = 0; i < plan.size(); ++i) WriteJsonRow(console.out, plan, i, checks[i]);
  } else if (options.null) {
    for (const RenameStep& step : plan) {
      console.out << step.FromPath() << '\0' << step.ToPath() << '\0';
    }
    // The reasons go where a script's reader of the list does not look.
    for (size_t i = 0; i < plan.size(); ++i)
      if (checks[i].issue != StepIssue::None) PrintStep(plan, i, checks[i], table, console.err);
  } else if (!options.apply) {
    for (size_t i = 0; i < plan.size(); ++i) PrintStep(plan, i, checks[i], table, console.out);
  }
  console.out.flush();
  const int status =
      ApplyChecked(plan, checks, rows.Identities(), files, journals, table, options.apply, console);
  if (options.json) {
    WriteJsonSummary(console.out, Summary(checks, options.apply, status));
    console.out.flush();
  }
  return status;
}

}  // namespace zul
