#include "capture/descriptor_io.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exiv2/error.hpp>

namespace zul {

namespace {

constexpr int64_t kHeadSize = int64_t{16} * 1024;

// pread until `count` bytes or the end of the file; -1 on an error.
int64_t ReadAt(int fd, Exiv2::byte* buffer, int64_t count, int64_t offset) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, buffer + done, static_cast<size_t>(count - done), offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

}  // namespace

DescriptorIo::DescriptorIo(int fd, int64_t size) : fd_(fd), size_(size) {}

DescriptorIo::~DescriptorIo() { munmap(); }

int DescriptorIo::open() {
  position_ = 0;
  eof_ = false;
  failed_ = false;
  return 0;
}

int DescriptorIo::close() { return munmap(); }

long DescriptorIo::write(const Exiv2::byte*, long) { return 0; }

long DescriptorIo::write(Exiv2::BasicIo&) { return 0; }

int DescriptorIo::putb(Exiv2::byte) { return EOF; }

Exiv2::DataBuf DescriptorIo::read(long count) {
  // A hostile length must not become an allocation larger than the file.
  if (count < 0 || count > size_) throw Exiv2::Error(Exiv2::kerInvalidMalloc);
  Exiv2::DataBuf buffer(count);
  buffer.size_ = read(buffer.pData_, count);
  if (failed_) throw Exiv2::Error(Exiv2::kerInputDataReadFailed);
  return buffer;
}

long DescriptorIo::read(Exiv2::byte* buffer, long count) {
  if (count <= 0) return 0;
  if (!head_) {
    const int64_t wanted = std::min(size_, kHeadSize);
    head_.reset(new Exiv2::byte[static_cast<size_t>(wanted)]);
    headSize_ = std::max(ReadAt(fd_, head_.get(), wanted, 0), int64_t{0});
  }
  int64_t n;
  if (position_ + count <= headSize_) {
    std::memcpy(buffer, head_.get() + position_, static_cast<size_t>(count));
    n = count;
  } else {
    n = ReadAt(fd_, buffer, count, position_);
    if (n < 0) {
      failed_ = true;
      return 0;
    }
  }
  position_ += n;
  if (n < count) eof_ = true;
  return static_cast<long>(n);
}

int DescriptorIo::getb() {
  Exiv2::byte byte;
  return read(&byte, 1) == 1 ? byte : EOF;
}

void DescriptorIo::transfer(Exiv2::BasicIo&) { throw Exiv2::Error(Exiv2::kerCallFailed); }

int DescriptorIo::seek(int64_t offset, Position from) {
  int64_t target = offset;
  if (from == cur) target += position_;
  if (from == end) target += size_;
  if (target < 0) return 1;
  // As Exiv2's file streams: a position past the end is allowed, and reading there finds the end.
  position_ = target;
  eof_ = false;
  return 0;
}

Exiv2::byte* DescriptorIo::mmap(bool writeable) {
  if (writeable) throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite);
  if (mapping_ == nullptr) {
    void* mapping = ::mmap(nullptr, static_cast<size_t>(size_), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (mapping == MAP_FAILED) throw Exiv2::Error(Exiv2::kerCallFailed);
    mapping_ = mapping;
  }
  return static_cast<Exiv2::byte*>(mapping_);
}

int DescriptorIo::munmap() {
  if (mapping_ == nullptr) return 0;
  const int result = ::munmap(mapping_, static_cast<size_t>(size_));
  mapping_ = nullptr;
  return result;
}

long DescriptorIo::tell() const { return static_cast<long>(position_); }

size_t DescriptorIo::size() const { return static_cast<size_t>(size_); }

bool DescriptorIo::isopen() const { return true; }

int DescriptorIo::error() const { return failed_ ? 1 : 0; }

bool DescriptorIo::eof() const { return eof_; }

std::string DescriptorIo::path() const { return {}; }

}  // namespace zul
