#include "core/plan_check_text.h"

#include <algorithm>
#include <array>
#include <string>

namespace zul {

namespace {

// "2 × Ziel existiert, 1 × Doppelter Name": the kinds by falling count, in their order on a tie.
std::string CountsByKind(const std::array<size_t, kIssueKinds>& counts) {
  std::array<int, kIssueKinds> kinds{};
  for (int i = 0; i < kIssueKinds; ++i) kinds[static_cast<size_t>(i)] = i;
  std::stable_sort(kinds.begin(), kinds.end(), [&](int a, int b) {
    return counts[static_cast<size_t>(a)] > counts[static_cast<size_t>(b)];
  });
  std::string text;
  for (const int kind : kinds) {
    const size_t count = counts[static_cast<size_t>(kind)];
    if (count == 0) continue;
    if (!text.empty()) text += ", ";
    text += std::to_string(count) + " × " + IssueKindLabel(static_cast<IssueKind>(kind));
  }
  return text;
}

}  // namespace

const char* IssueKindLabel(IssueKind kind) {
  switch (kind) {
    case IssueKind::InvalidName:
      return "Ungültiger Name";
    case IssueKind::SourceMissing:
      return "Quelle fehlt";
    case IssueKind::DuplicateName:
      return "Doppelter Name";
    case IssueKind::TargetExists:
      return "Ziel existiert";
    case IssueKind::Hidden:
      return "Wird versteckt";
    case IssueKind::EmptyTag:
      return "Leerer Platzhalter";
  }
  return "";
}

const char* IssueText(StepIssue issue) {
  switch (issue) {
    case StepIssue::None:
      return "";
    case StepIssue::NameInvalid:
      return "Ungültiger Name: Der neue Name ist leer, „.“ oder „..“ oder enthält einen "
             "Schrägstrich oder ein Nullzeichen.";
    case StepIssue::NameTooLong:
      return "Ungültiger Name: Der neue Name ist länger, als der Ordner erlaubt.";
    case StepIssue::SourceMissing:
      return "Quelle fehlt: Die Datei ist nicht mehr in ihrem Ordner.";
    case StepIssue::SourceRenamedEarlier:
      return "Quelle fehlt: Eine frühere Zeile benennt diese Datei schon um.";
    case StepIssue::FolderMissing:
      return "Quelle fehlt: Den Ordner der Datei gibt es nicht mehr.";
    case StepIssue::FolderUnreadable:
      return "Quelle fehlt: Der Ordner der Datei kann nicht gelesen werden.";
    case StepIssue::DuplicateName:
      return "Doppelter Name: Eine frühere Zeile desselben Ordners bekommt denselben neuen Namen.";
    case StepIssue::TargetExists:
      return "Ziel existiert: Im Ordner gibt es schon eine Datei mit diesem Namen.";
    case StepIssue::TargetRenamedLater:
      return "Ziel existiert: Die Datei mit diesem Namen wird erst später umbenannt.";
    case StepIssue::BecomesHidden:
      return "Wird versteckt: Der neue Name beginnt mit einem Punkt, Dateimanager blenden die "
             "Datei aus.";
    case StepIssue::EmptyTag:
      return "Leerer Platzhalter: Die Datei hat für einen Platzhalter der Maske (Musik, Kamera, "
             "Bildgröße) keinen Wert, er bleibt leer.";
  }
  return "";
}

std::string IssueText(StepCheck check, const std::string& newName,
                      const std::string& otherNewName) {
  const auto quoted = [](const std::string& name) { return "„" + name + "“"; };
  const bool named = check.other != kNoOtherStep;
  const std::string row = named ? "Zeile " + std::to_string(check.other + 1) : std::string();
  switch (check.issue) {
    case StepIssue::DuplicateName:
      if (named) return "Doppelter Name: wie " + row + ", " + quoted(otherNewName);
      break;
    case StepIssue::SourceRenamedEarlier:
      if (named) return "Quelle fehlt: " + row + " benennt diese Datei schon um.";
      break;
    case StepIssue::TargetExists:
      return "Ziel existiert: Im Ordner gibt es schon " + quoted(newName) + ".";
    case StepIssue::TargetRenamedLater:
      if (named)
        return "Ziel existiert: " + quoted(newName) + " wird erst in " + row + " umbenannt.";
      break;
    default:
      break;
  }
  return IssueText(check.issue);
}

std::string IssueText(const RenamePlan& plan, size_t step, StepCheck check) {
  const bool named = check.other < plan.size();
  if (!named) check.other = kNoOtherStep;
  return IssueText(check, plan[step].to, named ? plan[check.other].to : std::string());
}

std::string CheckSummary(const std::vector<StepIssue>& issues) {
  std::array<size_t, kIssueKinds> conflicts{};
  std::array<size_t, kIssueKinds> warnings{};
  size_t conflictCount = 0;
  size_t warningCount = 0;
  for (const StepIssue issue : issues) {
    if (issue == StepIssue::None) continue;
    const auto kind = static_cast<size_t>(KindOf(issue));
    if (IsConflict(issue)) {
      ++conflicts[kind];
      ++conflictCount;
    } else {
      ++warnings[kind];
      ++warningCount;
    }
  }
  std::string text;
  if (conflictCount > 0) {
    text = std::to_string(conflictCount) + (conflictCount == 1 ? " Konflikt: " : " Konflikte: ") +
           CountsByKind(conflicts);
  }
  if (warningCount > 0) {
    if (!text.empty()) text += "; ";
    text += std::to_string(warningCount) + (warningCount == 1 ? " Warnung: " : " Warnungen: ") +
            CountsByKind(warnings);
  }
  return text;
}

}  // namespace zul
