#pragma once

#include <cstdint>
#include <optional>

namespace Exiv2 {
class BasicIo;
}

namespace zul {

// What libexif, which reads a camera's EXIF block many times faster than Exiv2, makes of a JPEG
// file.
struct JpegTime {
  std::optional<int64_t> time;  // naive seconds
  // The header holds no EXIF block that libexif can find: it stops at segments it does not
  // know, which Exiv2 looks past.
  bool askExiv2 = false;
};

// Reads the JPEG file that `io` reads. Any fault gives no time.
JpegTime ReadJpegTime(Exiv2::BasicIo& io);

}  // namespace zul
