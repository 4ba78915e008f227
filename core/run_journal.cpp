#include "core/run_journal.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

#include "core/folder_cache.h"

namespace zul {

namespace {

constexpr std::string_view kRunPrefix = "run-";
constexpr std::string_view kSuffix = ".zjl";
constexpr std::string_view kDamagedSuffix = ".damaged";
constexpr std::string_view kUnresolvedSuffix = ".unresolved";
constexpr size_t kReadPiece = 1 << 20;
constexpr std::chrono::milliseconds kHeartbeat{250};
static_assert(kHeartbeatSlack > 4 * std::chrono::nanoseconds(kHeartbeat).count());

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
  bool keepsBirth = true;
  for (size_t k = 0; k < plan.size(); ++k) {
    if (!IsPlainName(plan[k].from)) continue;
    const bool newFolder = k == 0 || plan[k].directory != plan[k - 1].directory;
    const Result<int> folder = folders.Open(plan[k].directory);
    if (!folder) continue;
    if (newFolder) keepsBirth = files.KeepsBirth(*folder);
    if (const Result<FileIdentity> identity = files.IdentifyInFolder(*folder, plan[k].from)) {
      identities[k] = *identity;
      if (!keepsBirth) identities[k].birth = 0;
    }
  }
  return identities;
}

Result<JournaledRun> ReadJournal(JournalFolder& folder, int file) {
  const JournalSource source = [&folder, file](uint64_t offset, size_t size, std::string& bytes) {
    return folder.Read(file, offset, std::min(size, kReadPiece), bytes);
  };
  Result<JournaledRun> run = DecodeJournal(source);
  if (!run) return run;
  if (const Result<int64_t> modified = folder.Modified(file))
    run->renamedBy = *modified + (run->renamed ? 0 : kHeartbeatSlack);
  return run;
}

// Keeps the journal's time of last write within a heartbeat of now while the run goes on.
class RunJournal::Heartbeat {
 public:
  Heartbeat(JournalFolder& folder, int file)
      : m_thread([this, &folder, file] {
          std::unique_lock lock(m_mutex);
          while (!m_wake.wait_for(lock, kHeartbeat, [this] { return m_stop; }))
            (void)folder.Touch(file);
        }) {}
  ~Heartbeat() {
    {
      const std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stop = false;
  std::thread m_thread;  // last: started once the members it uses are
};

RunJournal::RunJournal(JournalFolder& folder, RunLock lock, int file, std::string name,
                       uint64_t size)
    : m_folder(&folder),
      m_lock(std::move(lock)),
      m_file(file),
      m_name(std::move(name)),
      m_size(size),
      m_heartbeat(std::make_unique<Heartbeat>(folder, file)) {}

Result<RunJournal> RunJournal::Begin(JournalFolder& folder, const JournaledRun& run) {
  Result<RunLock> lock = RunLock::Take(folder);
  if (!lock) return lock.error();
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
  return RunJournal(folder, std::move(*lock), *file, name, bytes.size());
}

RunJournal::RunJournal(RunJournal&& other) noexcept
    : m_folder(other.m_folder),
      m_lock(std::move(other.m_lock)),
      m_file(std::exchange(other.m_file, -1)),
      m_name(std::move(other.m_name)),
      m_size(other.m_size),
      m_heartbeat(std::move(other.m_heartbeat)) {}

RunJournal::~RunJournal() { Close(); }

void RunJournal::Close() {
  m_heartbeat.reset();
  if (m_file >= 0) m_folder->Close(std::exchange(m_file, -1));
  m_lock.Release();
}

std::error_code RunJournal::Finish(size_t renamed) {
  if (m_file < 0) return {};
  m_heartbeat.reset();
  // The finish record goes first even where the journal is removed after: should the removal
  // fail, it is not taken for a cut-off run.
  std::error_code error = m_folder->Write(m_file, m_size, EncodeFinish(renamed));
  if (!error) error = m_folder->Sync(m_file);
  if (!error)
    error = renamed == 0 ? m_folder->Remove(m_name) : m_folder->Rename(m_name, kLastJournal);
  Close();
  return error;
}

std::string SetJournalAside(JournalFolder& folder, const std::string& name,
                            std::string_view suffix) {
  const std::string aside = name + std::string(suffix);
  return folder.Rename(name, aside) ? name : aside;
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

std::string PendingJournal::SetAside() {
  if (m_file < 0) return m_name;
  m_name = SetJournalAside(*m_folder, m_name, kUnresolvedSuffix);
  Release();
  return m_name;
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
    // Held by another program: its run is still going on.
    if (folder.Lock(*file)) {
      folder.Close(*file);
      continue;
    }
    Result<JournaledRun> run = ReadJournal(folder, *file);
    if (!run) {
      scan.damaged.push_back({SetJournalAside(folder, name, kDamagedSuffix), run.error()});
      folder.Close(*file);
    } else if (run->renamed) {
      // Ended before it got its last name; one that left nothing renamed is no run to undo.
      if (*run->renamed == 0)
        folder.Remove(name);
      else
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
