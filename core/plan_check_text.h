#pragma once

#include <string>
#include <vector>

#include "core/plan_check.h"

namespace zul {

// The German texts of the check (UTF-8), for the window and the command line alike.

// The short name of a reason: "Ziel existiert".
const char* IssueKindLabel(IssueKind kind);
// The reason as a sentence, for a tooltip or a line of output; empty for StepIssue::None.
const char* IssueText(StepIssue issue);
// How many steps fail, by reason, and how many only warn: "3 Konflikte: 2 × Ziel existiert,
// 1 × Doppelter Name". Empty when no step has an issue.
std::string CheckSummary(const std::vector<StepIssue>& issues);

}  // namespace zul
