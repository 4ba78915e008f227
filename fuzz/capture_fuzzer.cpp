// Feeds arbitrary bytes as a file to the capture reader, which must neither crash nor hang and
// give either nothing or a time of a real calendar day.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "capture/capture_reader.h"

using namespace zul;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const MetadataCaptureReader reader;
  static const int file = memfd_create("capture", MFD_CLOEXEC);
  static const std::string path = "/proc/self/fd/" + std::to_string(file);
  if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size)) {
    std::abort();
  }
  // 0001-01-01 to 9999-12-31 in naive seconds.
  constexpr int64_t kFirst = -62135596800;
  constexpr int64_t kLast = 253402300799;
  const std::optional<int64_t> time = reader.ReadCaptureTime(path);
  if (time && (*time < kFirst || *time > kLast)) std::abort();
  return 0;
}
