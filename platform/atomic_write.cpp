#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/file_descriptor.h"
#include "platform/result.h"

namespace zul {

namespace {

// 0, or the errno of the first failing write.
int WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(count);
  }
  return 0;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file is written in place where the folder allows no new file.
int WriteInPlace(const std::string& target, const std::string& bytes) {
  FileDescriptor direct(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (direct.Get() < 0) return errno;
  if (const int error = WriteAll(direct.Get(), bytes)) return error;
  return direct.Close();
}

int Replace(const std::string& path, const std::string& bytes) {
  std::string target = path;
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) return S_ISDIR(existing.st_mode) ? EISDIR : EACCES;
    if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return EACCES;
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    if (!error) target = resolved.string();
  }
  // A short name of its own: the target's name plus a suffix could exceed the folder's limit.
  const std::string folder = FolderOf(target);
  std::string temporary = folder + "/.zul-XXXXXX";
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno != EACCES && errno != EPERM && errno != EROFS) return errno;
    return WriteInPlace(target, bytes);
  }
  int error = WriteAll(fd.Get(), bytes);
  if (error == 0 && ::fchmod(fd.Get(), exists ? existing.st_mode & 07777 : NewFileMode()) != 0)
    error = errno;
  if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
  if (const int closeError = fd.Close(); error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return error;
  }
  // The new name is on the disk only once the folder is.
  const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
  return 0;
}

}  // namespace

std::error_code ReplaceFileContent(const std::string& path, const std::string& bytes) {
  const int error = Replace(path, bytes);
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

}  // namespace zul
