#pragma once

#include <cstddef>
#include <functional>
#include <system_error>
#include <vector>

#include "core/rename_plan.h"

namespace zul {

class FileSystem;

// Told how many steps are done so far, before each step; false stops the work before that step.
using ProceedCallback = std::function<bool(size_t done)>;

// What a run did. It renames the steps in order and stops at the first that fails, so steps
// 0 .. renamed-1 were renamed, and the step `renamed` failed (with `failure`) or was not tried
// because the user cancelled. Nothing of the plan after it was touched.
struct RunOutcome {
  size_t renamed = 0;
  std::error_code failure;
  bool cancelled = false;

  bool Finished(const RenamePlan& plan) const { return renamed == plan.size(); }
};

// Renames the files of the plan, each within its own folder, never over an existing file. A
// name that would leave its folder fails with EINVAL without reaching the disk.
RunOutcome RunPlan(const RenamePlan& plan, FileSystem& files, const ProceedCallback& proceed = {});

// A step that could not be renamed back, and why.
struct Unrestored {
  size_t step;
  std::error_code error;
};

// Renames the first `renamed` steps of the plan back, last first; returns the steps that keep
// their new name, in the order they were tried. `progress` is told how many are done.
std::vector<Unrestored> RollBack(const RenamePlan& plan, size_t renamed, FileSystem& files,
                                 const std::function<void(size_t done)>& progress = {});

}  // namespace zul
