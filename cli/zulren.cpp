#include "cli/zulren.h"

#include <unistd.h>

#include <chrono>
#include <string>

#include "cli/collect_rows.h"
#include "cli/shell_quote.h"
#include "document/input_line_source.h"
#include "filelist/core/rename_run.h"
#include "platform/error_text.h"
#include "platform/file_system.h"

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

// A line on the terminal that tells how far a long run has come; silent for the first second.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool terminal, const char* what, size_t total)
      : m_err(err), m_terminal(terminal), m_what(what), m_total(total) {}
  ~ProgressLine() {
    if (m_shown) m_err << "\r\033[K" << std::flush;
  }

  void Tell(size_t done) {
    if (!m_terminal || (done & 255) != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_started < std::chrono::seconds(1) || now - m_last < std::chrono::milliseconds(200))
      return;
    m_last = now;
    m_shown = true;
    m_err << '\r' << m_what << ' ' << done << " von " << m_total << " …" << std::flush;
  }

 private:
  std::ostream& m_err;
  const bool m_terminal;
  const char* m_what;
  const size_t m_total;
  const std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point m_last;
  bool m_shown = false;
};

int Apply(const RenamePlan& plan, FileSystem& files, const Table& table, Console console) {
  RunOutcome outcome;
  {
    ProgressLine progress(console.err, console.errIsTerminal, "Umbenannt:", plan.size());
    outcome = RunPlan(plan, files, [&](size_t done) {
      progress.Tell(done);
      return true;
    });
  }
  if (outcome.Finished(plan)) {
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
  if (unrestored.empty()) {
    console.err << "Die bereits umbenannten " << Files(outcome.renamed)
                << " wurden zurückbenannt.\n";
    return kExitConflicts;
  }
  console.err << unrestored.size()
              << (unrestored.size() == 1 ? " Datei konnte" : " Dateien konnten")
              << " nicht zurückbenannt werden und trägt weiterhin den neuen Namen:\n";
  for (const Unrestored& entry : unrestored) {
    const RenameStep& step = plan[entry.step];
    console.err << "  " << table.Shown(step.ToPath()) << " (ursprünglich "
                << table.Shown(step.FromPath())
                << "): " << FileErrorText(entry.error, table.Shown(step.ToPath())) << '\n';
  }
  return kExitUnrestored;
}

}  // namespace

int RunZulren(const Options& options, FileSystem& files, Console console) {
  if (options.help) {
    console.out << HelpText();
    return kExitOk;
  }
  if (options.version) {
    console.out << kVersion << '\n';
    return kExitOk;
  }

  FilterSettings filter;
  if (!ReadFilter(files, options.filterFile, filter, console.err)) return kExitUsage;
  std::string error;
  std::optional<FileRows> rows = CollectRows(files, options.paths, options.recursive, error);
  if (!rows) {
    console.err << "zulren: " << error << '\n';
    return kExitUsage;
  }
  if (const int column = SortColumn(options.sort); column >= 0)
    rows->Reorder(rows->SortOrder(column, true));
  rows->SetNewNames(rows->EvaluateNewNames(filter));
  const RenamePlan plan = MakePlan(*rows);
  const Table table(WorkingFolder());

  if (options.null) {
    for (const RenameStep& step : plan) {
      console.out << step.FromPath() << '\0' << step.ToPath() << '\0';
    }
  } else if (!options.apply) {
    for (const RenameStep& step : plan) {
      console.out << table.Shown(step.FromPath()) << " -> " << table.Shown(step.ToPath()) << '\n';
    }
  }
  console.out.flush();
  if (!options.apply) {
    console.err << Files(plan.size()) << ", 0 Konflikte\n";
    return kExitOk;
  }
  return Apply(plan, files, table, console);
}
