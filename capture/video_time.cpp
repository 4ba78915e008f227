#include "capture/video_time.h"

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>

#include "capture/capture_time.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace zul {

namespace {

// The demuxers whose creation time is a UTC moment: the MOV family (MP4, MOV, 3GP) and Matroska.
constexpr const char* kDemuxers = "mov,matroska";

// Both find their format in the first bytes; nothing else needs to be probed.
constexpr unsigned kProbeBytes = 4096;

// Reading a header is given up after this long (a huge or hostile file), so that no file holds
// up the caller; a real header takes milliseconds.
constexpr auto kTimeLimit = std::chrono::seconds(3);

constexpr int kBufferSize = 64 * 1024;

// Reads the file through its descriptor: no second open, and no reading past the time limit.
struct Source {
  int fd;
  int64_t position = 0;
  int64_t size;
  std::chrono::steady_clock::time_point deadline;
  bool hitEnd = false;  // a read found no more bytes
};

int Read(void* opaque, uint8_t* buffer, int size) {
  auto& source = *static_cast<Source*>(opaque);
  if (std::chrono::steady_clock::now() > source.deadline) return AVERROR_EXIT;
  ssize_t n;
  do {
    n = pread(source.fd, buffer, static_cast<size_t>(size), source.position);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return AVERROR(EIO);
  if (n == 0) {
    source.hitEnd = true;
    return AVERROR_EOF;
  }
  source.position += n;
  return static_cast<int>(n);
}

int64_t Seek(void* opaque, int64_t offset, int whence) {
  auto& source = *static_cast<Source*>(opaque);
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return source.size;
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += source.position;
      break;
    case SEEK_END:
      offset += source.size;
      break;
    default:
      return AVERROR(EINVAL);
  }
  if (offset < 0) return AVERROR(EINVAL);
  source.position = offset;
  return offset;
}

struct CloseInput {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct FreeIo {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};

const char* CreationTime(const AVFormatContext& context) {
  if (const AVDictionaryEntry* entry = av_dict_get(context.metadata, "creation_time", nullptr, 0))
    return entry->value;
  for (unsigned i = 0; i < context.nb_streams; ++i) {
    if (const AVDictionaryEntry* entry =
            av_dict_get(context.streams[i]->metadata, "creation_time", nullptr, 0))
      return entry->value;
  }
  return nullptr;
}

}  // namespace

void SetUpVideoReading() { av_log_set_level(AV_LOG_QUIET); }

namespace {

// An open container of one of kDemuxers with its I/O, read through `source`.
struct Container {
  std::unique_ptr<AVIOContext, FreeIo> io;
  std::unique_ptr<AVFormatContext, CloseInput> context;
};

// Opens the container in `source`; no context where it is none of kDemuxers, cannot be read or
// is cut off.
Container OpenContainer(Source& source) {
  Container container;
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
  if (buffer == nullptr) return container;
  container.io.reset(avio_alloc_context(buffer, kBufferSize, 0, &source, Read, nullptr, Seek));
  if (!container.io) {
    av_free(buffer);
    return container;
  }
  const AVInputFormat* format = nullptr;
  if (av_probe_input_buffer2(container.io.get(), &format, "", nullptr, 0, kProbeBytes) < 0 ||
      av_match_list(format->name, kDemuxers, ',') <= 0) {
    return container;
  }

  source.hitEnd = false;  // probing reads ahead, past the end of a short file
  AVFormatContext* opened = avformat_alloc_context();
  if (opened == nullptr) return container;
  opened->pb = container.io.get();
  opened->flags |= AVFMT_FLAG_CUSTOM_IO;
  AVDictionary* options = nullptr;
  // Chapter tracks would make the MOV reader read beyond the header, and external data references
  // (off by default) other files.
  av_dict_set(&options, "ignore_chapters", "1", 0);
  av_dict_set(&options, "enable_drefs", "0", 0);
  const int status = avformat_open_input(&opened, "", format, &options);
  av_dict_free(&options);
  if (status < 0) return container;  // the context is freed on failure
  container.context.reset(opened);
  // A header that runs past the end of the file is cut off; the demuxers fill the missing bytes
  // with zeros rather than fail, so nothing read from it is trusted.
  if (source.hitEnd) container.context.reset();
  return container;
}

}  // namespace

std::optional<int64_t> ReadVideoTime(int fd, int64_t size) {
  Source source{fd, 0, size, std::chrono::steady_clock::now() + kTimeLimit};
  const Container container = OpenContainer(source);
  if (!container.context) return std::nullopt;
  const char* text = CreationTime(*container.context);
  if (text == nullptr) return std::nullopt;
  // The demuxers write "YYYY-MM-DDTHH:MM:SS.ffffffZ"; naive seconds of UTC are epoch seconds.
  const std::optional<int64_t> utc = ParseExifDateTime(text);
  if (!utc) return std::nullopt;
  return LocalNaiveSeconds(static_cast<std::time_t>(*utc));
}

bool ReadVideoSize(int fd, int64_t size, uint32_t& width, uint32_t& height) {
  Source source{fd, 0, size, std::chrono::steady_clock::now() + kTimeLimit};
  const Container container = OpenContainer(source);
  if (!container.context) return false;
  for (unsigned i = 0; i < container.context->nb_streams; ++i) {
    const AVCodecParameters* codec = container.context->streams[i]->codecpar;
    if (codec->codec_type != AVMEDIA_TYPE_VIDEO || codec->width <= 0 || codec->height <= 0 ||
        (container.context->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0)
      continue;
    width = static_cast<uint32_t>(codec->width);
    height = static_cast<uint32_t>(codec->height);
    return true;
  }
  return false;
}

}  // namespace zul
