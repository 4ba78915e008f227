#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/file_tags.h"

namespace zul {

// When a photo or a video was taken.
//
// A capture time is the wall-clock time at the place of capture, as "naive" seconds: its calendar
// fields counted from 1970-01-01 as if they were UTC. DateText (core/date_text.h) therefore
// shows exactly the fields the camera recorded.
class CaptureReader {
 public:
  virtual ~CaptureReader() = default;

  // The capture time of the file at `path` (a byte string, passed to the system unchanged). Empty
  // when the file holds none or cannot be read, for whatever reason; the caller then uses the
  // last-write time in its stead. Reports nothing, never throws, and may be called from several
  // threads at once.
  virtual std::optional<int64_t> ReadCaptureTime(const std::string& path) const = 0;

  // The metadata names can use (music tags, camera make and model, picture size) of the file at
  // `path`; empty where the file has none or cannot be read. Same manner as ReadCaptureTime.
  virtual FileTags ReadTags(const std::string& path) const = 0;
};

// Reads the file's own metadata: the EXIF time of photos (DateTimeOriginal, then
// DateTimeDigitized, then DateTime) and the creation time of video containers, the latter stored
// in UTC and converted to the local time zone as it is set when the file is read; music tags
// through TagLib, camera and picture size through Exiv2 and libavformat. Only regular files are
// ever opened (see RegularFile).
class MetadataCaptureReader final : public CaptureReader {
 public:
  // Quiets the libraries' own logging to stderr for the whole process.
  MetadataCaptureReader();

  std::optional<int64_t> ReadCaptureTime(const std::string& path) const override;
  FileTags ReadTags(const std::string& path) const override;
};

}  // namespace zul
