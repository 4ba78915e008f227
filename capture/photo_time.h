#pragma once

#include <cstdint>
#include <optional>

#include "engine/file_tags.h"

namespace zul {

// The EXIF capture time, in naive seconds, of an image in the open regular file `fd` of `size`
// bytes. Any fault gives no time.
std::optional<int64_t> ReadPhotoTime(int fd, int64_t size);

// The camera's make and model and the picture size of such an image, into `tags`. False, with
// `tags` left empty, where the file is no image Exiv2 reads.
bool ReadPhotoDetails(int fd, int64_t size, FileTags& tags);

// Once per process, before the first read from any thread.
void SetUpPhotoReading();

}  // namespace zul
