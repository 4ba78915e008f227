#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/folder_listing.h"
#include "core/rename_plan.h"

namespace zul {

class FileSystem;

// What the check of a plan found for one step. The first that applies wins, in this order.
// Every value but None, BecomesHidden and EmptyTag means the run fails at that step if it gets
// there.
enum class StepIssue : uint8_t {
  None,
  NameInvalid,           // the new name is empty, "." or "..", or holds '/' or NUL
  NameTooLong,           // the new name is longer than its folder allows
  SourceMissing,         // the old name is not in its folder
  SourceRenamedEarlier,  // an earlier step renames the old name away
  FolderMissing,         // the folder is gone
  FolderUnreadable,      // names in the folder cannot be looked up
  DuplicateName,         // an earlier step of the same folder gets the same new name
  TargetExists,          // the new name is taken and no step frees it first
  TargetRenamedLater,    // the new name is taken by the old name of a later step
  BecomesHidden,         // a warning only: the new name starts with '.', the old one did not
  EmptyTag,              // a warning only: a metadata placeholder of the name came out empty
};

// The reasons shown to the user: a closed set, each issue belongs to one.
enum class IssueKind : uint8_t {
  InvalidName,
  SourceMissing,
  DuplicateName,
  TargetExists,
  Hidden,
  EmptyTag,
};
inline constexpr int kIssueKinds = 6;

// A step's issue and the step it concerns: for DuplicateName the other step with the same new
// name (the first one for a later step, the next one for the first), for TargetRenamedLater the
// step that renames the file in the way; kNoOtherStep otherwise.
inline constexpr uint32_t kNoOtherStep = UINT32_MAX;
struct StepCheck {
  StepIssue issue = StepIssue::None;
  uint32_t other = kNoOtherStep;
  friend bool operator==(const StepCheck&, const StepCheck&) = default;
};

IssueKind KindOf(StepIssue issue);
// Whether the run fails at a step with this issue.
bool IsConflict(StepIssue issue);

// Checks each step of the plan against the disk as the run would meet it: the steps before it
// done, the steps after it not yet. Names are compared as bytes, or ignoring letter case where the
// folder does; targets are looked up on the disk, so files outside the plan count. Reads only:
// never changes a file. One result per step. `progress` is told how many folders are done.
// Every step of a duplicate is marked, unless it has an issue of its own. A folder of `recent`
// read less than kRecentListing ago is taken as it was read then instead of being read again:
// a reading is a snapshot either way, and the run's renames never replace a file that came since.
inline constexpr std::chrono::milliseconds kRecentListing{1000};
[[nodiscard]] std::vector<StepCheck> CheckSteps(
    const RenamePlan& plan, FileSystem& files,
    const std::function<void(size_t done)>& progress = {},
    const std::vector<FolderListing>& recent = {});
// The same, without the steps the issues concern.
[[nodiscard]] std::vector<StepIssue> CheckPlan(
    const RenamePlan& plan, FileSystem& files,
    const std::function<void(size_t done)>& progress = {});

}  // namespace zul
