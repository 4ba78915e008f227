#pragma once

#include <system_error>

#include "document/filter_file.h"
#include "platform/file_system.h"

namespace zul {

// The bytes of an input file, read in blocks; a read error ends the data and is kept in Error().
// A line longer than any filter's ends it too, with EFBIG: no file read as a filter, however
// large, takes more memory than that.
class InputLineSource : public LineSource {
 public:
  static constexpr size_t kMaxLine = size_t{64} * 1024;

  explicit InputLineSource(InputFile& input) : m_input(input) {}

  int NextByte() override {
    if (m_next == m_filled && !Fill()) return -1;
    const char c = m_buffer[m_next++];
    m_lineLength = c == '\n' ? 0 : m_lineLength + 1;
    if (m_lineLength > kMaxLine) {
      m_error = std::make_error_code(std::errc::file_too_large);
      m_atEnd = true;
      m_next = m_filled;
      return -1;
    }
    return static_cast<unsigned char>(c);
  }
  std::error_code Error() const { return m_error; }

 private:
  bool Fill() {
    if (m_error || m_atEnd) return false;
    const Result<size_t> count = m_input.Read(m_buffer, sizeof m_buffer);
    if (!count || *count == 0) {
      m_error = count.error();
      m_atEnd = true;
      return false;
    }
    m_next = 0;
    m_filled = *count;
    return true;
  }

  InputFile& m_input;
  char m_buffer[65536];
  size_t m_next = 0;
  size_t m_filled = 0;
  size_t m_lineLength = 0;
  std::error_code m_error;
  bool m_atEnd = false;
};

}  // namespace zul
