#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace zul {

// Owns a file descriptor (or nothing, -1) and closes it at the end.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return m_fd; }
  // Closes now; 0 or the errno of the close (a late write error shows here).
  int Close() {
    const int result = ::close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    return result;
  }

 private:
  int m_fd;
};

}  // namespace zul
