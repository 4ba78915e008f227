#include "core/plan_check.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  std::string_view name;
  size_t hash = 0;
  uint32_t firstAway = kNoStep;
  uint32_t firstTo = kNoStep;
  bool listed = false;
};

// The slots of one folder's names in one array, found through an open-addressed table of their
// indexes: a folder of 100,000 names costs two allocations, not one per name.
class SlotTable {
 public:
  // Forgets every slot and makes room for `names` of them.
  void Reset(size_t names) {
    m_slots.clear();
    m_slots.reserve(names);
    size_t size = 16;
    while (size < 2 * names) size *= 2;
    m_index.assign(size, kFree);
  }

  // The index of the slot of `name`, added where it has none; `name` must outlive the table's
  // next Reset. At most as many names as Reset made room for.
  uint32_t Find(std::string_view name) {
    const size_t hash = std::hash<std::string_view>{}(name);
    const size_t mask = m_index.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const uint32_t slot = m_index[at];
      if (slot == kFree) {
        m_index[at] = static_cast<uint32_t>(m_slots.size());
        m_slots.push_back({name, hash});
        return m_index[at];
      }
      if (m_slots[slot].hash == hash && m_slots[slot].name == name) return slot;
    }
  }

  Slot& operator[](uint32_t slot) { return m_slots[slot]; }
  const Slot& operator[](uint32_t slot) const { return m_slots[slot]; }

 private:
  static constexpr uint32_t kFree = UINT32_MAX;
  std::vector<Slot> m_slots;
  std::vector<uint32_t> m_index;
};

// The steps of one folder, checked against that folder. Every relation between steps (freed,
// taken, renamed away) lies within one folder, since a file never leaves its own.
class FolderCheck {
 public:
  FolderCheck(const RenamePlan& plan, FileSystem& files, FolderCache& folders,
              std::vector<StepCheck>& issues)
      : m_plan(plan), m_files(files), m_folders(folders), m_issues(issues) {}

  // `steps` are ascending indexes into the plan, all of one folder; `recent` is that folder's
  // listing where a walk has just read it.
  void Run(const std::vector<uint32_t>& steps, const FolderListing* recent) {
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
    m_listed = nullptr;
    m_readNames.clear();
    if (!m_ignoresCase && recent && IsSearchable(steps.front())) {
      m_listed = &recent->names;
    } else if (!m_ignoresCase) {
      const std::error_code error = m_files.ListNamesInFolder(
          m_folder, steps.size() * kListedNamesPerStep + kListedNamesExtra, m_readNames);
      if (error && error.value() != EOVERFLOW) {
        MarkWholeFolder(steps, StepIssue::FolderUnreadable, m_maxName);
        return;
      }
      if (!error) m_listed = &m_readNames;
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
    m_slots.Reset((m_listed ? m_listed->size() : 0) + 2 * steps.size());
    if (m_listed) {
      for (const std::string& name : *m_listed) m_slots[m_slots.Find(name)].listed = true;
    }
    m_folded.clear();
    m_from.clear();
    m_to.clear();
    if (m_ignoresCase) m_folded.reserve(2 * steps.size());  // the keys point into it
    const auto key = [&](const std::string& name) -> std::string_view {
      if (!m_ignoresCase) return name;
      return m_folded.emplace_back(FoldCase(name));
    };
    for (const uint32_t step : steps) {
      const uint32_t from = m_slots.Find(key(m_plan[step].from));
      const uint32_t to = m_slots.Find(key(m_plan[step].to));
      m_from.push_back(from);
      m_to.push_back(to);
      if (from == to) continue;
      if (m_slots[from].firstAway == kNoStep) m_slots[from].firstAway = step;
      if (m_slots[to].firstTo == kNoStep) m_slots[to].firstTo = step;
    }
  }

  // Whether names can be looked up in the folder, as in a folder that ListNamesInFolder reads:
  // asked with one lookup of a step's old name, which finds it or finds it gone.
  bool IsSearchable(uint32_t step) {
    const std::string& name = m_plan[step].from;
    if (!IsPlainName(name)) return false;
    const Result<FileIdentity> found = m_files.IdentifyInFolder(m_folder, name);
    return found || found.error().value() == ENOENT;
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
    const Slot& from = m_slots[m_from[k]];
    const Slot& to = m_slots[m_to[k]];
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
  std::vector<std::string> m_readNames;
  // Every name of the folder, where it was read whole; null where names are looked up one by one.
  const std::vector<std::string>* m_listed = nullptr;
  std::vector<std::string> m_folded;
  SlotTable m_slots;
  std::vector<uint32_t> m_from;  // per step of the folder: the slot of its old name
  std::vector<uint32_t> m_to;    // and of its new name
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
                                  const std::function<void(size_t done)>& progress,
                                  const std::vector<FolderListing>& recent) {
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
  std::unordered_map<std::string_view, const FolderListing*> listings;
  const auto now = std::chrono::steady_clock::now();
  for (const FolderListing& listing : recent) {
    if (now - listing.readAt < kRecentListing) listings[listing.directory] = &listing;
  }
  std::vector<StepCheck> issues(plan.size());
  FolderCache folders(files);
  FolderCheck check(plan, files, folders, issues);
  for (size_t done = 0; done < groups.size(); ++done) {
    if (progress) progress(done);
    const auto listing = listings.find(plan[groups[done].front()].directory);
    check.Run(groups[done], listing == listings.end() ? nullptr : listing->second);
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
