#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <QString>

namespace {

FolderEntry::Kind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FolderEntry::Kind::File;
  if (S_ISDIR(mode)) return FolderEntry::Kind::Folder;
  return FolderEntry::Kind::Other;
}

bool SameFile(int folder, const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return fstatat(folder, a.c_str(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
         fstatat(folder, b.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// Only for names already known to be the same file: invalid UTF-8 may fold to equal texts here,
// which is harmless because both names lead to one inode.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
             .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                      Qt::CaseInsensitive) == 0;
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

class LinuxFileSystem : public FileSystem {
 public:
  std::optional<FileTimes> ReadTimes(const std::string& path) override {
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0 ||
        !(info.stx_mask & STATX_MTIME)) {
      return std::nullopt;
    }
    FileTimes times;
    times.modified = info.stx_mtime.tv_sec;
    times.created = (info.stx_mask & STATX_BTIME) ? info.stx_btime.tv_sec : times.modified;
    return times;
  }

  int OpenFolder(const std::string& path) override {
    const int folder = open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return folder >= 0 ? folder : -errno;
  }

  void CloseFolder(int folder) override {
    if (folder >= 0) close(folder);
  }

  int RenameInFolder(int folder, const std::string& from, const std::string& to) override {
    if (from == to) {
      struct stat info {};
      return fstatat(folder, from.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    }
    int error = 0;
    if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) != 0) {
      error = errno;
      if (error == EINVAL || error == ENOSYS) error = LinkThenUnlink(folder, from, to);
    }
    // On a case-insensitive file system the new spelling already "exists" as the file itself.
    if (error == EEXIST && SameFile(folder, from, to) && EqualIgnoringCase(from, to)) {
      error = renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
    }
    return error;
  }

  bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
    DIR* dir = opendir(path.c_str());
    if (!dir) return false;
    const int dirFd = dirfd(dir);
    bool ok = true;
    for (;;) {
      errno = 0;
      const dirent* item = readdir(dir);
      if (!item) {
        ok = errno == 0;
        break;
      }
      const char* name = item->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      FolderEntry entry;
      entry.name = name;
      unsigned char type = item->d_type;
      if (type == DT_UNKNOWN) {
        struct stat info {};
        if (fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0)
          type = static_cast<unsigned char>(IFTODT(info.st_mode));
      }
      entry.isLink = type == DT_LNK;
      if (type == DT_REG) {
        entry.kind = FolderEntry::Kind::File;
      } else if (type == DT_DIR) {
        entry.kind = FolderEntry::Kind::Folder;
      } else if (type == DT_LNK) {
        struct stat target {};
        if (fstatat(dirFd, name, &target, 0) == 0) entry.kind = KindOf(target.st_mode);
      }
      entries.push_back(std::move(entry));
    }
    closedir(dir);
    return ok;
  }

  std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return FolderIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static LinuxFileSystem fileSystem;
  return fileSystem;
}
