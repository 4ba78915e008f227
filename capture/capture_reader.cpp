#include "capture/capture_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

#include "capture/descriptor_stream.h"
#include "capture/music_tags.h"
#include "capture/photo_time.h"
#include "capture/regular_file.h"
#include "capture/video_time.h"

namespace zul {

namespace {

// What the first bytes of a file say it may be. Each reader is asked only where it may find
// something: Exiv2 and TagLib both try hard on anything they are given.
struct Kind {
  bool music = false;
  bool video = false;
  bool photo = false;
  bool mpeg = false;  // of the music: an MP3
};

Kind KindOf(std::string_view head) {
  const auto at = [&](size_t offset, std::string_view magic) {
    return head.size() >= offset + magic.size() && head.substr(offset, magic.size()) == magic;
  };
  Kind kind;
  if (at(4, "ftyp")) {
    // ISO media: the brands of still images, else audio or video (M4A, MP4, MOV, 3GP).
    for (const std::string_view brand : {"heic", "heix", "mif1", "msf1", "avif", "crx "}) {
      if (at(8, brand)) kind.photo = true;
    }
    kind.music = kind.video = !kind.photo;
    return kind;
  }
  const auto byte = [&](size_t i) { return i < head.size() ? static_cast<uint8_t>(head[i]) : 0; };
  const bool mpegFrame = byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0 && (byte(1) & 0x06) != 0;
  if (at(0, "ID3") || mpegFrame) {
    kind.music = kind.mpeg = true;
    return kind;
  }
  if (at(0, "fLaC") || at(0, "OggS") || at(0, "FORM") || at(0, "MAC ") || at(0, "wvpk") ||
      at(0, "MPCK") || at(0, "MP+") || at(0, "TTA1") || at(0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11")) {
    kind.music = true;
    return kind;
  }
  if (at(0, "RIFF")) {
    kind.music = at(8, "WAVE");
    kind.photo = at(8, "WEBP");
    return kind;
  }
  if (at(0, "\x1A\x45\xDF\xA3")) {
    kind.video = true;
    return kind;
  }
  kind.photo = true;
  return kind;
}

}  // namespace

MetadataCaptureReader::MetadataCaptureReader() {
  static std::once_flag once;
  std::call_once(once, [] {
    SetUpPhotoReading();
    SetUpVideoReading();
    SetUpMusicReading();
  });
}

std::optional<int64_t> MetadataCaptureReader::ReadCaptureTime(const std::string& path) const {
  const RegularFile file(path);
  if (!file.IsOpen() || file.Size() == 0) return std::nullopt;
  if (const std::optional<int64_t> time = ReadPhotoTime(file.Descriptor(), file.Size()))
    return time;
  // MP4 files pass for BMFF images too, without EXIF data.
  return ReadVideoTime(file.Descriptor(), file.Size());
}

FileTags MetadataCaptureReader::ReadTags(const std::string& path) const {
  FileTags tags;
  const RegularFile file(path);
  if (!file.IsOpen() || file.Size() == 0) return tags;
  std::string head(static_cast<size_t>(std::min(file.Size(), kHeadSize)), '\0');
  const ssize_t got = pread(file.Descriptor(), head.data(), head.size(), 0);
  if (got <= 0) return tags;
  head.resize(static_cast<size_t>(got));
  const Kind kind = KindOf(head);
  if (kind.photo) ReadPhotoDetails(file.Descriptor(), file.Size(), tags);
  if (kind.music) ReadMusicTags(file.Descriptor(), file.Size(), kind.mpeg, std::move(head), tags);
  if (kind.video && tags.width == 0)
    ReadVideoSize(file.Descriptor(), file.Size(), tags.width, tags.height);
  return tags;
}

}  // namespace zul
