// Writes the seed corpus of the tag fuzzer into the folder given: small tagged audio files of
// every format the reader knows, made on the spot.

#include <cstdio>
#include <string>

#include "capture/testing/sample_files.h"

using namespace zul;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: %s ORDNER\n", argv[0]);
    return 2;
  }
  const AudioTags tags = {{"artist", "AC/DC"}, {"album", "Back in Black"}, {"title", "Hells Bells"},
                          {"track", "1/10"},   {"genre", "Rock"},          {"disc", "1/1"},
                          {"date", "1980"}};
  int failed = 0;
  for (const char* format : {"mp3", "flac", "opus", "m4a", "wma", "wav", "aiff"}) {
    const std::string path = std::string(argv[1]) + "/seed." + format;
    if (!WriteAudio(path, format, tags) || !WriteTagsWithTagLib(path, tags)) {
      std::fprintf(stderr, "%s: nicht geschrieben\n", path.c_str());
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}
