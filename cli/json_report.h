#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>

#include "core/plan_check.h"
#include "core/rename_plan.h"

namespace zul {

// The output of --json: one JSON object per line, a row's for every step and a summary at the
// end, so that a script reads it line by line. Paths are absolute. A path that is not valid UTF-8
// is shown with U+FFFD for each bad byte and given byte for byte as well, as a list of numbers
// under "old_bytes" or "new_bytes".

// {"type":"row","old":…,"new":…,"conflict":…,"kind":…,"reason":…}; kind and reason are null
// for a step without issue.
// The reason names the other row of a duplicate and the file in the way, as the window does.
void WriteJsonRow(std::ostream& out, const RenamePlan& plan, size_t row, StepCheck check);

struct JsonSummary {
  size_t files = 0;
  size_t conflicts = 0;
  size_t warnings = 0;
  bool apply = false;
  // How many files carry their new name now; none where a failed run could not say.
  std::optional<size_t> renamed;
  int status = 0;  // the exit status
};

// {"type":"summary","files":…,"conflicts":…,"warnings":…,"apply":…,"renamed":…,"status":…}
void WriteJsonSummary(std::ostream& out, const JsonSummary& summary);

// `bytes` as a JSON string, with its quotes; bad UTF-8 bytes become U+FFFD. `valid` tells
// whether there were none.
std::string JsonString(std::string_view bytes, bool& valid);

// The short, stable name of a reason's kind: "target-exists".
const char* IssueKindId(IssueKind kind);

}  // namespace zul
