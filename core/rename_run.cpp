#include "core/rename_run.h"

#include "core/folder_cache.h"

namespace zul {

namespace {

std::error_code Rename(FolderCache& folders, const std::string& directory, const std::string& from,
                       const std::string& to) {
  if (!IsPlainName(from) || !IsPlainName(to)) return ErrnoCode(EINVAL);
  const Result<int> folder = folders.Open(directory);
  if (!folder) return folder.error();
  return folders.Files().RenameInFolder(*folder, from, to);
}

}  // namespace

RunOutcome RunPlan(const RenamePlan& plan, FileSystem& files, const ProceedCallback& proceed) {
  FolderCache folders(files);
  RunOutcome outcome;
  for (const RenameStep& step : plan) {
    if (proceed && !proceed(outcome.renamed)) {
      outcome.cancelled = true;
      break;
    }
    outcome.failure = Rename(folders, step.directory, step.from, step.to);
    if (outcome.failure) break;
    ++outcome.renamed;
  }
  return outcome;
}

std::vector<Unrestored> RollBack(const RenamePlan& plan, size_t renamed, FileSystem& files,
                                 const std::function<void(size_t done)>& progress) {
  FolderCache folders(files);
  std::vector<Unrestored> unrestored;
  for (size_t k = renamed; k-- > 0;) {
    if (progress) progress(renamed - 1 - k);
    const RenameStep& step = plan[k];
    if (const std::error_code error = Rename(folders, step.directory, step.to, step.from))
      unrestored.push_back({k, error});
  }
  return unrestored;
}

}  // namespace zul
