#pragma once

#include "engine/file_tags.h"

namespace zul {

// The music tags (artist, album, title, track, genre, disc, year) of an audio file in the open
// regular file `fd`: MP3, FLAC, Ogg Vorbis and Opus, M4A/AAC, WMA, WAV, AIFF and the other
// formats TagLib knows by their content. False, with nothing set, where it is none of them. The
// descriptor stays open and is read through a duplicate.
bool ReadMusicTags(int fd, FileTags& tags);

// Once per process, before the first read from any thread: silences TagLib's messages.
void SetUpMusicReading();

}  // namespace zul
