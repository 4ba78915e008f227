// Writes the seed corpus of the capture fuzzer into the folder given: small photos and videos
// made on the spot, each with a capture time, so that the fuzzer starts from every container the
// reader knows.

#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "capture/testing/sample_files.h"

namespace zul {

namespace {

const ExifTags kTags = {
    {"Exif.Image.Make", "Zul"},
    {"Exif.Image.Model", "Seed"},
    {"Exif.Image.DateTime", "2023:05:01 08:00:00"},
    {"Exif.Photo.DateTimeOriginal", "2019:02:28 14:30:59"},
    {"Exif.Photo.DateTimeDigitized", "2019:02:28 14:30:59"},
    {"Exif.Photo.SubSecTimeOriginal", "42"},
    {"Exif.GPSInfo.GPSLatitudeRef", "N"},
    {"Xmp.dc.title", "Strand"},
};

bool Put(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

}  // namespace

}  // namespace zul

using namespace zul;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string folder = argv[1];
  bool ok = true;
  for (const auto& [name, format] :
       {std::pair{"photo.jpg", "JPEG"}, std::pair{"photo.png", "PNG"},
        std::pair{"photo.tif", "TIFF"}, std::pair{"photo.webp", "WEBP"}}) {
    ok = WriteImage(folder + "/" + name, format) && WriteExif(folder + "/" + name, kTags) && ok;
  }
  ok = WriteImage(folder + "/camera.jpg", "JPEG") &&
       WriteExif(folder + "/camera.jpg", CameraTags()) && ok;
  const std::string exif = ExifBlock({kTags.begin(), kTags.end() - 1});
  ok = Put(folder + "/photo.heic", Heic(exif)) && ok;
  ok = Put(folder + "/photo.cr3",
           Cr3(exif, ExifBlock({{"Exif.Image.DateTimeOriginal", "2019:02:28 14:30:59"}}))) &&
       ok;
  for (const auto& [name, muxer] :
       {std::pair{"clip.mp4", "mp4"}, std::pair{"clip.mov", "mov"}, std::pair{"clip.3gp", "3gp"},
        std::pair{"clip.mkv", "matroska"}}) {
    ok = WriteVideo(folder + "/" + name, muxer, "2021-07-04T22:30:15Z") && ok;
  }
  return ok ? 0 : 1;
}
