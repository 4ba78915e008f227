#pragma once

#include <cstdint>
#include <string>

#include "engine/file_tags.h"

namespace zul {

// The music tags (artist, album, title, track, genre, disc, year) of an audio file in the open
// regular file `fd`: MP3, FLAC, Ogg Vorbis and Opus, M4A/AAC, WMA, WAV, AIFF and the other
// formats TagLib knows by their content, of `size` bytes. False, with nothing set, where it is
// none of them. `mpeg`: the file begins as an MP3 does (an ID3v2 tag or a frame). `head`: the
// file's first bytes as read already (see kHeadSize).
bool ReadMusicTags(int fd, int64_t size, bool mpeg, std::string head, FileTags& tags);

// Once per process, before the first read from any thread: silences TagLib's messages.
void SetUpMusicReading();

}  // namespace zul
