#pragma once

#include <string>

#include "engine/filter_settings.h"
#include "platform/file_system.h"

namespace zul {

// The filter file: eleven lines, "FILTER-DATEI", "100", then mask, start, step, search text,
// replacement text, name case, extension case, fill text and digit count. Written as UTF-8 with
// LF line ends; read with LF or CR LF, and a line that is not valid UTF-8 is taken as
// Windows-1252 (a file written on Windows) and converted.

enum FilterReadResult { ReadOk = 0, BadSignature = 1, BadVersion = 2 };

// The bytes of a file, one at a time.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next byte (0 to 255), or -1 at the end of the data or after a read error.
  virtual int NextByte() = 0;
};

// A LineSource over bytes held in memory.
class StringLineSource : public LineSource {
 public:
  explicit StringLineSource(std::string bytes) : m_bytes(std::move(bytes)) {}
  int NextByte() override;

 private:
  std::string m_bytes;
  size_t m_next = 0;
};

// Reads a filter file into `filter`. On BadSignature and BadVersion the Filter is unchanged; the
// signature check stops at the first byte that rules "FILTER-DATEI" out, so a file that is not a
// filter file costs only a few bytes. Lines missing at the end read as empty texts and 0.
FilterReadResult ReadFrom(FilterSettings& filter, LineSource& source);

// Appends the eleven lines of the filter file to `out`.
void WriteTo(const FilterSettings& filter, std::string& out);

// What a file opened as a filter file is: the one reading of filter files for the window and
// zulren alike.
struct FilterFile {
  enum class Kind {
    Filter,       // a filter file: `filter` holds it
    EmptyFilter,  // an empty file named "….fil": a filter file yet to be written
    NotAFilter,   // anything else (an empty file of another name included)
  };
  Kind kind = Kind::NotAFilter;
  FilterSettings filter;  // the read filter, or the one given where there is none
  FileStatus status;      // of the file as it was opened
};

// Opens and reads `path`; `base` is what a filter file's missing lines and the other kinds keep.
// Fails with the error of the opening or the reading.
[[nodiscard]] Result<FilterFile> ReadFilterFile(FileSystem& files, const std::string& path,
                                                const FilterSettings& base);

}  // namespace zul
