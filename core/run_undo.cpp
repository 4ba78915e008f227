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

bool SameInode(const FileIdentity& recorded, const FileIdentity& found) {
  return found.device == recorded.device && found.inode == recorded.inode;
}

// Whether the file found under a step's new name is the one the run renamed. An inode number is
// reused once its file is gone, so the number alone proves nothing. A recorded birth time does.
// Where the record has none (taken from a folder's listing, or on an overlay, where the first
// rename gives a file a new one), a file born after the run is another; and where the file
// system keeps no birth time, so is one whose status changed after the run (the run's rename
// set that time last).
bool IsRenamedFile(const JournaledRun& run, const FileIdentity& recorded, const FileTrace& found) {
  if (recorded.birth != 0) return found.identity.birth == recorded.birth;
  if (run.renamedBy == 0) return false;
  if (found.identity.birth != 0) return found.identity.birth <= run.renamedBy;
  return found.changed <= run.renamedBy;
}

// Where step k's file is. The new name is looked at first: where a folder ignores letter case,
// both names may lead to the file, and renaming it back then only restores the old spelling.
Assessment Assess(const JournaledRun& run, size_t k, FolderCache& folders) {
  const RenameStep& step = run.plan[k];
  const FileIdentity& identity = k < run.identities.size() ? run.identities[k] : FileIdentity{};
  if (identity == FileIdentity{} || step.from == step.to) return {};
  if (!IsPlainName(step.from) || !IsPlainName(step.to))
    return {StepState::Lost, MakeErrorCode(JournalError::BadName)};
  const Result<int> folder = folders.Open(step.directory);
  if (!folder) return {StepState::Lost, folder.error()};
  FileSystem& files = folders.Files();
  const Result<FileTrace> atNew = files.TraceInFolder(*folder, step.to);
  if (atNew && SameInode(identity, atNew->identity)) {
    if (IsRenamedFile(run, identity, *atNew)) return {StepState::Renamed, {}, *folder};
    if (identity.birth == 0) return {StepState::Lost, MakeErrorCode(JournalError::Unproven)};
  }
  const Result<FileIdentity> atOld = files.IdentifyInFolder(*folder, step.from);
  if (atOld && SameInode(identity, *atOld)) return {};
  return {StepState::Lost, atNew ? MakeErrorCode(JournalError::OtherFile) : ErrnoCode(ENOENT)};
}

}  // namespace

size_t CountRenamed(const JournaledRun& run, FileSystem& files) {
  return SurveyRun(run, files).renamed;
}

RunSurvey SurveyRun(const JournaledRun& run, FileSystem& files) {
  FolderCache folders(files);
  RunSurvey survey;
  for (size_t k = 0; k < StepsToLookAt(run); ++k) {
    const StepState state = Assess(run, k, folders).state;
    survey.renamed += state == StepState::Renamed;
    survey.unclear += state == StepState::Lost;
  }
  return survey;
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
  if (error == MakeErrorCode(JournalError::Unproven))
    return "Die Datei unter dem neuen Namen wurde nach der Umbenennung verändert oder neu "
           "angelegt; sie ist nicht sicher die umbenannte und bleibt, wie sie ist.";
  if (error == MakeErrorCode(JournalError::BadName))
    return "Der Eintrag im Protokoll nennt keinen gültigen Dateinamen; er wird übergangen.";
  if (error == std::errc::file_exists) return "Der ursprüngliche Name ist vergeben.";
  if (error == std::errc::no_such_file_or_directory)
    return "Die Datei wurde verschoben oder gelöscht.";
  return FileErrorText(error, shownPath);
}

}  // namespace zul
