#pragma once

#include <exiv2/basicio.hpp>

#include <cstdint>
#include <memory>

namespace zul {

// Exiv2's view of a regular file already open for reading: the file is read through its
// descriptor (no second open by name), its first 64 KiB with a single read, which holds the
// metadata of nearly every photo. Read only: every write fails.
class DescriptorIo final : public Exiv2::BasicIo {
 public:
  DescriptorIo(int fd, int64_t size);
  ~DescriptorIo() override;
  DescriptorIo(const DescriptorIo&) = delete;
  DescriptorIo& operator=(const DescriptorIo&) = delete;

  int open() override;
  int close() override;
  long write(const Exiv2::byte* data, long count) override;
  long write(Exiv2::BasicIo& source) override;
  int putb(Exiv2::byte data) override;
  Exiv2::DataBuf read(long count) override;
  long read(Exiv2::byte* buffer, long count) override;
  int getb() override;
  void transfer(Exiv2::BasicIo& source) override;
  int seek(int64_t offset, Position from) override;
  Exiv2::byte* mmap(bool writeable) override;
  int munmap() override;
  long tell() const override;
  size_t size() const override;
  bool isopen() const override;
  int error() const override;
  bool eof() const override;
  std::string path() const override;

 private:
  int fd_;
  int64_t size_;
  int64_t position_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  std::unique_ptr<Exiv2::byte[]> head_;  // the first bytes of the file, read on the first read
  int64_t headSize_ = 0;
  void* mapping_ = nullptr;
};

}  // namespace zul
