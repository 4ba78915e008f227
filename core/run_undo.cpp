#include "core/run_undo.h"

#include "core/folder_cache.h"
#include "platform/error_text.h"

namespace zul {

namespace {

enum class StepState { Untouched, Renamed, Lost };

struct Assessment {
  StepState state = StepState::Untouched;
  std::error_code why;  // for Lost
  int folder = -1;      // for Renamed
};

size_t StepsToLookAt(const JournaledRun& run) { return run.renamed.value_or(run.plan.size()); }

// Whether `found` is the file recorded as `recorded`. A record without a birth time (taken from
// a folder's listing) holds device and inode only.
bool IsRecorded(const FileIdentity& recorded, const FileIdentity& found) {
  return found.device == recorded.device && found.inode == recorded.inode &&
         (recorded.birth == 0 || found.birth == recorded.birth);
}

bool Holds(FileSystem& files, int folder, const std::string& name, const FileIdentity& identity) {
  const Result<FileIdentity> found = files.IdentifyInFolder(folder, name);
  return found && IsRecorded(identity, *found);
}

// Where step k's file is. The new name is looked at first: where a folder ignores letter case,
// both names may lead to the file, and renaming it back then only restores the old spelling.
Assessment Assess(const JournaledRun& run, size_t k, FolderCache& folders) {
  const RenameStep& step = run.plan[k];
  const FileIdentity& identity = k < run.identities.size() ? run.identities[k] : FileIdentity{};
  if (identity == FileIdentity{} || step.from == step.to || !IsPlainName(step.from) ||
      !IsPlainName(step.to)) {
    return {};
  }
  const Result<int> folder = folders.Open(step.directory);
  if (!folder) return {StepState::Lost, folder.error()};
  FileSystem& files = folders.Files();
  const Result<FileIdentity> atNew = files.IdentifyInFolder(*folder, step.to);
  if (atNew && IsRecorded(identity, *atNew)) return {StepState::Renamed, {}, *folder};
  if (Holds(files, *folder, step.from, identity)) return {};
  return {StepState::Lost, atNew ? MakeErrorCode(JournalError::OtherFile) : ErrnoCode(ENOENT)};
}

}  // namespace

size_t CountRenamed(const JournaledRun& run, FileSystem& files) {
  FolderCache folders(files);
  size_t renamed = 0;
  for (size_t k = 0; k < StepsToLookAt(run); ++k)
    renamed += Assess(run, k, folders).state == StepState::Renamed;
  return renamed;
}

UndoOutcome UndoRun(const JournaledRun& run, FileSystem& files,
                    const std::function<void(size_t done)>& progress) {
  FolderCache folders(files);
  UndoOutcome outcome;
  const size_t steps = StepsToLookAt(run);
  for (size_t k = steps; k-- > 0;) {
    if (progress) progress(steps - 1 - k);
    const Assessment assessment = Assess(run, k, folders);
    if (assessment.state == StepState::Lost) {
      outcome.unrestored.push_back({k, assessment.why});
    } else if (assessment.state == StepState::Renamed) {
      const RenameStep& step = run.plan[k];
      if (const std::error_code error =
              files.RenameInFolder(assessment.folder, step.to, step.from)) {
        outcome.unrestored.push_back({k, error});
      } else {
        outcome.restored.push_back(k);
      }
    }
  }
  return outcome;
}

std::string UnrestoredReason(std::error_code error, std::string_view shownPath) {
  if (error == MakeErrorCode(JournalError::OtherFile))
    return "Unter dem neuen Namen liegt eine andere Datei.";
  if (error == std::errc::file_exists) return "Der ursprüngliche Name ist vergeben.";
  if (error == std::errc::no_such_file_or_directory)
    return "Die Datei wurde verschoben oder gelöscht.";
  return FileErrorText(error, shownPath);
}

}  // namespace zul
