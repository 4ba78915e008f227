#include "document/filter_file.h"

#include <string_view>

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include "document/input_line_source.h"
#include "engine/text_units.h"

namespace zul {

namespace {

constexpr std::string_view kSignature = "FILTER-DATEI";
constexpr int32_t kVersion = 100;

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

// Filter files written on Windows hold their texts in Windows-1252.
std::string Windows1252ToUtf8(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  std::string out(text.size() * 3, '\0');
  const int32_t length =
      ucnv_convert("UTF-8", "windows-1252", out.data(), static_cast<int32_t>(out.size()),
                   text.data(), static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return std::string(text);
  out.resize(static_cast<size_t>(length));
  return out;
}

// One line without its line end (LF, or CR LF); at the end of the data an empty text.
std::string ReadLine(LineSource& source) {
  std::string line;
  int c = source.NextByte();
  while (c >= 0 && c != '\n') {
    if (c == '\r') {
      c = source.NextByte();
      if (c == '\n') break;
      line.push_back('\r');
      continue;
    }
    line.push_back(static_cast<char>(c));
    c = source.NextByte();
  }
  if (IsValidUtf8(line)) return line;
  return Windows1252ToUtf8(line);
}

// Whether the first line is exactly the signature; reads no further than the first byte that
// rules it out.
bool ReadSignature(LineSource& source) {
  for (char expected : kSignature) {
    if (source.NextByte() != static_cast<unsigned char>(expected)) return false;
  }
  const int c = source.NextByte();
  if (c == '\r') return source.NextByte() == '\n';
  return c == '\n' || c < 0;
}

}  // namespace

int StringLineSource::NextByte() {
  if (m_next >= m_bytes.size()) return -1;
  return static_cast<unsigned char>(m_bytes[m_next++]);
}

FilterReadResult ReadFrom(FilterSettings& filter, LineSource& source) {
  if (!ReadSignature(source)) return BadSignature;
  if (AtolRule(ReadLine(source)) != kVersion) return BadVersion;
  filter.mask = ReadLine(source);
  filter.start = AtolRule(ReadLine(source));
  filter.step = AtolRule(ReadLine(source));
  filter.searchText = ReadLine(source);
  filter.replaceText = ReadLine(source);
  filter.nameCase = AtolRule(ReadLine(source));
  filter.extCase = AtolRule(ReadLine(source));
  filter.fillText = ReadLine(source);
  filter.digits = AtolRule(ReadLine(source));
  return ReadOk;
}

void WriteTo(const FilterSettings& filter, std::string& out) {
  auto line = [&out](std::string_view text) {
    out.append(text);
    out.push_back('\n');
  };
  line(kSignature);
  line(std::to_string(kVersion));
  line(filter.mask);
  line(std::to_string(filter.start));
  line(std::to_string(filter.step));
  line(filter.searchText);
  line(filter.replaceText);
  line(std::to_string(filter.nameCase));
  line(std::to_string(filter.extCase));
  line(filter.fillText);
  line(std::to_string(filter.digits));
}

Result<FilterFile> ReadFilterFile(FileSystem& files, const std::string& path,
                                  const FilterSettings& base) {
  Result<std::unique_ptr<InputFile>> input = files.OpenInput(path);
  if (!input) return input.error();
  FilterFile read;
  read.filter = base;
  read.status = (*input)->Status();
  if (read.status.kind == FileKind::File && read.status.size == 0) {
    // Only a file named as a filter file may become one: "__init__.py" or a new, empty text
    // would be written over by the next "Filter Speichern".
    read.kind =
        path.ends_with(".fil") ? FilterFile::Kind::EmptyFilter : FilterFile::Kind::NotAFilter;
    return read;
  }
  InputLineSource source(**input);
  const FilterReadResult result = ReadFrom(read.filter, source);
  if (source.Error()) return source.Error();
  read.kind = result == ReadOk ? FilterFile::Kind::Filter : FilterFile::Kind::NotAFilter;
  if (result != ReadOk) read.filter = base;
  return read;
}

}  // namespace zul
