#pragma once

#include <taglib/tiostream.h>

#include <cstdint>
#include <string>

namespace zul {

// TagLib's view of a regular file already open for reading: read through its descriptor (no
// second open, no FILE buffer), its first 64 KiB with a single read, which holds the tags of
// nearly every file that keeps them at its start; what lies beyond is read where asked for. Read
// only: every write is refused.
class DescriptorStream final : public TagLib::IOStream {
 public:
  DescriptorStream(int fd, int64_t size);

  TagLib::FileName name() const override;
  TagLib::ByteVector readBlock(unsigned long length) override;
  void writeBlock(const TagLib::ByteVector& data) override;
  void insert(const TagLib::ByteVector& data, unsigned long start, unsigned long replace) override;
  void removeBlock(unsigned long start, unsigned long length) override;
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void seek(long offset, Position p) override;
  long tell() const override { return static_cast<long>(position_); }
  long length() override { return static_cast<long>(size_); }
  void truncate(long length) override;

 private:
  int fd_;
  int64_t size_;
  int64_t position_ = 0;
  std::string head_;  // the first bytes of the file, once read
  bool headRead_ = false;
};

}  // namespace zul
