#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "capture/testing/sample_files.h"
#include "cli/tests/run_program.h"
#include "document/filter_file.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// The real zulren names photos by when they were taken, as the window does.

namespace {

TEST(ZulrenCapture, NamesByTheCaptureTimeOrTheLastWriteTimeStandingIn) {
  TempFolder dir;
  ASSERT_TRUE(dir.IsValid());
  FilterSettings filter;
  filter.mask = "[rfdatum]_[fzeit].[typ]";
  std::string bytes;
  WriteTo(filter, bytes);
  dir.Put("foto.fil", bytes);
  ASSERT_TRUE(WriteImage(dir.Path("bild.jpg"), "JPEG"));
  ASSERT_TRUE(
      WriteExif(dir.Path("bild.jpg"), {{"Exif.Photo.DateTimeOriginal", "2019:02:28 14:30:59"}}));
  dir.Put("ohne.jpg", "no picture");
  const utimbuf written{1207476672, 1207476672};  // 06.04.2008 10:11:12 UTC
  ASSERT_EQ(utime(dir.Path("ohne.jpg").c_str(), &written), 0);

  const ProgramRun run = RunProgram(ZULREN_PATH, {"foto.fil", "bild.jpg", "ohne.jpg"}, dir.Path(),
                                    {"XDG_STATE_HOME=" + dir.Path(".state")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "bild.jpg -> 2019-02-28_14.30.59.jpg\n"
            "ohne.jpg -> 2008-04-06_10.11.12.jpg\n");
}

}  // namespace

}  // namespace zul
