// Reading the capture date of 10,000 JPEG files against a floor of open, read of the first
// 64 KiB and close of each of the same files.

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "capture/capture_reader.h"
#include "capture/testing/sample_files.h"

namespace {

constexpr int kFiles = 10'000;

std::string g_folder;
std::vector<std::string> g_paths;

// The EXIF data of a camera: its usual fields and a maker note of some seventy entries.
ExifTags CameraTags() {
  ExifTags tags = {
      {"Exif.Image.Make", "Canon"},
      {"Exif.Image.Model", "Canon EOS 5D Mark III"},
      {"Exif.Image.Orientation", "1"},
      {"Exif.Image.XResolution", "72/1"},
      {"Exif.Image.YResolution", "72/1"},
      {"Exif.Image.ResolutionUnit", "2"},
      {"Exif.Image.DateTime", "2023:05:01 08:00:00"},
      {"Exif.Image.Artist", "Zul"},
      {"Exif.Image.Copyright", "Zul"},
      {"Exif.Photo.ExposureTime", "1/125"},
      {"Exif.Photo.FNumber", "28/10"},
      {"Exif.Photo.ExposureProgram", "2"},
      {"Exif.Photo.ISOSpeedRatings", "100"},
      {"Exif.Photo.DateTimeOriginal", "2019:02:28 14:30:59"},
      {"Exif.Photo.DateTimeDigitized", "2019:02:28 14:30:59"},
      {"Exif.Photo.ShutterSpeedValue", "7/1"},
      {"Exif.Photo.ApertureValue", "3/1"},
      {"Exif.Photo.ExposureBiasValue", "0/1"},
      {"Exif.Photo.MeteringMode", "5"},
      {"Exif.Photo.Flash", "16"},
      {"Exif.Photo.FocalLength", "50/1"},
      {"Exif.Photo.SubSecTime", "42"},
      {"Exif.Photo.SubSecTimeOriginal", "42"},
      {"Exif.Photo.SubSecTimeDigitized", "42"},
      {"Exif.Photo.ColorSpace", "1"},
      {"Exif.Photo.PixelXDimension", "400"},
      {"Exif.Photo.PixelYDimension", "300"},
      {"Exif.Photo.FocalPlaneXResolution", "5760000/1461"},
      {"Exif.Photo.FocalPlaneYResolution", "3840000/972"},
      {"Exif.Photo.FocalPlaneResolutionUnit", "2"},
      {"Exif.Photo.CustomRendered", "0"},
      {"Exif.Photo.ExposureMode", "0"},
      {"Exif.Photo.WhiteBalance", "0"},
      {"Exif.Photo.SceneCaptureType", "0"},
      {"Exif.Photo.BodySerialNumber", "123456789"},
      {"Exif.Photo.LensModel", "EF50mm f/1.8"},
      {"Exif.GPSInfo.GPSLatitudeRef", "N"},
      {"Exif.GPSInfo.GPSLatitude", "52/1 31/1 0/1"},
      {"Exif.GPSInfo.GPSLongitudeRef", "E"},
      {"Exif.GPSInfo.GPSLongitude", "13/1 24/1 0/1"},
      {"Exif.Canon.FirmwareVersion", "Firmware Version 1.2.3"},
      {"Exif.Canon.OwnerName", "Zul"},
  };
  for (const char* group : {"Exif.CanonCs.0x%04x", "Exif.CanonSi.0x%04x"}) {
    for (int tag = 1; tag < 36; ++tag) {
      char key[32];
      std::snprintf(key, sizeof key, group, tag);
      tags.emplace_back(key, std::to_string(tag));
    }
  }
  return tags;
}

// A photo of a phone's low resolution (noise keeps the JPEG as large as a photo would be) with a
// camera's EXIF data, copied under 10,000 names.
bool MakePhotos() {
  char pattern[] = "/tmp/zul-bench-capture-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  g_folder = pattern;
  const std::string model = g_folder + "/model.jpg";
  if (!WriteNoisyImage(model, 400, 300) || !WriteExif(model, CameraTags())) return false;
  std::ifstream in(model, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  for (int i = 0; i < kFiles; ++i) {
    g_paths.push_back(g_folder + "/IMG_" + std::to_string(i) + ".jpg");
    std::ofstream(g_paths.back(), std::ios::binary) << bytes;
  }
  return bytes.size() > 64 * 1024;
}

void BM_OpenRead64KiBCloseFloor(benchmark::State& state) {
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    for (const std::string& path : g_paths) {
      const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
      benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
      close(fd);
    }
  }
}
BENCHMARK(BM_OpenRead64KiBCloseFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadCaptureTime(benchmark::State& state) {
  const MetadataCaptureReader reader;
  for (auto _ : state) {
    for (const std::string& path : g_paths) {
      if (!reader.ReadCaptureTime(path)) state.SkipWithError("no capture time");
    }
  }
}
BENCHMARK(BM_ReadCaptureTime)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (MakePhotos()) {
    benchmark::RunSpecifiedBenchmarks();
  } else {
    std::fprintf(stderr, "could not make the sample photos\n");
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
