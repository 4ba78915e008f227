#include "capture/photo_time.h"

// Exiv2 0.27 hands images and streams over in std::auto_ptr, deprecated since C++11.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include <algorithm>
#include <array>
#include <climits>
#include <exiv2/bmffimage.hpp>
#include <exiv2/cr2image.hpp>
#include <exiv2/crwimage.hpp>
#include <exiv2/exiv2.hpp>
#include <exiv2/jp2image.hpp>
#include <exiv2/jpgimage.hpp>
#include <exiv2/mrwimage.hpp>
#include <exiv2/orfimage.hpp>
#include <exiv2/pngimage.hpp>
#include <exiv2/psdimage.hpp>
#include <exiv2/rafimage.hpp>
#include <exiv2/rw2image.hpp>
#include <exiv2/tiffimage.hpp>
#include <exiv2/webpimage.hpp>
#include <mutex>

#include "capture/capture_time.h"
#include "capture/descriptor_io.h"
#include "capture/jpeg_time.h"

namespace zul {

namespace {

// The image formats that can carry EXIF data, in Exiv2's own order of detection (CR2 before
// TIFF, which also stands for DNG, NEF, ARW, PEF, SR2 and SRW; BMFF for HEIF, AVIF and CR3, but
// also any MP4). Exiv2's video parsers are left out on purpose: videos go to the container
// reader.
struct Format {
  bool (*is)(Exiv2::BasicIo& io, bool advance);
  Exiv2::Image::AutoPtr (*open)(Exiv2::BasicIo::AutoPtr io, bool create);
};
const Format kFormats[] = {
    {Exiv2::isJpegType, Exiv2::newJpegInstance}, {Exiv2::isCr2Type, Exiv2::newCr2Instance},
    {Exiv2::isCrwType, Exiv2::newCrwInstance},   {Exiv2::isMrwType, Exiv2::newMrwInstance},
    {Exiv2::isTiffType, Exiv2::newTiffInstance}, {Exiv2::isWebPType, Exiv2::newWebPInstance},
    {Exiv2::isRw2Type, Exiv2::newRw2Instance},   {Exiv2::isOrfType, Exiv2::newOrfInstance},
    {Exiv2::isPngType, Exiv2::newPngInstance},   {Exiv2::isRafType, Exiv2::newRafInstance},
    {Exiv2::isPsdType, Exiv2::newPsdInstance},   {Exiv2::isJp2Type, Exiv2::newJp2Instance},
    {Exiv2::isBmffType, Exiv2::newBmffInstance},
};

// The capture time first; DateTime last, since editors rewrite it. TIFF/EP raw files keep
// DateTimeOriginal in the first IFD rather than in the Exif IFD. Made once: a key looks its tag
// up by name.
const std::array<Exiv2::ExifKey, 4>& TimeKeys() {
  static const std::array<Exiv2::ExifKey, 4> keys = {
      Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"),
      Exiv2::ExifKey("Exif.Image.DateTimeOriginal"),
      Exiv2::ExifKey("Exif.Photo.DateTimeDigitized"),
      Exiv2::ExifKey("Exif.Image.DateTime"),
  };
  return keys;
}

std::mutex xmpMutex;

void LockXmp(void*, bool lock) {
  if (lock) {
    xmpMutex.lock();
  } else {
    xmpMutex.unlock();
  }
}

const Format* Detect(Exiv2::BasicIo& io) {
  for (const Format& format : kFormats) {
    io.seek(0, Exiv2::BasicIo::beg);
    if (format.is(io, false) && !io.error()) return &format;
  }
  return nullptr;
}

}  // namespace

void SetUpPhotoReading() {
  Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
  Exiv2::enableBMFF(true);
  // Reading decodes XMP packets too; the toolkit needs this before any use from several threads.
  Exiv2::XmpParser::initialize(LockXmp);
  TimeKeys();
}

std::optional<int64_t> ReadPhotoTime(int fd, int64_t size) {
  try {
    Exiv2::BasicIo::AutoPtr io(new DescriptorIo(fd, size));
    if (Exiv2::isJpegType(*io, false)) {
      const JpegTime jpeg = ReadJpegTime(*io);
      if (!jpeg.askExiv2) return jpeg.time;
    }
    const Format* format = Detect(*io);
    if (format == nullptr) return std::nullopt;
    Exiv2::Image::AutoPtr image = format->open(io, false);
    if (image.get() == nullptr) return std::nullopt;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    for (const Exiv2::ExifKey& key : TimeKeys()) {
      const auto found = exif.findKey(key);
      if (found == exif.end()) continue;
      if (const std::optional<int64_t> time = ParseExifDateTime(found->toString())) return time;
    }
  } catch (...) {
    // Damaged or truncated files throw Exiv2's errors, and hostile ones std::bad_alloc and the
    // like; all of them mean the file has no usable time.
  }
  return std::nullopt;
}

bool ReadPhotoDetails(int fd, int64_t size, FileTags& tags) {
  try {
    Exiv2::BasicIo::AutoPtr io(new DescriptorIo(fd, size));
    const Format* format = Detect(*io);
    if (format == nullptr) return false;
    Exiv2::Image::AutoPtr image = format->open(io, false);
    if (image.get() == nullptr) return false;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    const auto text = [&](const char* name) {
      const auto found = exif.findKey(Exiv2::ExifKey(name));
      return found == exif.end() ? std::string() : found->toString();
    };
    const auto number = [&](const char* name) {
      const auto found = exif.findKey(Exiv2::ExifKey(name));
      const long value = found == exif.end() || found->count() == 0 ? 0 : found->toLong();
      return value > 0 && value <= INT32_MAX ? static_cast<uint32_t>(value) : 0u;
    };
    tags.make = text("Exif.Image.Make");
    tags.model = text("Exif.Image.Model");
    // The picture's own header first: EXIF sizes go stale when an editor crops or scales.
    tags.width = static_cast<uint32_t>(std::max(0, image->pixelWidth()));
    tags.height = static_cast<uint32_t>(std::max(0, image->pixelHeight()));
    if (tags.width == 0 || tags.height == 0) {
      tags.width = number("Exif.Photo.PixelXDimension");
      tags.height = number("Exif.Photo.PixelYDimension");
    }
    return true;
  } catch (...) {
    // As for the time: a damaged or hostile file has no usable details.
  }
  tags = FileTags();
  return false;
}

}  // namespace zul
