#pragma once

#include <taglib/tiostream.h>

#include <cstdint>
#include <string>

namespace zul {

// How many of a file's first bytes a reader takes at once: the kind of file and, where the tags
// stand at the start and hold no picture, all of them. Larger tags cost one more read, not a copy
// of bytes no tag needs on every file.
inline constexpr int64_t kHeadSize = 4096;

// TagLib's view of a regular file already open for reading: read through its descriptor (no
// second open, no FILE buffer), its head from the bytes read already; what lies beyond is read
// where asked for. Read only: every write is refused.
class DescriptorStream final : public TagLib::IOStream {
 public:
  // `head`: the file's first bytes, as many as were read (at most `size`).
  DescriptorStream(int fd, int64_t size, std::string head);

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
  std::string head_;  // the first bytes of the file
};

}  // namespace zul
