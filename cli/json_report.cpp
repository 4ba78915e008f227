#include "cli/json_report.h"

#include <unicode/utf8.h>

#include <cstdio>
#include <string>

#include "core/plan_check_text.h"

namespace zul {

namespace {

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
    out += escape;
    return;
  }
  out.push_back(c);
}

// "name":"…" and, where the text is not valid UTF-8, "name_bytes":[…].
void WritePath(std::ostream& out, const char* name, std::string_view path) {
  bool valid = true;
  out << '"' << name << "\":" << JsonString(path, valid);
  if (valid) return;
  out << ",\"" << name << "_bytes\":[";
  for (size_t i = 0; i < path.size(); ++i)
    out << (i > 0 ? "," : "") << static_cast<unsigned>(static_cast<unsigned char>(path[i]));
  out << ']';
}

}  // namespace

std::string JsonString(std::string_view bytes, bool& valid) {
  valid = true;
  std::string out = "\"";
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int32_t>(bytes.size());
  for (int32_t i = 0; i < length;) {
    const int32_t begin = i;
    UChar32 c;
    U8_NEXT(data, i, length, c);
    if (c < 0) {
      valid = false;
      out += "\xEF\xBF\xBD";
      continue;
    }
    if (c < 0x80)
      AppendEscaped(out, static_cast<char>(c));
    else
      out.append(bytes.substr(static_cast<size_t>(begin), static_cast<size_t>(i - begin)));
  }
  out.push_back('"');
  return out;
}

const char* IssueKindId(IssueKind kind) {
  switch (kind) {
    case IssueKind::InvalidName:
      return "invalid-name";
    case IssueKind::SourceMissing:
      return "source-missing";
    case IssueKind::DuplicateName:
      return "duplicate-name";
    case IssueKind::TargetExists:
      return "target-exists";
    case IssueKind::Hidden:
      return "hidden";
    case IssueKind::EmptyTag:
      return "empty-tag";
  }
  return "";
}

void WriteJsonRow(std::ostream& out, const RenamePlan& plan, size_t row, StepCheck check) {
  const RenameStep& step = plan[row];
  const StepIssue issue = check.issue;
  out << "{\"type\":\"row\",";
  WritePath(out, "old", step.FromPath());
  out << ',';
  WritePath(out, "new", step.ToPath());
  out << ",\"conflict\":" << (IsConflict(issue) ? "true" : "false");
  if (issue == StepIssue::None) {
    out << ",\"kind\":null,\"reason\":null}\n";
    return;
  }
  bool valid = true;
  out << ",\"kind\":\"" << IssueKindId(KindOf(issue))
      << "\",\"reason\":" << JsonString(IssueText(plan, row, check), valid) << "}\n";
}

void WriteJsonSummary(std::ostream& out, const JsonSummary& summary) {
  out << "{\"type\":\"summary\",\"files\":" << summary.files
      << ",\"conflicts\":" << summary.conflicts << ",\"warnings\":" << summary.warnings
      << ",\"apply\":" << (summary.apply ? "true" : "false") << ",\"renamed\":";
  if (summary.renamed)
    out << *summary.renamed;
  else
    out << "null";
  out << ",\"status\":" << summary.status << "}\n";
}

}  // namespace zul
