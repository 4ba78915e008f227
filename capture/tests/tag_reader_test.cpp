#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <thread>

#include "capture/capture_reader.h"
#include "capture/testing/sample_files.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

const AudioTags kBackInBlack = {
    {"artist", "AC/DC"}, {"album", "Back in Black"}, {"title", "Back in Black"},
    {"track", "7/12"},   {"genre", "Hard Rock"},     {"disc", "1/2"},
    {"date", "1980"}};

class TagReaderTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.IsValid()); }

  TempFolder folder;
  MetadataCaptureReader reader;
};

// Which tags a format's writer stores: ffmpeg's muxers leave some out, TagLib writes them all.
struct AudioCase {
  const char* format;
  bool byTagLib;
  bool disc;
  bool year;
};

class MusicFormats : public TagReaderTest, public testing::WithParamInterface<AudioCase> {};

TEST_P(MusicFormats, GiveArtistAlbumTitleTrackGenreDiscAndYear) {
  const AudioCase& format = GetParam();
  const std::string path = folder.Path(std::string("song.") + format.format);
  if (format.byTagLib) {
    ASSERT_TRUE(WriteAudio(path, format.format, {}));
    ASSERT_TRUE(WriteTagsWithTagLib(path, kBackInBlack));
  } else {
    ASSERT_TRUE(WriteAudio(path, format.format, kBackInBlack));
  }
  const FileTags tags = reader.ReadTags(path);
  EXPECT_EQ(tags.artist, "AC/DC");
  EXPECT_EQ(tags.album, "Back in Black");
  EXPECT_EQ(tags.title, "Back in Black");
  EXPECT_EQ(tags.track, 7u);
  EXPECT_EQ(tags.genre, "Hard Rock");
  EXPECT_EQ(tags.year, format.year ? 1980u : 0u);
  EXPECT_EQ(tags.disc, format.disc ? 1u : 0u);
  EXPECT_EQ(tags.make, "");
  EXPECT_EQ(tags.width, 0u) << "no picture size for audio";
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MusicFormats,
    // ffmpeg's ASF muxer writes no year, its WAV muxer (a RIFF INFO chunk) no disc.
    testing::Values(AudioCase{"mp3", false, true, true}, AudioCase{"flac", false, true, true},
                    AudioCase{"opus", false, true, true}, AudioCase{"m4a", false, true, true},
                    AudioCase{"wma", false, true, false}, AudioCase{"aiff", false, true, true},
                    AudioCase{"wav", false, false, true}, AudioCase{"mp3", true, true, true},
                    AudioCase{"flac", true, true, true}, AudioCase{"opus", true, true, true},
                    AudioCase{"m4a", true, true, true}, AudioCase{"wma", true, true, true},
                    AudioCase{"wav", true, true, true}, AudioCase{"aiff", true, true, true}),
    [](const auto& info) {
      return std::string(info.param.format) + (info.param.byTagLib ? "_taglib" : "_ffmpeg");
    });

TEST_F(TagReaderTest, PhotosAndVideosGiveCameraAndPictureSize) {
  const std::string jpeg = folder.Path("photo.jpg");
  ASSERT_TRUE(WriteImage(jpeg, "JPEG"));
  ASSERT_TRUE(WriteExif(jpeg, {{"Exif.Image.Make", "Canon"}, {"Exif.Image.Model", "EOS 5D"}}));
  const FileTags photo = reader.ReadTags(jpeg);
  EXPECT_EQ(photo.make, "Canon");
  EXPECT_EQ(photo.model, "EOS 5D");
  EXPECT_EQ(photo.width, 16u);
  EXPECT_EQ(photo.height, 12u);
  EXPECT_EQ(photo.artist, "");

  const std::string png = folder.Path("plain.png");
  ASSERT_TRUE(WriteImage(png, "PNG"));
  const FileTags plain = reader.ReadTags(png);
  EXPECT_EQ(plain.make, "");
  EXPECT_EQ(plain.width, 16u);

  // The sample writer's MP4 files record no picture size; Matroska's do.
  const std::string video = folder.Path("clip.mkv");
  ASSERT_TRUE(WriteVideo(video, "matroska", ""));
  const FileTags clip = reader.ReadTags(video);
  EXPECT_EQ(clip.width, 16u);
  EXPECT_EQ(clip.height, 16u);
}

TEST_F(TagReaderTest, DamagedOrForeignFilesGiveNoTags) {
  const std::string mp3 = folder.Path("whole.mp3");
  ASSERT_TRUE(WriteAudio(mp3, "mp3", kBackInBlack));
  std::ifstream in(mp3, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), {});
  for (size_t length = 0; length < whole.size(); length += 7) {
    const FileTags tags = reader.ReadTags(folder.Put("cut.mp3", whole.substr(0, length)));
    EXPECT_TRUE(tags.artist.empty() || tags.artist == "AC/DC") << length;
  }
  for (const auto& [name, bytes] :
       {std::pair<const char*, std::string>{"text.mp3", "Kein Lied.\n"},
        {"zeros.flac", std::string(5000, '\0')},
        {"id3-only.mp3", std::string("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10)},
        {"empty.ogg", ""}}) {
    const FileTags tags = reader.ReadTags(folder.Put(name, bytes));
    EXPECT_EQ(tags.artist, "") << name;
    EXPECT_EQ(tags.track, 0u) << name;
  }
  EXPECT_EQ(reader.ReadTags(folder.Path("missing.mp3")).title, "");
}

// A writer blocked in opening a FIFO for writing is released by any reader's open; the reader
// would then close at once and the writer's data go nowhere. Neither reading of metadata may
// open anything but a regular file.
TEST_F(TagReaderTest, AFifoIsNeverOpened) {
  const std::string fifo = folder.Path("pipe.mp3");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::signal(SIGPIPE, SIG_IGN);
  ssize_t written = 0;
  std::thread writer([&] {
    const int fd = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return;
    written = write(fd, "data", 4);
    close(fd);
  });
  EXPECT_EQ(reader.ReadTags(fifo).title, "");
  EXPECT_EQ(reader.ReadCaptureTime(fifo), std::nullopt);
  // Time for a writer released by the reads to write into a FIFO nobody reads any more.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // Opened without waiting for a writer (a released one is gone), then read waiting: "data"
  // from the writer still held in its open, nothing where none is left.
  const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fcntl(fd, F_SETFL, 0), 0);
  char buffer[8] = {};
  const ssize_t got = read(fd, buffer, sizeof buffer);
  close(fd);
  writer.join();
  EXPECT_EQ(std::string(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0))), "data")
      << "the writer was released by the metadata reader";
}

}  // namespace

}  // namespace zul
