#pragma once

#include <cstdint>
#include <optional>

namespace zul {

// The creation time of an MP4, MOV, 3GP or Matroska container in the open regular file `fd` of
// `size` bytes, converted from UTC to naive seconds of the local time zone. Any fault gives no
// time.
std::optional<int64_t> ReadVideoTime(int fd, int64_t size);

// The picture size of the first video stream (not a cover picture) of such a container; false,
// leaving both alone, where there is none.
bool ReadVideoSize(int fd, int64_t size, uint32_t& width, uint32_t& height);

// Once per process, before the first read from any thread.
void SetUpVideoReading();

}  // namespace zul
