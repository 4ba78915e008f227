#include "capture/testing/sample_files.h"

#include <taglib/fileref.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>
#include <QImage>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <random>

// Exiv2 0.27 hands images and streams over in std::auto_ptr, deprecated since C++11.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include <exiv2/exiv2.hpp>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace zul {

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

int64_t Naive(int year, unsigned month, unsigned day, int hour, int minute, int second) {
  using namespace std::chrono;
  const sys_seconds time =
      sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}} +
      hours{hour} + minutes{minute} + seconds{second};
  return time.time_since_epoch().count();
}

bool WriteImage(const std::string& path, const char* format) {
  QImage image(16, 12, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  return image.save(QString::fromLocal8Bit(path), format);
}

bool WriteNoisyImage(const std::string& path, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  std::minstd_rand random(1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, static_cast<QRgb>(random()));
  }
  return image.save(QString::fromLocal8Bit(path), "JPEG", 90);
}

bool WriteExif(const std::string& path, const ExifTags& tags) {
  try {
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    for (const auto& [key, value] : tags) {
      if (key.starts_with("Xmp.")) {
        xmp[key] = value;
      } else {
        exif[key] = value;
      }
    }
    image->setExifData(exif);
    image->setXmpData(xmp);
    image->writeMetadata();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string ExifBlock(const ExifTags& tags) {
  Exiv2::ExifData exif;
  for (const auto& [key, value] : tags) exif[key] = value;
  Exiv2::Blob blob;
  Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
  return std::string(blob.begin(), blob.end());
}

namespace {

std::string U16(uint32_t value) {
  return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string U32(uint32_t value) { return U16(value >> 16) + U16(value & 0xFFFF); }

std::string Box(const char* type, const std::string& content) {
  return U32(static_cast<uint32_t>(8 + content.size())) + type + content;
}

// A box with version and flags, both zero unless given.
std::string FullBox(const char* type, const std::string& content, uint8_t version = 0) {
  return Box(type, std::string(1, static_cast<char>(version)) + std::string(3, '\0') + content);
}

}  // namespace

std::string Heic(const std::string& tiff) {
  const std::string ftyp = Box("ftyp", std::string("heic") + U32(0) + "mif1heic");
  const std::string exifItem = U32(0) + tiff;  // no bytes between the offset and the TIFF header
  auto meta = [&](uint32_t dataOffset) {
    const std::string hdlr = FullBox("hdlr", U32(0) + "pict" + std::string(12, '\0') + '\0');
    const std::string pitm = FullBox("pitm", U16(1));
    const std::string iinf =
        FullBox("iinf", U16(2) + FullBox("infe", U16(1) + U16(0) + "hvc1" + '\0', 2) +
                            FullBox("infe", U16(2) + U16(0) + "Exif" + '\0', 2));
    // Offsets and lengths of four bytes, no base offset; one item of one extent.
    const std::string iloc =
        FullBox("iloc", std::string("\x44\x00", 2) + U16(1) + U16(2) + U16(0) + U16(1) +
                            U32(dataOffset) + U32(static_cast<uint32_t>(exifItem.size())));
    return FullBox("meta", hdlr + pitm + iinf + iloc);
  };
  const size_t headerSize = ftyp.size() + meta(0).size() + 8;
  return ftyp + meta(static_cast<uint32_t>(headerSize)) + Box("mdat", exifItem);
}

std::string Cr3(const std::string& ifd0, const std::string& exifIfd) {
  const std::string canon("\x85\xc0\xb6\x87\x82\x0f\x11\xe0\x81\x11\xf4\xce\x46\x2b\x6a\x48", 16);
  const std::string ftyp = Box("ftyp", std::string("crx ") + U32(1) + "crx isom");
  const std::string uuid = Box("uuid", canon + Box("CMT1", ifd0) + Box("CMT2", exifIfd));
  return ftyp + Box("moov", uuid);
}

bool WriteVideo(const std::string& path, const char* muxer, const std::string& creationTime) {
  AVFormatContext* context = nullptr;
  if (avformat_alloc_output_context2(&context, nullptr, muxer, path.c_str()) < 0) return false;
  bool written = false;
  AVStream* stream = avformat_new_stream(context, nullptr);
  AVPacket* packet = av_packet_alloc();
  if (stream != nullptr && packet != nullptr && av_new_packet(packet, 64) == 0 &&
      avio_open(&context->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0) {
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = AV_CODEC_ID_MPEG4;
    stream->codecpar->width = 16;
    stream->codecpar->height = 16;
    stream->time_base = {1, 25};
    if (!creationTime.empty())
      av_dict_set(&context->metadata, "creation_time", creationTime.c_str(), 0);
    std::fill_n(packet->data, packet->size, uint8_t{0x5A});
    packet->flags |= AV_PKT_FLAG_KEY;
    packet->pts = packet->dts = 0;
    packet->duration = 1;
    if (avformat_write_header(context, nullptr) >= 0) {
      packet->stream_index = stream->index;
      av_packet_rescale_ts(packet, {1, 25}, stream->time_base);
      written = av_write_frame(context, packet) >= 0 && av_write_trailer(context) == 0;
    }
    avio_closep(&context->pb);
  }
  av_packet_free(&packet);
  avformat_free_context(context);
  return written;
}

namespace {

// One MPEG-1 Layer III frame of 128 kbit/s at 44.1 kHz, its audio data silence.
std::string Mp3Frame() {
  std::string frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  frame[3] = '\x64';
  return frame;
}

struct AudioFormat {
  const char* name;
  const char* muxer;
  AVCodecID codec;
  std::string extradata;
  std::string packet;
};

const AudioFormat* FindAudioFormat(const std::string& name) {
  static const AudioFormat formats[] = {
      {"mp3", "mp3", AV_CODEC_ID_MP3, "", Mp3Frame()},
      // STREAMINFO: blocks of 4096 samples, 44.1 kHz, stereo, 16 bits.
      {"flac", "flac", AV_CODEC_ID_FLAC,
       std::string("\x10\x00\x10\x00\x00\x00\x00\x00\x00\x00\x0A\xC4\x42\xF0\x00\x00\x00\x00", 18) +
           std::string(16, '\0'),
       std::string("\xFF\xF8\x69\x08\x00\x0F", 6) + std::string(64, '\0')},
      {"opus", "ogg", AV_CODEC_ID_OPUS,
       std::string("OpusHead\x01\x01\x38\x01\x80\xBB\x00\x00\x00\x00\x00", 19),
       std::string("\x08", 1) + std::string(40, '\x55')},
      {"m4a", "ipod", AV_CODEC_ID_AAC, std::string("\x12\x10", 2), std::string(64, '\x21')},
      {"wma", "asf", AV_CODEC_ID_WMAV2, std::string("\x00\x00\x00\x00\x01\x00", 6),
       std::string(743, '\x11')},
      {"wav", "wav", AV_CODEC_ID_PCM_S16LE, "", std::string(4096, '\0')},
      {"aiff", "aiff", AV_CODEC_ID_PCM_S16BE, "", std::string(4096, '\0')},
  };
  for (const AudioFormat& format : formats) {
    if (name == format.name) return &format;
  }
  return nullptr;
}

}  // namespace

bool WriteAudio(const std::string& path, const std::string& formatName, const AudioTags& tags) {
  const AudioFormat* format = FindAudioFormat(formatName);
  if (format == nullptr) return false;
  AVFormatContext* context = nullptr;
  if (avformat_alloc_output_context2(&context, nullptr, format->muxer, path.c_str()) < 0)
    return false;
  bool written = false;
  AVStream* stream = avformat_new_stream(context, nullptr);
  AVPacket* packet = av_packet_alloc();
  AVDictionary* options = nullptr;
  if (formatName == "aiff") av_dict_set(&options, "write_id3v2", "1", 0);
  if (stream != nullptr && packet != nullptr &&
      av_new_packet(packet, static_cast<int>(format->packet.size())) == 0 &&
      avio_open(&context->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0) {
    AVCodecParameters& codec = *stream->codecpar;
    codec.codec_type = AVMEDIA_TYPE_AUDIO;
    codec.codec_id = format->codec;
    codec.sample_rate = format->codec == AV_CODEC_ID_OPUS ? 48000 : 44100;
    av_channel_layout_default(&codec.ch_layout, format->codec == AV_CODEC_ID_FLAC ? 2 : 1);
    codec.bits_per_coded_sample = 16;
    codec.block_align = format->codec == AV_CODEC_ID_WMAV2 ? 743 : 2;
    codec.bit_rate = 128000;
    codec.frame_size = format->codec == AV_CODEC_ID_MP3 ? 1152 : 1024;
    if (!format->extradata.empty()) {
      codec.extradata = static_cast<uint8_t*>(
          av_mallocz(format->extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
      std::copy(format->extradata.begin(), format->extradata.end(), codec.extradata);
      codec.extradata_size = static_cast<int>(format->extradata.size());
    }
    stream->time_base = {1, codec.sample_rate};
    for (const auto& [key, value] : tags)
      av_dict_set(&context->metadata, key.c_str(), value.c_str(), 0);
    if (avformat_write_header(context, &options) >= 0) {
      written = true;
      for (int i = 0; i < 4 && written; ++i) {
        // av_write_frame leaves the packet's buffer to us: a new one replaces it, freed.
        av_packet_unref(packet);
        if (av_new_packet(packet, static_cast<int>(format->packet.size())) != 0) break;
        std::copy(format->packet.begin(), format->packet.end(), packet->data);
        packet->stream_index = stream->index;
        packet->flags |= AV_PKT_FLAG_KEY;
        packet->pts = packet->dts = int64_t{i} * codec.frame_size;
        packet->duration = codec.frame_size;
        written = av_write_frame(context, packet) >= 0;
      }
      written = written && av_write_trailer(context) == 0;
    }
    avio_closep(&context->pb);
  }
  av_dict_free(&options);
  av_packet_free(&packet);
  avformat_free_context(context);
  return written;
}

bool WriteTagsWithTagLib(const std::string& path, const AudioTags& tags) {
  TagLib::FileRef file(path.c_str(), false);
  if (file.isNull() || file.tag() == nullptr) return false;
  TagLib::PropertyMap properties = file.file()->properties();
  for (const auto& [key, value] : tags) {
    std::string name;
    for (const char c : key) name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name == "TRACK") name = "TRACKNUMBER";
    if (name == "DISC") name = "DISCNUMBER";
    properties.replace(name.c_str(),
                       TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
  }
  file.file()->setProperties(properties);
  return file.save();
}

}  // namespace zul
