#include "core/run_lock.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <thread>
#include <utility>

#include "core/journal_format.h"

namespace zul {

namespace {

constexpr std::chrono::milliseconds kPoll{100};
// The holder's line is padded to this width, so that a shorter one overwrites a longer.
constexpr size_t kHolderWidth = 96;

Result<int> OpenLockFile(JournalFolder& folder) {
  Result<int> file = folder.Open(kRunLockFile);
  if (file || file.error() != std::errc::no_such_file_or_directory) return file;
  file = folder.Create(kRunLockFile);
  if (!file && file.error() == std::errc::file_exists) return folder.Open(kRunLockFile);
  return file;
}

std::string HolderLine() {
  const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  std::string line = std::string(program_invocation_short_name) + ' ' + std::to_string(::getpid()) +
                     ' ' + std::to_string(now);
  line.resize(kHolderWidth - 1, ' ');
  return line + '\n';
}

}  // namespace

Result<RunLock> RunLock::Take(JournalFolder& folder, std::chrono::milliseconds wait) {
  if (const std::error_code error = folder.Prepare()) return error;
  const Result<int> file = OpenLockFile(folder);
  if (!file) return file.error();
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const std::error_code error = folder.Lock(*file);
    if (!error) break;
    if (error != std::errc::operation_would_block || std::chrono::steady_clock::now() >= until) {
      folder.Close(*file);
      return error == std::errc::operation_would_block ? MakeErrorCode(JournalError::Busy) : error;
    }
    std::this_thread::sleep_for(kPoll);
  }
  // Only for the message of a run that has to wait: a failure to write it costs nothing else.
  (void)folder.Write(*file, 0, HolderLine());
  return RunLock(folder, *file);
}

RunLock::RunLock(RunLock&& other) noexcept
    : m_folder(other.m_folder), m_file(std::exchange(other.m_file, -1)) {}

RunLock::~RunLock() { Release(); }

void RunLock::Release() {
  if (m_file >= 0) m_folder->Close(std::exchange(m_file, -1));
}

std::optional<RunHolder> RunLockHolder(JournalFolder& folder) {
  const Result<int> file = folder.Open(kRunLockFile);
  if (!file) return std::nullopt;
  std::string line;
  const std::error_code error = folder.Read(*file, 0, kHolderWidth, line);
  folder.Close(*file);
  RunHolder holder;
  std::istringstream fields(line);
  if (error || !(fields >> holder.program >> holder.process >> holder.since)) return std::nullopt;
  return holder;
}

}  // namespace zul
