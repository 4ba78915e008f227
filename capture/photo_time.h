#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The EXIF capture time of the image at `path`, which must name a regular file, in naive
// seconds. Any fault gives no time.
std::optional<int64_t> ReadPhotoTime(const std::string& path);

// Once per process, before the first read from any thread.
void SetUpPhotoReading();
