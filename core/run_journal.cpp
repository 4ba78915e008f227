#include "core/run_journal.h"

#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <random>

#include "core/folder_cache.h"

namespace zul {

namespace {

constexpr std::string_view kRunPrefix = "run-";
constexpr std::string_view kSuffix = ".zjl";
constexpr std::string_view kSetAsideSuffix = ".damaged";

// A name no other run has: when it began, which process, and a random number against clashes
// of processes whose ids the system has reused.
std::string NewRunName(int64_t started) {
  std::random_device random;
  const uint64_t salt = (uint64_t{random()} << 32) | random();
  char name[80];
  std::snprintf(name, sizeof name, "run-%" PRId64 "-%d-%016" PRIx64 ".zjl", started,
                static_cast<int>(::getpid()), salt);
  return name;
}

bool IsRunName(std::string_view name) {
  return name.size() > kRunPrefix.size() + kSuffix.size() && name.starts_with(kRunPrefix) &&
         name.ends_with(kSuffix);
}

}  // namespace

std::vector<FileIdentity> IdentifyFiles(const RenamePlan& plan, FileSystem& files) {
  FolderCache folders(files);
  std::vector<FileIdentity> identities(plan.size());
  for (size_t k = 0; k < plan.size(); ++k) {
    if (!IsPlainName(plan[k].from)) continue;
    const Result<int> folder = folders.Open(plan[k].directory);
    if (!folder) continue;
    if (const Result<FileIdentity> identity = files.IdentifyInFolder(*folder, plan[k].from))
      identities[k] = *identity;
  }
  return identities;
}

Result<RunJournal> RunJournal::Begin(JournalFolder& folder, const JournaledRun& run) {
  if (const std::error_code error = folder.Prepare()) return error;
  const std::string name = NewRunName(run.started);
  // Written under a name no scan looks at, and renamed only once whole and locked: a scan never
  // sees a journal half written.
  const std::string draft = '.' + name;
  const Result<int> file = folder.Create(draft);
  if (!file) return file.error();
  const std::string bytes = EncodeJournal(run);
  std::error_code error = folder.Lock(*file);
  if (!error) error = folder.Write(*file, 0, bytes);
  if (!error) error = folder.Sync(*file);
  if (!error) error = folder.Rename(draft, name);
  if (error) {
    folder.Close(*file);
    folder.Remove(draft);
    return error;
  }
  return RunJournal(folder, *file, name, bytes.size());
}

RunJournal::RunJournal(RunJournal&& other) noexcept
    : m_folder(other.m_folder),
      m_file(std::exchange(other.m_file, -1)),
      m_name(std::move(other.m_name)),
      m_size(other.m_size) {}

RunJournal::~RunJournal() {
  if (m_file >= 0) m_folder->Close(m_file);
}

std::error_code RunJournal::Finish(size_t renamed) {
  if (m_file < 0) return {};
  std::error_code error = m_folder->Write(m_file, m_size, EncodeFinish(renamed));
  if (!error) error = m_folder->Sync(m_file);
  if (!error) error = m_folder->Rename(m_name, kLastJournal);
  if (error) m_folder->Remove(m_name);
  m_folder->Close(std::exchange(m_file, -1));
  return error;
}

PendingJournal::PendingJournal(PendingJournal&& other) noexcept
    : m_folder(other.m_folder),
      m_file(std::exchange(other.m_file, -1)),
      m_name(std::move(other.m_name)),
      m_run(std::move(other.m_run)) {}

PendingJournal& PendingJournal::operator=(PendingJournal&& other) noexcept {
  if (this != &other) {
    Release();
    m_folder = other.m_folder;
    m_file = std::exchange(other.m_file, -1);
    m_name = std::move(other.m_name);
    m_run = std::move(other.m_run);
  }
  return *this;
}

PendingJournal::~PendingJournal() { Release(); }

void PendingJournal::Release() {
  if (m_file >= 0) m_folder->Close(std::exchange(m_file, -1));
}

void PendingJournal::Drop() {
  if (m_file < 0) return;
  // Removed while still locked: no other program can take it up in between.
  m_folder->Remove(m_name);
  Release();
}

JournalScan ScanJournals(JournalFolder& folder) {
  JournalScan scan;
  std::vector<std::string> names;
  folder.List(names);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (!IsRunName(name)) continue;
    const Result<int> file = folder.Open(name);
    if (!file) continue;
    std::string bytes;
    // Held by another program: its run is still going on.
    if (folder.Lock(*file) || folder.Read(*file, bytes)) {
      folder.Close(*file);
      continue;
    }
    Result<JournaledRun> run = DecodeJournal(bytes);
    if (!run) {
      const std::string aside = name + std::string(kSetAsideSuffix);
      scan.damaged.push_back({folder.Rename(name, aside) ? name : aside, run.error()});
      folder.Close(*file);
    } else if (run->renamed) {
      folder.Rename(name, kLastJournal);
      folder.Close(*file);
    } else {
      scan.cutOff.emplace_back(folder, *file, name, std::move(*run));
    }
  }
  std::stable_sort(scan.cutOff.begin(), scan.cutOff.end(),
                   [](const PendingJournal& a, const PendingJournal& b) {
                     return a.Run().started > b.Run().started;
                   });
  return scan;
}

}  // namespace zul
