#include "capture/descriptor_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace zul {

namespace {

// pread until `count` bytes or the end of the file; what was read.
int64_t ReadAt(int fd, char* buffer, int64_t count, int64_t offset) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, buffer + done, static_cast<size_t>(count - done), offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

}  // namespace

DescriptorStream::DescriptorStream(int fd, int64_t size, std::string head)
    : fd_(fd), size_(size), head_(std::move(head)) {}

TagLib::FileName DescriptorStream::name() const { return ""; }

TagLib::ByteVector DescriptorStream::readBlock(unsigned long length) {
  // A hostile length must not become an allocation larger than the file.
  const int64_t count = std::clamp<int64_t>(
      size_ - position_, 0, static_cast<int64_t>(std::min<uint64_t>(length, INT64_MAX)));
  if (count == 0) return {};
  if (position_ + count <= std::ssize(head_)) {
    TagLib::ByteVector block(head_.data() + position_, static_cast<unsigned int>(count));
    position_ += count;
    return block;
  }
  TagLib::ByteVector block(static_cast<unsigned int>(count), '\0');
  const int64_t got = ReadAt(fd_, block.data(), count, position_);
  block.resize(static_cast<unsigned int>(got));
  position_ += got;
  return block;
}

void DescriptorStream::writeBlock(const TagLib::ByteVector&) {}

void DescriptorStream::insert(const TagLib::ByteVector&, unsigned long, unsigned long) {}

void DescriptorStream::removeBlock(unsigned long, unsigned long) {}

void DescriptorStream::seek(long offset, Position p) {
  int64_t base = 0;
  if (p == Current) base = position_;
  if (p == End) base = size_;
  position_ = std::max<int64_t>(0, base + offset);
}

void DescriptorStream::truncate(long) {}

}  // namespace zul
