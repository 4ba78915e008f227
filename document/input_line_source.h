#pragma once

#include <system_error>

#include "document/filter_file.h"
#include "platform/file_system.h"

namespace zul {

// The bytes of an input file, read in blocks; a read error ends the data and is kept in Error().
class InputLineSource : public LineSource {
 public:
  explicit InputLineSource(InputFile& input) : m_input(input) {}

  int NextByte() override {
    if (m_next == m_filled && !Fill()) return -1;
    return static_cast<unsigned char>(m_buffer[m_next++]);
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
  std::error_code m_error;
  bool m_atEnd = false;
};

}  // namespace zul
