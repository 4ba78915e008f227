#include "capture/jpeg_time.h"

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>

#include <exiv2/basicio.hpp>
#include <memory>
#include <string_view>

#include "capture/capture_time.h"

namespace zul {

namespace {

// The EXIF block lies before the image data, in the first of at most a few segments of 64 KiB
// each; a "JPEG" with more ahead of it is not worth reading on.
constexpr int64_t kMaxHeader = int64_t{1024} * 1024;

struct UnrefLoader {
  void operator()(ExifLoader* loader) const { exif_loader_unref(loader); }
};
struct UnrefData {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

// As for the other formats: the capture time first, the plain DateTime last.
struct TimeTag {
  ExifIfd ifd;
  ExifTag tag;
};
constexpr TimeTag kTimeTags[] = {
    {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL},
    {EXIF_IFD_0, EXIF_TAG_DATE_TIME_ORIGINAL},
    {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED},
    {EXIF_IFD_0, EXIF_TAG_DATE_TIME},
};

}  // namespace

JpegTime ReadJpegTime(Exiv2::BasicIo& io) {
  const std::unique_ptr<ExifLoader, UnrefLoader> loader(exif_loader_new());
  if (!loader) return {};
  // The loader walks the segments itself and says when it has the EXIF block or knows there is
  // none; it still wants more when the file ends within the block.
  io.seek(0, Exiv2::BasicIo::beg);
  unsigned char chunk[16 * 1024];
  bool wantsMore = true;
  for (int64_t fed = 0; wantsMore && fed < kMaxHeader;) {
    const long n = io.read(chunk, sizeof chunk);
    if (n <= 0) break;
    fed += n;
    wantsMore = exif_loader_write(loader.get(), chunk, static_cast<unsigned>(n)) != 0;
  }
  if (wantsMore) return {};
  const unsigned char* block = nullptr;
  unsigned size = 0;
  exif_loader_get_buf(loader.get(), &block, &size);
  if (block == nullptr || size == 0) return {std::nullopt, true};

  const std::unique_ptr<ExifData, UnrefData> exif(exif_data_new());
  if (!exif) return {};
  // Following the specification would add the fields it requires, work that costs more than the
  // reading; and the TIFF/EP DateTimeOriginal of the first IFD counts as unknown there.
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
  exif_data_load_data(exif.get(), block, size);
  for (const TimeTag& wanted : kTimeTags) {
    const ExifEntry* entry = exif_content_get_entry(exif->ifd[wanted.ifd], wanted.tag);
    if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->data == nullptr) continue;
    const std::string_view text(reinterpret_cast<const char*>(entry->data), entry->size);
    if (const std::optional<int64_t> time = ParseExifDateTime(text)) return {time};
  }
  return {};
}

}  // namespace zul
