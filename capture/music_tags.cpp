#include "capture/music_tags.h"

#include <unistd.h>

#include <taglib/fileref.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfile.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>
#include <taglib/tstring.h>
#include <charconv>

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

bool ReadMusicTags(int fd, FileTags& tags) {
  const int own = dup(fd);
  if (own < 0) return false;
  try {
    // The stream owns the duplicate and closes it; it reads from the start whatever the
    // original's offset.
    TagLib::FileStream stream(own, true);
    if (!stream.isOpen()) {
      close(own);
      return false;
    }
    stream.seek(0);
    // The audio properties would cost a scan of the frames, and no placeholder needs them.
    const TagLib::FileRef file(&stream, false);
    if (file.isNull() || file.tag() == nullptr) return false;
    const TagLib::Tag& tag = *file.tag();
    tags.artist = Text(tag.artist());
    tags.album = Text(tag.album());
    tags.title = Text(tag.title());
    tags.genre = Text(tag.genre());
    tags.track = tag.track();
    tags.year = tag.year();
    const TagLib::PropertyMap properties = file.file()->properties();
    const auto disc = properties.find("DISCNUMBER");
    if (disc != properties.end() && !disc->second.isEmpty())
      tags.disc = LeadingNumber(Text(disc->second.front()));
    return true;
  } catch (...) {
    // TagLib reports damage by its results; only running out of memory throws.
  }
  tags = FileTags();
  return false;
}

}  // namespace zul
