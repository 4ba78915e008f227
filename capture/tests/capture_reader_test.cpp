#include "capture/capture_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>
#include <tuple>

#include "capture/testing/sample_files.h"
#include "capture/tests/pinned_time_zone.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

constexpr const char* kOriginal = "Exif.Photo.DateTimeOriginal";
constexpr const char* kDigitized = "Exif.Photo.DateTimeDigitized";
constexpr const char* kDateTime = "Exif.Image.DateTime";

const int64_t kTaken = Naive(2019, 2, 28, 14, 30, 59);

class CaptureReaderTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.IsValid()); }

  // A JPEG with the given EXIF tags (none: no EXIF at all).
  std::string Jpeg(const std::string& name, const ExifTags& tags) {
    const std::string path = folder.Path(name);
    EXPECT_TRUE(WriteImage(path, "JPEG"));
    if (!tags.empty()) {
      EXPECT_TRUE(WriteExif(path, tags));
    }
    return path;
  }

  std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  TempFolder folder;
  MetadataCaptureReader reader;
};

// Which EXIF field wins: the capture time, then the digitizing time, the plain DateTime last;
// a field with no valid time counts as missing. JPEG files are read by libexif, the others by
// Exiv2.
struct SourceCase {
  const char* name;
  ExifTags tags;
  std::optional<int64_t> expected;
};

class ExifSources : public CaptureReaderTest,
                    public testing::WithParamInterface<std::tuple<const char*, SourceCase>> {};

TEST_P(ExifSources, PickTheCaptureTimeFirst) {
  const auto& [format, source] = GetParam();
  const std::string path = folder.Path("photo");
  ASSERT_TRUE(WriteImage(path, format));
  if (!source.tags.empty()) {
    ASSERT_TRUE(WriteExif(path, source.tags));
  }
  EXPECT_EQ(reader.ReadCaptureTime(path), source.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Order, ExifSources,
    testing::Combine(
        testing::Values("JPEG", "PNG", "TIFF"),
        testing::Values(
            SourceCase{"AllThree",
                       {{kDateTime, "2023:05:01 08:00:00"},
                        {kDigitized, "2020:01:02 03:04:05"},
                        {kOriginal, "2019:02:28 14:30:59"},
                        {"Exif.Photo.SubSecTimeOriginal", "987"}},
                       kTaken},
            SourceCase{"DigitizedBeforeDateTime",
                       {{kDateTime, "2023:05:01 08:00:00"}, {kDigitized, "2019:02:28 14:30:59"}},
                       kTaken},
            SourceCase{"DateTimeAsLastResort", {{kDateTime, "2019:02:28 14:30:59"}}, kTaken},
            SourceCase{"OriginalInTheFirstIfd",
                       {{kDateTime, "2023:05:01 08:00:00"},
                        {"Exif.Image.DateTimeOriginal", "2019:02:28 14:30:59"}},
                       kTaken},
            SourceCase{"UnsetClockSkipped",
                       {{kOriginal, "0000:00:00 00:00:00"}, {kDigitized, "2019:02:28 14:30:59"}},
                       kTaken},
            SourceCase{"BlanksSkipped",
                       {{kOriginal, "    :  :     :  :  "}, {kDateTime, "2019:02:28 14:30:59"}},
                       kTaken},
            SourceCase{"NoTimeField", {{"Exif.Image.Make", "Zul"}}, std::nullopt},
            SourceCase{"NoValidTime",
                       {{kOriginal, "2019:02:30 10:00:00"}, {kDateTime, "gestern"}},
                       std::nullopt},
            SourceCase{"NoExif", {}, std::nullopt})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
    });

// A JPEG segment with the given marker byte.
std::string Segment(char marker, const std::string& payload) {
  const size_t length = payload.size() + 2;
  return std::string{'\xff', marker, static_cast<char>(length >> 8), static_cast<char>(length)} +
         payload;
}

// Segments that some writers put ahead of the EXIF block; the large ones take the reading past
// the first bytes of the file, which are read at once.
TEST_F(CaptureReaderTest, FindsTheExifBlockBehindOtherSegments) {
  const std::string jpeg = Bytes(Jpeg("plain.jpg", {{kOriginal, "2019:02:28 14:30:59"}}));
  const std::pair<const char*, std::string> segments[] = {
      {"APP0 JFIF", Segment('\xe0', std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14))},
      {"APP1 XMP", Segment('\xe1', std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33))},
      {"APP2 ICC", Segment('\xe2', std::string("ICC_PROFILE\0\1\1", 14))},
      {"APP12 Ducky", Segment('\xec', std::string("Ducky\0\1\2", 8))},
      {"APP14 Adobe", Segment('\xee', std::string("Adobe\0\x64\0\0\0\0\1", 12))},
      {"COM", Segment('\xfe', "Zul")},
      {"large COM", Segment('\xfe', std::string(60000, 'z'))},
      {"large APP12", Segment('\xec', "Ducky" + std::string(60000, '\0'))},
  };
  for (const auto& [name, segment] : segments) {
    const std::string path = folder.Put("extra.jpg", jpeg.substr(0, 2) + segment + jpeg.substr(2));
    EXPECT_EQ(reader.ReadCaptureTime(path), kTaken) << name;
  }
}

// Every container the photo reader is to know, each with the time only in the field it must find.
struct FormatCase {
  const char* name;
  const char* qtFormat;  // written by Qt, EXIF added by Exiv2; null: built by `build`
  std::string (*build)();
};

std::string BuildHeic() { return Heic(ExifBlock({{kOriginal, "2019:02:28 14:30:59"}})); }

std::string BuildCr3() {
  return Cr3(ExifBlock({{kDateTime, "2023:05:01 08:00:00"}}),
             // The CMT2 box holds the Exif IFD as the first IFD of its own TIFF structure.
             ExifBlock({{"Exif.Image.DateTimeOriginal", "2019:02:28 14:30:59"}}));
}

std::string BuildRawTiff() {
  // TIFF-based raw files (NEF, ARW, DNG, ...) differ from a TIFF only in their maker's tags.
  return ExifBlock({{"Exif.Image.Make", "NIKON CORPORATION"},
                    {kDateTime, "2023:05:01 08:00:00"},
                    {kOriginal, "2019:02:28 14:30:59"}});
}

class Formats : public CaptureReaderTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(Formats, YieldTheirCaptureTime) {
  const FormatCase& format = GetParam();
  std::string path = folder.Path(std::string("photo.") + format.name);
  if (format.qtFormat != nullptr) {
    ASSERT_TRUE(WriteImage(path, format.qtFormat));
    ASSERT_TRUE(
        WriteExif(path, {{kDateTime, "2023:05:01 08:00:00"}, {kOriginal, "2019:02:28 14:30:59"}}));
  } else {
    path = folder.Put(std::string("photo.") + format.name, format.build());
  }
  EXPECT_EQ(reader.ReadCaptureTime(path), kTaken);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, Formats,
    testing::Values(FormatCase{"jpg", "JPEG", nullptr}, FormatCase{"png", "PNG", nullptr},
                    FormatCase{"tif", "TIFF", nullptr}, FormatCase{"webp", "WEBP", nullptr},
                    FormatCase{"heic", nullptr, BuildHeic}, FormatCase{"cr3", nullptr, BuildCr3},
                    FormatCase{"nef", nullptr, BuildRawTiff}),
    [](const auto& info) { return std::string(info.param.name); });

// Videos keep their creation time in UTC; the reader gives the local time of the zone set.
struct VideoCase {
  const char* muxer;
  const char* zone;
  const char* creationTime;
  std::optional<int64_t> expected;
};

class Videos : public CaptureReaderTest, public testing::WithParamInterface<VideoCase> {};

TEST_P(Videos, GiveTheirCreationTimeInLocalTime) {
  const VideoCase& video = GetParam();
  const std::string path = folder.Path(std::string("clip.") + video.muxer);
  ASSERT_TRUE(WriteVideo(path, video.muxer, video.creationTime));
  const PinnedTimeZone zone(video.zone);
  EXPECT_EQ(reader.ReadCaptureTime(path), video.expected);
}

constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
INSTANTIATE_TEST_SUITE_P(
    Containers, Videos,
    testing::Values(VideoCase{"mp4", kBerlin, "2021-07-04T22:30:15Z", Naive(2021, 7, 5, 0, 30, 15)},
                    VideoCase{"mp4", kBerlin, "2021-01-10T12:00:00Z", Naive(2021, 1, 10, 13, 0, 0)},
                    VideoCase{"mp4", "UTC0", "2021-07-04T22:30:15Z", Naive(2021, 7, 4, 22, 30, 15)},
                    VideoCase{"mov", kBerlin, "2021-07-04T22:30:15Z", Naive(2021, 7, 5, 0, 30, 15)},
                    VideoCase{"3gp", "EST5EDT,M3.2.0,M11.1.0", "2021-03-01T03:00:00Z",
                              Naive(2021, 2, 28, 22, 0, 0)},
                    VideoCase{"matroska", kBerlin, "2021-07-04T22:30:15Z",
                              Naive(2021, 7, 5, 0, 30, 15)},
                    VideoCase{"mp4", kBerlin, "", std::nullopt},
                    VideoCase{"matroska", kBerlin, "", std::nullopt}),
    [](const auto& info) {
      return std::string(info.param.muxer) + "_" + std::to_string(info.index);
    });

TEST_F(CaptureReaderTest, NothingFromFilesWithoutAUsableTime) {
  const std::string jpeg = Bytes(Jpeg("whole.jpg", {{kOriginal, "2019:02:28 14:30:59"}}));
  ASSERT_TRUE(WriteVideo(folder.Path("whole.mp4"), "mp4", "2021-07-04T22:30:15Z"));
  const std::string mp4 = Bytes(folder.Path("whole.mp4"));
  const size_t exifStart = jpeg.find("Exif");
  ASSERT_NE(exifStart, std::string::npos);
  ASSERT_EQ(mkfifo(folder.Path("fifo.jpg").c_str(), 0600), 0);
  ASSERT_EQ(mkdir(folder.Path("folder.jpg").c_str(), 0700), 0);
  const std::pair<const char*, std::string> files[] = {
      {"empty.jpg", ""},
      {"cut-in-exif.jpg", jpeg.substr(0, exifStart + 40)},
      {"header-only.jpg", jpeg.substr(0, 2)},
      // The muxer puts the header with the creation time after the media data.
      {"cut-before-header.mp4", mp4.substr(0, mp4.find("moov") - 4)},
      {"text.jpg", "Dies ist kein Bild.\n"},
      {"zeros.mp4", std::string(100000, '\0')},
      {"garbage.heic", std::string("\0\0\0\x18"
                                   "ftypheic",
                                   12) +
                           std::string(500, '\xff')},
  };
  for (const auto& [name, bytes] : files) {
    EXPECT_EQ(reader.ReadCaptureTime(folder.Put(name, bytes)), std::nullopt) << name;
  }
  for (const char* name : {"fifo.jpg", "folder.jpg", "missing.jpg"}) {
    EXPECT_EQ(reader.ReadCaptureTime(folder.Path(name)), std::nullopt) << name;
  }
}

TEST_F(CaptureReaderTest, EveryCutOfAPhotoOrVideoGivesItsTimeOrNothing) {
  const std::string jpeg = Bytes(Jpeg("whole.jpg", {{kOriginal, "2019:02:28 14:30:59"}}));
  const std::string png = folder.Path("whole.png");
  ASSERT_TRUE(WriteImage(png, "PNG"));
  ASSERT_TRUE(WriteExif(png, {{kOriginal, "2019:02:28 14:30:59"}}));
  ASSERT_TRUE(WriteVideo(folder.Path("whole.mov"), "mov", "2019-02-28T14:30:59Z"));
  const PinnedTimeZone zone("UTC0");
  for (const std::string& whole : {jpeg, Bytes(png), Bytes(folder.Path("whole.mov"))}) {
    for (size_t length = 0; length < whole.size(); length += 3) {
      const std::optional<int64_t> time =
          reader.ReadCaptureTime(folder.Put("cut", whole.substr(0, length)));
      if (time) {
        EXPECT_EQ(*time, kTaken) << length;
      }
    }
  }
}

TEST_F(CaptureReaderTest, NamesAreBytes) {
  // Qt takes names as Unicode text, so the photo gets its name afterwards.
  const std::string path = folder.Path("Bild \xff\xfe:?*.jpg");
  ASSERT_EQ(
      std::rename(Jpeg("plain.jpg", {{kOriginal, "2019:02:28 14:30:59"}}).c_str(), path.c_str()),
      0);
  EXPECT_EQ(reader.ReadCaptureTime(path), kTaken);
  ASSERT_TRUE(WriteVideo(folder.Path("file:clip \xe4.mp4"), "mp4", "2019-02-28T14:30:59Z"));
  const PinnedTimeZone zone("UTC0");
  EXPECT_EQ(reader.ReadCaptureTime(folder.Path("file:clip \xe4.mp4")), kTaken);
}

TEST_F(CaptureReaderTest, ServesSeveralThreadsAtOnce) {
  // Exiv2 decodes the XMP packet of the PNG file too.
  const std::string png = folder.Path("photo.png");
  ASSERT_TRUE(WriteImage(png, "PNG"));
  ASSERT_TRUE(WriteExif(png, {{kOriginal, "2019:02:28 14:30:59"}, {"Xmp.dc.title", "Strand"}}));
  const std::string paths[] = {Jpeg("photo.jpg", {{kOriginal, "2019:02:28 14:30:59"}}), png};
  std::vector<int> correct(4);
  std::vector<std::thread> threads;
  for (int& count : correct) {
    threads.emplace_back([&] {
      for (int i = 0; i < 50; ++i) count += reader.ReadCaptureTime(paths[i % 2]) == kTaken;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const int count : correct) EXPECT_EQ(count, 50);
}

}  // namespace

}  // namespace zul
