#include "core/plan_check.h"

#include <cerrno>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/folder_cache.h"
#include "platform/case_compare.h"

namespace zul {

namespace {

// Where a folder holds far more names than the plan has steps in it, looking up names one by one
// is cheaper than reading the folder; the listing stops at this many names per step.
constexpr size_t kListedNamesPerStep = 4;
constexpr size_t kListedNamesExtra = 64;
// What a folder that cannot be asked is taken to allow.
constexpr size_t kUsualNameLimit = 255;

StepIssue NameIssue(const std::string& name, size_t maxName) {
  if (!IsPlainName(name)) return StepIssue::NameInvalid;
  if (name.size() > maxName) return StepIssue::NameTooLong;
  return StepIssue::None;
}

constexpr uint32_t kNoStep = kNoOtherStep;

// What the check knows of one name of a folder: the first step that renames it away, the first
// that renames a file to it (a step that keeps its name does neither), and whether the folder's
// listing holds it.
struct Slot {
  uint32_t firstAway = kNoStep;
  uint32_t firstTo = kNoStep;
  bool listed = false;
};

// The steps of one folder, checked against that folder. Every relation between steps (freed,
// taken, renamed away) lies within one folder, since a file never leaves its own.
class FolderCheck {
 public:
  FolderCheck(const RenamePlan& plan, FileSystem& files, FolderCache& folders,
              std::vector<StepCheck>& issues)
      : m_plan(plan), m_files(files), m_folders(folders), m_issues(issues) {}

  // `steps` are ascending indexes into the plan, all of one folder.
  void Run(const std::vector<uint32_t>& steps) {
    const Result<int> folder = m_folders.Open(m_plan[steps.front()].directory);
    if (!folder) {
      const int error = folder.error().value();
      MarkWholeFolder(steps,
                      error == ENOENT || error == ENOTDIR ? StepIssue::FolderMissing
                                                          : StepIssue::FolderUnreadable,
                      kUsualNameLimit);
      return;
    }
    m_folder = *folder;
    m_ignoresCase = m_files.IgnoresCase(m_folder);
    m_maxName = m_files.MaxNameLength(m_folder);
    // A listing compares names as bytes, so only a folder that does so too is read whole.
    m_listed = false;
    if (!m_ignoresCase) {
      std::vector<std::string> names;
      const std::error_code error = m_files.ListNamesInFolder(
          m_folder, steps.size() * kListedNamesPerStep + kListedNamesExtra, names);
      if (error && error.value() != EOVERFLOW) {
        MarkWholeFolder(steps, StepIssue::FolderUnreadable, m_maxName);
        return;
      }
      if (!error) {
        m_listed = true;
        m_listedNames = std::move(names);
      }
    }
    MakeKeys(steps);
    for (size_t k = 0; k < steps.size(); ++k) m_issues[steps[k]] = Check(k, steps[k]);
    // The first step of a duplicate is marked too, naming the next one, so that both rows show.
    for (const uint32_t step : steps) {
      const StepCheck& later = m_issues[step];
      if (later.issue != StepIssue::DuplicateName) continue;
      StepCheck& first = m_issues[later.other];
      if (first.issue == StepIssue::None || first.issue == StepIssue::BecomesHidden)
        first = {StepIssue::DuplicateName, step};
    }
  }

 private:
  void MarkWholeFolder(const std::vector<uint32_t>& steps, StepIssue issue, size_t maxName) {
    for (const uint32_t step : steps) {
      const StepIssue name = NameIssue(m_plan[step].to, maxName);
      m_issues[step].issue = name != StepIssue::None ? name : issue;
    }
  }

  // One slot per name as the folder compares them, made once: every question the check asks of
  // a name is then answered from its slot, without hashing it again.
  void MakeKeys(const std::vector<uint32_t>& steps) {
    m_slots.clear();
    m_slots.reserve(m_listedNames.size() + 2 * steps.size());
    for (const std::string& name : m_listedNames) m_slots[name].listed = true;
    m_folded.clear();
    m_from.clear();
    m_to.clear();
    if (m_ignoresCase) m_folded.reserve(2 * steps.size());  // the keys point into it
    const auto key = [&](const std::string& name) -> std::string_view {
      if (!m_ignoresCase) return name;
      return m_folded.emplace_back(FoldCase(name));
    };
    for (const uint32_t step : steps) {
      Slot& from = m_slots[key(m_plan[step].from)];
      Slot& to = m_slots[key(m_plan[step].to)];
      m_from.push_back(&from);
      m_to.push_back(&to);
      if (&from == &to) continue;
      if (from.firstAway == kNoStep) from.firstAway = step;
      if (to.firstTo == kNoStep) to.firstTo = step;
    }
  }

  // The identity of `name` in the folder, ENOENT where it is not there, or another error where
  // the folder cannot tell. A listed folder gives no identities; it is never one that ignores
  // case, the only kind in which they are compared.
  Result<FileIdentity> Lookup(const std::string& name, const Slot& slot) {
    if (!m_listed) return m_files.IdentifyInFolder(m_folder, name);
    if (slot.listed) return FileIdentity{};
    return ErrnoCode(ENOENT);
  }

  StepCheck Check(size_t k, uint32_t index) {
    const RenameStep& step = m_plan[index];
    if (const StepIssue name = NameIssue(step.to, m_maxName); name != StepIssue::None)
      return {name};
    if (!IsPlainName(step.from)) return {StepIssue::SourceMissing};
    const Slot& from = *m_from[k];
    const Slot& to = *m_to[k];
    if (from.firstAway < index) return {StepIssue::SourceRenamedEarlier, from.firstAway};
    const Result<FileIdentity> source = Lookup(step.from, from);
    if (!source) {
      return {source.error().value() == ENOENT ? StepIssue::SourceMissing
                                               : StepIssue::FolderUnreadable};
    }
    if (step.from == step.to) return {};
    if (to.firstTo < index) return {StepIssue::DuplicateName, to.firstTo};
    const Result<FileIdentity> target = Lookup(step.to, to);
    if (target) {
      // A change of letter case alone finds the file itself where the folder ignores case.
      const bool ownFile = m_ignoresCase && &from == &to && *target == *source;
      if (!ownFile) {
        if (to.firstAway == kNoStep) return {StepIssue::TargetExists};
        if (to.firstAway > index) return {StepIssue::TargetRenamedLater, to.firstAway};
      }
    } else if (target.error().value() != ENOENT) {
      return {StepIssue::FolderUnreadable};
    }
    if (step.to[0] == '.' && step.from[0] != '.') return {StepIssue::BecomesHidden};
    return {};
  }

  const RenamePlan& m_plan;
  FileSystem& m_files;
  FolderCache& m_folders;
  std::vector<StepCheck>& m_issues;

  int m_folder = -1;
  bool m_ignoresCase = false;
  size_t m_maxName = kUsualNameLimit;
  bool m_listed = false;
  std::vector<std::string> m_listedNames;
  std::vector<std::string> m_folded;
  // Node-based, so that the slots stay where they are while more are added.
  std::unordered_map<std::string_view, Slot> m_slots;
  std::vector<const Slot*> m_from;  // per step of the folder: the slot of its old name
  std::vector<const Slot*> m_to;    // and of its new name
};

}  // namespace

IssueKind KindOf(StepIssue issue) {
  switch (issue) {
    case StepIssue::NameInvalid:
    case StepIssue::NameTooLong:
      return IssueKind::InvalidName;
    case StepIssue::DuplicateName:
      return IssueKind::DuplicateName;
    case StepIssue::TargetExists:
    case StepIssue::TargetRenamedLater:
      return IssueKind::TargetExists;
    case StepIssue::BecomesHidden:
      return IssueKind::Hidden;
    case StepIssue::EmptyTag:
      return IssueKind::EmptyTag;
    default:
      return IssueKind::SourceMissing;
  }
}

bool IsConflict(StepIssue issue) {
  return issue != StepIssue::None && issue != StepIssue::BecomesHidden &&
         issue != StepIssue::EmptyTag;
}

std::vector<StepCheck> CheckSteps(const RenamePlan& plan, FileSystem& files,
                                  const std::function<void(size_t done)>& progress) {
  // The steps grouped by folder, each group in plan order; hashing keeps this linear. Steps of
  // one folder mostly follow each other, and then need no hashing at all.
  std::unordered_map<std::string_view, uint32_t> folderIds;
  std::vector<std::vector<uint32_t>> groups;
  uint32_t group = 0;
  for (uint32_t i = 0; i < plan.size(); ++i) {
    if (i == 0 || plan[i].directory != plan[i - 1].directory) {
      const auto [found, added] =
          folderIds.try_emplace(plan[i].directory, static_cast<uint32_t>(groups.size()));
      if (added) groups.emplace_back();
      group = found->second;
    }
    groups[group].push_back(i);
  }
  std::vector<StepCheck> issues(plan.size());
  FolderCache folders(files);
  FolderCheck check(plan, files, folders, issues);
  for (size_t done = 0; done < groups.size(); ++done) {
    if (progress) progress(done);
    check.Run(groups[done]);
  }
  // The last of the warnings: any other issue of the step says more.
  for (size_t i = 0; i < plan.size(); ++i) {
    if (issues[i].issue == StepIssue::None && plan[i].emptyTag)
      issues[i].issue = StepIssue::EmptyTag;
  }
  return issues;
}

std::vector<StepIssue> CheckPlan(const RenamePlan& plan, FileSystem& files,
                                 const std::function<void(size_t done)>& progress) {
  const std::vector<StepCheck> checks = CheckSteps(plan, files, progress);
  std::vector<StepIssue> issues(checks.size());
  for (size_t i = 0; i < checks.size(); ++i) issues[i] = checks[i].issue;
  return issues;
}

}  // namespace zul
