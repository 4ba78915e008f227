#include "platform/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/atomic_write.h"
#include "platform/case_compare.h"
#include "platform/file_descriptor.h"

namespace zul {

namespace {

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::File;
  if (S_ISDIR(mode)) return FileKind::Folder;
  return FileKind::Other;
}

constexpr unsigned kIdentityMask = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_BTIME;

FileIdentity IdentityOf(const struct statx& info) {
  const int64_t birth =
      (info.stx_mask & STATX_BTIME)
          ? int64_t{info.stx_btime.tv_sec} * 1'000'000'000 + info.stx_btime.tv_nsec
          : 0;
  return {makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_ino, birth};
}

FileStatus StatusOf(const struct statx& info, bool writable) {
  return {KindOf(info.stx_mode), info.stx_size, IdentityOf(info), writable};
}

bool Writable(const struct statx& info) { return (info.stx_mode & 0222) != 0; }

bool SameFile(int folder, const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return fstatat(folder, a.c_str(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
         fstatat(folder, b.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// For file systems without RENAME_NOREPLACE: a hard link under the new name fails with EEXIST
// rather than replace anything, and only once it exists is the old name removed. Never replaces,
// but needs hard links (it fails, e.g. with EPERM, where the file system has none).
int LinkThenUnlink(int folder, const std::string& from, const std::string& to) {
  if (linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0) return errno;
  if (unlinkat(folder, from.c_str(), 0) != 0) {
    const int error = errno;
    unlinkat(folder, to.c_str(), 0);
    return error;
  }
  return 0;
}

// Hands each entry of an open folder but "." and ".." to `take`, until the entries end (0, or
// the errno of a failed read) or `take` returns an errno of its own.
template <class Take>
int ReadEntries(DIR* dir, Take take) {
  for (;;) {
    errno = 0;
    const dirent* item = readdir(dir);
    if (!item) return errno;
    const char* name = item->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    if (const int error = take(*item)) return error;
  }
}

// The times of `path`, relative to the folder `at`.
Result<FileTimes> TimesAt(int at, const char* path) {
  struct statx info {};
  if (statx(at, path, 0, STATX_BTIME | STATX_MTIME, &info) != 0) return LastErrno();
  if (!(info.stx_mask & STATX_MTIME)) return ErrnoCode(ENODATA);
  FileTimes times;
  times.modified = info.stx_mtime.tv_sec;
  times.created = (info.stx_mask & STATX_BTIME) ? info.stx_btime.tv_sec : times.modified;
  return times;
}

class LinuxInputFile : public InputFile {
 public:
  LinuxInputFile(FileDescriptor fd, const FileStatus& status)
      : m_fd(std::move(fd)), m_status(status) {}

  const FileStatus& Status() const override { return m_status; }

  Result<size_t> Read(char* buffer, size_t size) override {
    for (;;) {
      const ssize_t count = ::read(m_fd.Get(), buffer, size);
      if (count >= 0) return static_cast<size_t>(count);
      // A FIFO without data yet reads as its end, as a FIFO without a writer does.
      if (errno == EAGAIN) return size_t{0};
      if (errno != EINTR) return LastErrno();
    }
  }

 private:
  FileDescriptor m_fd;
  FileStatus m_status;
};

}  // namespace

Result<FileTimes> LinuxFileSystem::ReadTimes(const std::string& path) {
  return TimesAt(AT_FDCWD, path.c_str());
}

Result<FileTimes> LinuxFileSystem::ReadTimesInFolder(int folder, const std::string& name) {
  return TimesAt(folder, name.c_str());
}

Result<std::string> LinuxFileSystem::RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&free)> real(realpath(path.c_str(), nullptr), &free);
  if (!real) return LastErrno();
  return std::string(real.get());
}

Result<FileStatus> LinuxFileSystem::Examine(const std::string& path) {
  struct statx info {};
  if (statx(AT_FDCWD, path.c_str(), 0, kIdentityMask, &info) != 0) return LastErrno();
  return StatusOf(info, Writable(info) && ::access(path.c_str(), W_OK) == 0);
}

Result<int> LinuxFileSystem::OpenFolder(const std::string& path) {
  const int folder = open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return LastErrno();
  return folder;
}

void LinuxFileSystem::CloseFolder(int folder) {
  if (folder >= 0) close(folder);
}

Result<FileIdentity> LinuxFileSystem::IdentifyInFolder(int folder, const std::string& name) {
  struct statx info {};
  if (statx(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_BTIME, &info) != 0)
    return LastErrno();
  return IdentityOf(info);
}

Result<FileTrace> LinuxFileSystem::TraceInFolder(int folder, const std::string& name) {
  struct statx info {};
  if (statx(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_BTIME | STATX_CTIME,
            &info) != 0)
    return LastErrno();
  return FileTrace{IdentityOf(info),
                   int64_t{info.stx_ctime.tv_sec} * 1'000'000'000 + info.stx_ctime.tv_nsec};
}

bool LinuxFileSystem::KeepsBirth(int folder) {
  struct statfs info {};
  return fstatfs(folder, &info) != 0 ||
         static_cast<unsigned long>(info.f_type) != OVERLAYFS_SUPER_MAGIC;
}

size_t LinuxFileSystem::MaxNameLength(int folder) {
  const long length = fpathconf(folder, _PC_NAME_MAX);
  return length > 0 ? static_cast<size_t>(length) : 255;
}

bool LinuxFileSystem::IgnoresCase(int folder) {
  struct statfs info {};
  if (fstatfs(folder, &info) == 0) {
    switch (static_cast<unsigned long>(info.f_type)) {
      case MSDOS_SUPER_MAGIC:  // vfat
      case 0x2011BAB0UL:       // exfat
      case 0xFF534D42UL:       // cifs
      case 0xFE534D42UL:       // smb2
        return true;
      default:
        break;
    }
  }
  // ext4 and f2fs fold case per folder; the flag is read through a descriptor that can be
  // asked (a path-only handle cannot).
  const FileDescriptor dir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  int flags = 0;
  return dir.Get() >= 0 && ioctl(dir.Get(), FS_IOC_GETFLAGS, &flags) == 0 &&
         (flags & FS_CASEFOLD_FL) != 0;
}

std::error_code LinuxFileSystem::RenameInFolder(int folder, const std::string& from,
                                                const std::string& to) {
  if (from == to) {
    struct stat info {};
    return fstatat(folder, from.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 ? std::error_code()
                                                                          : LastErrno();
  }
  int error = 0;
  if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) != 0) {
    error = errno;
    if (error == EINVAL || error == ENOSYS) error = LinkThenUnlink(folder, from, to);
  }
  // Where the folder ignores case, the new spelling already "exists" as the file itself. Anywhere
  // else two such names are two links of one file, between which a rename would do nothing.
  if (error == EEXIST && EqualIgnoringCase(from, to) && SameFile(folder, from, to) &&
      IgnoresCase(folder)) {
    error = renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
  }
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

std::error_code LinuxFileSystem::ListNamesInFolder(int folder, size_t limit,
                                                   std::vector<std::string>& names) {
  // Reading needs a descriptor that can be read (a path-only handle cannot); looking names up
  // needs search permission, which reading alone does not prove.
  if (faccessat(folder, ".", X_OK, AT_EACCESS) != 0) return LastErrno();
  const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastErrno();
  DIR* dir = fdopendir(fd);
  if (!dir) {
    const int error = errno;
    close(fd);
    return ErrnoCode(error);
  }
  const int error = ReadEntries(dir, [&](const dirent& item) {
    if (names.size() == limit) return EOVERFLOW;
    names.emplace_back(item.d_name);
    return 0;
  });
  closedir(dir);
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

std::error_code LinuxFileSystem::ListFolder(const std::string& path,
                                            std::vector<FolderEntry>& entries) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return LastErrno();
  const int dirFd = dirfd(dir);
  const int error = ReadEntries(dir, [&](const dirent& item) {
    const char* name = item.d_name;
    FolderEntry entry;
    entry.name = name;
    entry.inode = item.d_ino;
    unsigned char type = item.d_type;
    if (type == DT_UNKNOWN) {
      struct stat info {};
      if (fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        type = static_cast<unsigned char>(IFTODT(info.st_mode));
    }
    entry.isLink = type == DT_LNK;
    if (type == DT_REG) {
      entry.kind = FileKind::File;
    } else if (type == DT_DIR) {
      entry.kind = FileKind::Folder;
    } else if (type == DT_LNK) {
      struct stat target {};
      if (fstatat(dirFd, name, &target, 0) == 0) entry.kind = KindOf(target.st_mode);
    }
    entries.push_back(std::move(entry));
    return 0;
  });
  closedir(dir);
  return error == 0 ? std::error_code() : ErrnoCode(error);
}

Result<std::unique_ptr<InputFile>> LinuxFileSystem::OpenInput(const std::string& path) {
  // Not blocking, so that a FIFO without a writer reads as empty instead of hanging.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) return LastErrno();
  struct statx info {};
  if (statx(fd.Get(), "", AT_EMPTY_PATH, kIdentityMask, &info) != 0) return LastErrno();
  if (S_ISDIR(info.stx_mode)) return ErrnoCode(EISDIR);
  if (S_ISREG(info.stx_mode)) ::fcntl(fd.Get(), F_SETFL, 0);
  const FileStatus status = StatusOf(info, Writable(info) && ::access(path.c_str(), W_OK) == 0);
  return std::unique_ptr<InputFile>(std::make_unique<LinuxInputFile>(std::move(fd), status));
}

std::error_code LinuxFileSystem::WriteFileAtomically(const std::string& path,
                                                     const std::string& bytes) {
  return ReplaceFileContent(path, bytes);
}

FileSystem& SystemFileSystem() {
  static LinuxFileSystem fileSystem;
  return fileSystem;
}

}  // namespace zul
