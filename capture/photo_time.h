#pragma once

#include <cstdint>
#include <optional>

namespace zul {

// The EXIF capture time, in naive seconds, of an image in the open regular file `fd` of `size`
// bytes. Any fault gives no time.
std::optional<int64_t> ReadPhotoTime(int fd, int64_t size);

// Once per process, before the first read from any thread.
void SetUpPhotoReading();

}  // namespace zul
