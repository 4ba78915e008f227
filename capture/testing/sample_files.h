#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zul {

// Sample files made on the spot: images by Qt with EXIF written by Exiv2, BMFF containers put
// together box by box, videos written by libavformat.

// Exiv2 key ("Exif." or "Xmp." ...) and value.
using ExifTags = std::vector<std::pair<std::string, std::string>>;

// The EXIF data of a camera: its usual fields and a maker note of some seventy entries.
ExifTags CameraTags();

// Naive seconds of the given calendar fields, worked out independently of the reader.
int64_t Naive(int year, unsigned month, unsigned day, int hour, int minute, int second);

// A small picture in Qt's `format` ("JPEG", "PNG", "TIFF", "WEBP"); false if Qt cannot write it.
bool WriteImage(const std::string& path, const char* format);

// A JPEG of noise, which compresses about as badly as a photo.
bool WriteNoisyImage(const std::string& path, int width, int height);

// Writes the tags into the image's metadata with Exiv2; false on any failure.
bool WriteExif(const std::string& path, const ExifTags& tags);

// The tags as a little-endian TIFF structure, as EXIF blocks hold it.
std::string ExifBlock(const ExifTags& tags);

// An HEIF still image ("heic") whose Exif item holds `tiff`.
std::string Heic(const std::string& tiff);

// A Canon CR3 whose metadata boxes hold `ifd0` (CMT1) and `exifIfd` (CMT2), each a TIFF.
std::string Cr3(const std::string& ifd0, const std::string& exifIfd);

// A video of one frame in `muxer`'s container ("mp4", "mov", "3gp", "matroska"), with the
// creation time given as "YYYY-MM-DDTHH:MM:SSZ" or none when empty. False on any failure.
bool WriteVideo(const std::string& path, const char* muxer, const std::string& creationTime);

// Metadata keys and values as `ffmpeg -metadata` takes them ("artist", "track", "disc", "date"...).
using AudioTags = std::vector<std::pair<std::string, std::string>>;

// A short audio file in `format`: "mp3", "flac", "opus", "m4a", "wma", "wav" or "aiff", its
// frames made up, its tags written by libavformat's muxer as ffmpeg writes them. False on any
// failure.
bool WriteAudio(const std::string& path, const std::string& format, const AudioTags& tags);

// The same tags written by TagLib into an existing audio file; false on any failure.
bool WriteTagsWithTagLib(const std::string& path, const AudioTags& tags);

}  // namespace zul
