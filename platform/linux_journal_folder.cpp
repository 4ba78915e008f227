#include "platform/linux_journal_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_descriptor.h"

namespace zul {

namespace {

std::error_code Done(int result) { return result == 0 ? std::error_code() : LastErrno(); }

// mkdir -p: every missing folder of the path, private to the user.
int MakeFolders(const std::string& path) {
  for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string prefix = path.substr(0, end);
    if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    if (end == std::string::npos) break;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno;
  return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::string buffer(16384, '\0');
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
    return found->pw_dir;
  return "/";
}

}  // namespace

std::string StateFolderPath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/zul";
  std::string home = HomeFolder();
  if (home.size() > 1 && home.back() == '/') home.pop_back();
  return (home == "/" ? std::string() : home) + "/.local/state/zul";
}

std::error_code LinuxJournalFolder::Prepare() {
  const int error = MakeFolders(m_path);
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

std::error_code LinuxJournalFolder::List(std::vector<std::string>& names) {
  DIR* dir = ::opendir(m_path.c_str());
  if (!dir) return errno == ENOENT ? std::error_code() : LastErrno();
  int error = 0;
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(dir);
    if (!item) {
      error = errno;
      break;
    }
    const std::string_view name = item->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

Result<int> LinuxJournalFolder::Create(const std::string& name) {
  const int file = ::open(In(name).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (file < 0) return LastErrno();
  return file;
}

Result<int> LinuxJournalFolder::Open(const std::string& name) {
  const int file = ::open(In(name).c_str(), O_RDWR | O_CLOEXEC);
  if (file < 0) return LastErrno();
  return file;
}

void LinuxJournalFolder::Close(int file) {
  if (file >= 0) ::close(file);
}

std::error_code LinuxJournalFolder::Lock(int file) {
  return Done(::flock(file, LOCK_EX | LOCK_NB));
}

std::error_code LinuxJournalFolder::Write(int file, uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::pwrite(file, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (count < 0) {
      if (errno == EINTR) continue;
      return LastErrno();
    }
    bytes.remove_prefix(static_cast<size_t>(count));
    offset += static_cast<uint64_t>(count);
  }
  return {};
}

std::error_code LinuxJournalFolder::Read(int file, uint64_t offset, size_t size,
                                         std::string& bytes) {
  bytes.resize(size);
  size_t done = 0;
  while (done < size) {
    const ssize_t count =
        ::pread(file, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
    if (count < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return LastErrno();
    }
    if (count == 0) break;
    done += static_cast<size_t>(count);
  }
  bytes.resize(done);
  return {};
}

Result<int64_t> LinuxJournalFolder::Modified(int file) {
  struct stat info {};
  if (::fstat(file, &info) != 0) return LastErrno();
  return int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
}

std::error_code LinuxJournalFolder::Touch(int file) { return Done(::futimens(file, nullptr)); }

std::error_code LinuxJournalFolder::Sync(int file) { return Done(::fsync(file)); }

std::error_code LinuxJournalFolder::Rename(const std::string& from, const std::string& to) {
  if (::rename(In(from).c_str(), In(to).c_str()) != 0) return LastErrno();
  const FileDescriptor folder(::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() < 0) return LastErrno();
  return Done(::fsync(folder.Get()));
}

std::error_code LinuxJournalFolder::Remove(const std::string& name) {
  return Done(::unlink(In(name).c_str()));
}

JournalFolder& SystemJournalFolder() {
  static LinuxJournalFolder folder(StateFolderPath());
  return folder;
}

}  // namespace zul
