#include "cli/zulren.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "cli/collect_rows.h"
#include "cli/files0_from.h"
#include "cli/filter_options.h"
#include "cli/json_report.h"
#include "cli/progress_line.h"
#include "cli/shell_quote.h"
#include "core/plan_check.h"
#include "core/plan_check_text.h"
#include "core/rename_run.h"
#include "core/run_journal.h"
#include "core/run_undo.h"
#include "document/input_line_source.h"
#include "platform/error_text.h"
#include "platform/file_system.h"

namespace zul {

namespace {

constexpr char kVersion[] = "zulren (Zul) 1.4.0";

// The working folder, to show paths below it relative to it.
std::string WorkingFolder() {
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) ? std::string(cwd) : std::string();
}

class Table {
 public:
  explicit Table(std::string cwd) : m_cwd(std::move(cwd)) {}

  // A path as the table shows it: relative where it lies below the working folder, quoted.
  std::string Shown(const std::string& path) const {
    if (!m_cwd.empty() && m_cwd != "/" && path.size() > m_cwd.size() + 1 &&
        path.compare(0, m_cwd.size(), m_cwd) == 0 && path[m_cwd.size()] == '/')
      return ShellQuote(std::string_view(path).substr(m_cwd.size() + 1));
    return ShellQuote(path);
  }

 private:
  std::string m_cwd;
};

// Reads the filter file as the window does; false, after a German message, when it is none.
bool ReadFilter(FileSystem& files, const std::string& path, FilterSettings& filter,
                std::ostream& err) {
  Result<std::unique_ptr<InputFile>> input = files.OpenInput(path);
  if (!input) {
    err << "zulren: " << FileErrorText(input.error(), ShellQuote(path)) << '\n';
    return false;
  }
  InputLineSource source(**input);
  const FilterReadResult result = ReadFrom(filter, source);
  if (source.Error()) {
    err << "zulren: " << FileErrorText(source.Error(), ShellQuote(path)) << '\n';
    return false;
  }
  if (result != ReadOk || (*input)->Status().size == 0) {
    err << "zulren: „" << ShellQuote(path) << "“ ist keine Filterdatei von Zul.\n";
    return false;
  }
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
    case Options::Sort::None:
      break;
  }
  return -1;
}

// "1 Datei" or "3 Dateien".
std::string Files(size_t count) {
  return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

// "0 Konflikte", "1 Konflikt", with ", 2 Warnungen" where steps only warn.
std::string ConflictCount(const std::vector<StepIssue>& issues) {
  size_t conflicts = 0;
  size_t warnings = 0;
  for (const StepIssue issue : issues) {
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

bool AnyConflict(const std::vector<StepIssue>& issues) {
  return std::any_of(issues.begin(), issues.end(), IsConflict);
}

// One row of the table: old path, an arrow, new path, and after " # " the check's reason.
void PrintStep(const RenameStep& step, StepIssue issue, const Table& table, std::ostream& out) {
  out << table.Shown(step.FromPath()) << " -> " << table.Shown(step.ToPath());
  if (issue != StepIssue::None) out << "  # " << IssueText(issue);
  out << '\n';
}

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
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

int Apply(const RenamePlan& plan, std::vector<FileIdentity> identities, FileSystem& files,
          JournalFolder& journals, const Table& table, Console console) {
  JournaledRun run{Now(), plan, std::move(identities), std::nullopt};
  Result<RunJournal> journal = RunJournal::Begin(journals, run);
  if (!journal) {
    console.err << "zulren: Es wurde keine Datei umbenannt: Das Protokoll, mit dem sich die "
                   "Umbenennung auch nach einem Absturz rückgängig machen lässt, konnte nicht "
                   "geschrieben werden. "
                << FileErrorText(journal.error(), ShellQuote(journals.Path())) << '\n';
    return kExitConflicts;
  }
  RunOutcome outcome;
  {
    ProgressLine progress(console.err, console.errIsTerminal, "Umbenannt:", plan.size());
    outcome = RunPlan(plan, files, [&](size_t done) {
      progress.Tell(done);
      return true;
    });
  }
  if (outcome.Finished(plan)) {
    journal->Finish(outcome.renamed);
    console.err << Files(plan.size()) << " umbenannt.\n";
    return kExitOk;
  }
  const RenameStep& failed = plan[outcome.renamed];
  console.err << "zulren: " << table.Shown(failed.FromPath()) << " konnte nicht in "
              << table.Shown(failed.ToPath()) << " umbenannt werden: "
              << FileErrorText(outcome.failure, table.Shown(failed.ToPath())) << '\n';
  std::vector<Unrestored> unrestored;
  {
    ProgressLine progress(console.err, console.errIsTerminal, "Zurückbenannt:", outcome.renamed);
    unrestored = RollBack(plan, outcome.renamed, files, [&](size_t done) { progress.Tell(done); });
  }
  journal->Finish(outcome.renamed);
  if (unrestored.empty()) {
    console.err << "Die bereits umbenannten " << Files(outcome.renamed)
                << " wurden zurückbenannt.\n";
    return kExitConflicts;
  }
  ListUnrestored(plan, unrestored, table, console.err);
  return kExitUnrestored;
}

// Undoes the last run that ended, whoever made it, by the identities its journal recorded.
int Undo(FileSystem& files, JournalFolder& journals, const Table& table, Console console) {
  std::string bytes;
  const Result<int> file = journals.Open(kLastJournal);
  const std::error_code read = file ? journals.Read(*file, bytes) : file.error();
  if (file) journals.Close(*file);
  if (read == std::errc::no_such_file_or_directory) {
    console.err << "zulren: Es gibt keine abgeschlossene Umbenennung, die sich rückgängig machen "
                   "ließe.\n";
    return kExitConflicts;
  }
  if (read) {
    console.err << "zulren: "
                << FileErrorText(read, ShellQuote(journals.Path() + "/" + kLastJournal)) << '\n';
    return kExitConflicts;
  }
  const Result<JournaledRun> run = DecodeJournal(bytes);
  if (!run) {
    console.err << "zulren: Das Protokoll der letzten Umbenennung ist beschädigt und wird nicht "
                   "verwendet: "
                << ShellQuote(journals.Path() + "/" + kLastJournal) << '\n';
    return kExitConflicts;
  }
  UndoOutcome outcome;
  {
    ProgressLine progress(console.err, console.errIsTerminal, "Zurückbenannt:", run->plan.size());
    outcome = UndoRun(*run, files, [&](size_t done) { progress.Tell(done); });
  }
  console.err << Files(outcome.restored.size()) << " zurückbenannt.\n";
  if (outcome.unrestored.empty()) return kExitOk;
  ListUnrestored(run->plan, outcome.unrestored, table, console.err);
  return kExitConflicts;
}

// The dry run's summary, or the check's refusal, or the run itself; returns the exit status.
int ApplyChecked(const RenamePlan& plan, const std::vector<StepIssue>& issues,
                 std::vector<FileIdentity> identities, FileSystem& files, JournalFolder& journals,
                 const Table& table, bool apply, Console console) {
  const bool conflicts = AnyConflict(issues);
  if (!apply) {
    console.err << Files(plan.size()) << ", " << ConflictCount(issues) << '\n';
    return conflicts ? kExitConflicts : kExitOk;
  }
  if (conflicts) {
    console.err << "zulren: Es wurde keine Datei umbenannt, denn die Prüfung fand "
                << ConflictCount(issues) << ":\n";
    for (size_t i = 0; i < plan.size(); ++i)
      if (IsConflict(issues[i])) PrintStep(plan[i], issues[i], table, console.err);
    return kExitConflicts;
  }
  return Apply(plan, std::move(identities), files, journals, table, console);
}

JsonSummary Summary(const std::vector<StepIssue>& issues, bool apply, int status) {
  JsonSummary summary;
  summary.files = issues.size();
  for (const StepIssue issue : issues) {
    if (IsConflict(issue))
      ++summary.conflicts;
    else if (issue != StepIssue::None)
      ++summary.warnings;
  }
  summary.apply = apply;
  summary.status = status;
  // A failed run renames back what it renamed, unless it says it could not.
  if (status == kExitOk)
    summary.renamed = apply ? issues.size() : 0;
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
    console.out << kVersion << '\n';
    return kExitOk;
  }

  if (options.undo) return Undo(files, journals, Table(WorkingFolder()), console);

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
  const bool sortsByDate =
      options.sort == Options::Sort::Created || options.sort == Options::Sort::Modified;
  std::optional<CollectedRows> collected = CollectRows(
      files, paths, options.recursive,
      [&](std::string_view name) { return sortsByDate || filter.NeedsFileTimes(name); }, error);
  if (!collected) {
    console.err << "zulren: " << error << '\n';
    return kExitUsage;
  }
  FileRows& rows = collected->rows;
  std::vector<FileIdentity>& identities = collected->identities;
  if (const int column = SortColumn(options.sort); column >= 0) {
    const std::vector<int> moved = rows.Sort(column, true);
    std::vector<FileIdentity> sorted(identities.size());
    for (size_t row = 0; row < moved.size(); ++row)
      sorted[static_cast<size_t>(moved[row])] = identities[row];
    identities = std::move(sorted);
  }
  {
    ProgressLine progress(console.err, console.errIsTerminal,
                          "Aufnahmezeiten gelesen:", static_cast<size_t>(rows.Count()));
    rows.ComputeNewNames(filter, captures, [&](int done) {
      progress.Tell(static_cast<size_t>(done));
      return true;
    });
  }
  const RenamePlan plan = MakePlan(rows);
  const Table table(WorkingFolder());
  const std::vector<StepIssue> issues = CheckPlan(plan, files);

  if (options.json) {
    for (size_t i = 0; i < plan.size(); ++i) WriteJsonRow(console.out, plan[i], issues[i]);
  } else if (options.null) {
    for (const RenameStep& step : plan) {
      console.out << step.FromPath() << '\0' << step.ToPath() << '\0';
    }
    // The reasons go where a script's reader of the list does not look.
    for (size_t i = 0; i < plan.size(); ++i)
      if (issues[i] != StepIssue::None) PrintStep(plan[i], issues[i], table, console.err);
  } else if (!options.apply) {
    for (size_t i = 0; i < plan.size(); ++i) PrintStep(plan[i], issues[i], table, console.out);
  }
  console.out.flush();
  const int status = ApplyChecked(plan, issues, std::move(identities), files, journals, table,
                                  options.apply, console);
  if (options.json) {
    WriteJsonSummary(console.out, Summary(issues, options.apply, status));
    console.out.flush();
  }
  return status;
}

}  // namespace zul
