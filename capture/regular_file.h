#pragma once

#include <cstdint>
#include <string>

namespace zul {

// A regular file open for reading, closed with the object. Anything else at the path (a FIFO, a
// device, a socket, a folder) is never opened for reading: opening a FIFO would release a writer
// waiting on it and throw its data away, and opening a device can act on it (a tape rewinds).
class RegularFile {
 public:
  // Opens `path` (a byte string, passed unchanged; a symbolic link is followed). Not open where
  // the path leads to anything but a regular file or cannot be opened.
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  int64_t Size() const { return size_; }

 private:
  int fd_ = -1;
  int64_t size_ = 0;
};

}  // namespace zul
