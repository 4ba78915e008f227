// Feeds arbitrary bytes as a file to the tag reader, which must neither crash nor hang; every
// value it gives must come out of the one function that makes values safe as a part of a name:
// no '/', no control character, no more than a name's 255 bytes.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "capture/capture_reader.h"
#include "engine/file_tags.h"

using namespace zul;

namespace {

void CheckSafe(const std::string& value) {
  std::string safe;
  AppendNameSafe(safe, value);
  size_t length = 0;
  for (size_t i = 0; i < safe.size(); ++i) {
    const auto c = static_cast<unsigned char>(safe[i]);
    if (c == '/' || c < 0x20 || c == 0x7F) std::abort();
    // The escapes "[[]" and "[]]" stand for one bracket each.
    if (safe.compare(i, 3, "[[]") == 0 || safe.compare(i, 3, "[]]") == 0) i += 2;
    ++length;
  }
  if (length > 255) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const MetadataCaptureReader reader;
  static const int file = memfd_create("tags", MFD_CLOEXEC);
  static const std::string path = "/proc/self/fd/" + std::to_string(file);
  if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size)) {
    std::abort();
  }
  const FileTags tags = reader.ReadTags(path);
  for (const std::string* text :
       {&tags.artist, &tags.album, &tags.title, &tags.genre, &tags.make, &tags.model})
    CheckSafe(*text);
  return 0;
}
