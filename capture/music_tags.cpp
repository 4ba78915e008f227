#include "capture/music_tags.h"

#include "capture/descriptor_stream.h"

#include <taglib/fileref.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/tstring.h>
#include <charconv>
#include <memory>
#include <utility>

namespace zul {

namespace {

class Silent final : public TagLib::DebugListener {
 public:
  void printMessage(const TagLib::String&) override {}
};

std::string Text(const TagLib::String& text) { return text.to8Bit(true); }

// "2/3" gives 2: a number at the start, as the formats store "part/total".
uint32_t LeadingNumber(const std::string& text) {
  uint32_t value = 0;
  const char* start = text.data();
  while (start < text.data() + text.size() && *start == ' ') ++start;
  std::from_chars(start, text.data() + text.size(), value);
  return value;
}

}  // namespace

void SetUpMusicReading() {
  static Silent silent;
  TagLib::setDebugListener(&silent);
}

bool ReadMusicTags(int fd, int64_t size, bool mpeg, std::string head, FileTags& tags) {
  try {
    DescriptorStream stream(fd, size, std::move(head));
    // The audio properties would cost a scan of the frames, and no placeholder needs them. MP3
    // files, by far the most, are opened as such: no detection, and the disc number straight
    // from its frame rather than from a map of all properties.
    std::unique_ptr<TagLib::MPEG::File> mp3;
    std::unique_ptr<TagLib::FileRef> other;
    TagLib::File* file = nullptr;
    if (mpeg) {
      mp3 = std::make_unique<TagLib::MPEG::File>(&stream, TagLib::ID3v2::FrameFactory::instance(),
                                                 false);
      file = mp3.get();
    } else {
      other = std::make_unique<TagLib::FileRef>(&stream, false);
      file = other->file();
    }
    if (file == nullptr || !file->isValid()) return false;
    if (mp3) {
      if (mp3->tag() == nullptr) return false;
      const TagLib::Tag& tag = *mp3->tag();
      tags.artist = Text(tag.artist());
      tags.album = Text(tag.album());
      tags.title = Text(tag.title());
      tags.genre = Text(tag.genre());
      tags.track = tag.track();
      tags.year = tag.year();
      if (mp3->hasID3v2Tag()) {
        const TagLib::ID3v2::FrameList& disc = mp3->ID3v2Tag()->frameListMap()["TPOS"];
        if (!disc.isEmpty()) tags.disc = LeadingNumber(Text(disc.front()->toString()));
      }
    } else {
      // The other formats through their property map: TagLib 1's tag() of a WAV file is its ID3v2
      // tag alone, and leaves out the RIFF INFO chunk that most writers (ffmpeg among them) use.
      const TagLib::PropertyMap properties = file->properties();
      const auto text = [&](const char* key) {
        const auto found = properties.find(key);
        return found == properties.end() ? std::string() : Text(found->second.toString(" "));
      };
      tags.artist = text("ARTIST");
      tags.album = text("ALBUM");
      tags.title = text("TITLE");
      tags.genre = text("GENRE");
      tags.track = LeadingNumber(text("TRACKNUMBER"));
      tags.year = LeadingNumber(text("DATE"));
      tags.disc = LeadingNumber(text("DISCNUMBER"));
    }
    return true;
  } catch (...) {
    // TagLib reports damage by its results; only running out of memory throws.
  }
  tags = FileTags();
  return false;
}

}  // namespace zul
