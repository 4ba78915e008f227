#include "capture/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace zul {

namespace {

class OwnedDescriptor {
 public:
  explicit OwnedDescriptor(int fd) : fd_(fd) {}
  OwnedDescriptor(const OwnedDescriptor&) = delete;
  OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
  ~OwnedDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

}  // namespace

// The type is taken from a descriptor that O_PATH opens without opening the file itself (no
// FIFO or device driver sees it); only a regular file is then opened for reading, through that
// same descriptor, so nothing put in its place meanwhile is opened instead. Without /proc the
// path is opened again (with O_NONBLOCK, so a FIFO swapped in cannot block) and must still be
// the file examined.
RegularFile::RegularFile(const std::string& path) {
  const OwnedDescriptor located(open(path.c_str(), O_PATH | O_CLOEXEC));
  struct stat status {};
  if (located.get() < 0 || fstat(located.get(), &status) != 0 || !S_ISREG(status.st_mode)) return;
  int fd = open(("/proc/self/fd/" + std::to_string(located.get())).c_str(), kReadFlags);
  if (fd < 0 && errno == ENOENT) fd = open(path.c_str(), kReadFlags);
  OwnedDescriptor file(fd);
  struct stat opened {};
  if (file.get() < 0 || fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
      opened.st_dev != status.st_dev || opened.st_ino != status.st_ino) {
    return;
  }
  fd_ = file.release();
  size_ = opened.st_size;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace zul
