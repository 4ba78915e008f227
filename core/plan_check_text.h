#pragma once

#include <string>
#include <vector>

#include "core/plan_check.h"
#include "core/rename_plan.h"

namespace zul {

// The German texts of the check (UTF-8), for the window and the command line alike.

// The short name of a reason: "Ziel existiert".
const char* IssueKindLabel(IssueKind kind);
// The reason as a sentence, for a tooltip or a line of output; empty for StepIssue::None.
const char* IssueText(StepIssue issue);
// The reason of one step as a sentence that names what it concerns: the other row of a duplicate
// ("Doppelter Name: wie Zeile 17, „Handy_20250803.jpg“", rows counted from 1, with the name
// they share), the file in the way of a taken target. Empty for StepIssue::None.
std::string IssueText(const RenamePlan& plan, size_t step, StepCheck check);
// The same for a row whose new name is `newName`, the row the check names having `otherNewName`.
std::string IssueText(StepCheck check, const std::string& newName, const std::string& otherNewName);
// How many steps fail, by reason, and how many only warn: "3 Konflikte: 2 × Ziel existiert,
// 1 × Doppelter Name". Empty when no step has an issue.
std::string CheckSummary(const std::vector<StepIssue>& issues);

}  // namespace zul
