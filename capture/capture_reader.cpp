#include "capture/capture_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "capture/photo_time.h"
#include "capture/video_time.h"

namespace zul {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

MetadataCaptureReader::MetadataCaptureReader() {
  static std::once_flag once;
  std::call_once(once, [] {
    SetUpPhotoReading();
    SetUpVideoReading();
  });
}

std::optional<int64_t> MetadataCaptureReader::ReadCaptureTime(const std::string& path) const {
  // Without O_NONBLOCK a FIFO put in the file's place would block the open; anything but a
  // regular file is refused before a library sees it.
  const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_size == 0) {
    return std::nullopt;
  }
  if (const std::optional<int64_t> time = ReadPhotoTime(file.get(), status.st_size)) return time;
  // MP4 files pass for BMFF images too, without EXIF data.
  return ReadVideoTime(file.get(), status.st_size);
}

}  // namespace zul
