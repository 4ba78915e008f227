#include <gtest/gtest.h>

#include "capture/testing/fake_capture_reader.h"
#include "core/date_text.h"
#include "core/file_rows.h"
#include "engine/random.h"

namespace zul {

// The capture times of the rows: read only where an evaluation or the caller needs them, once
// per row, with the last-write time standing in.

namespace {

constexpr int64_t kModified = 1207476672;  // 06.04.2008   10:11:12
constexpr int64_t kTaken = 1551364259;     // 28.02.2019   14:30:59

class CaptureRows : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
      rows.Append("/fotos", name, FileTimes{kModified - 100, kModified});
    reader.times["/fotos/a.jpg"] = kTaken;
    reader.times["/fotos/c.jpg"] = kTaken - 86400;
  }

  std::vector<std::string> NewNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < rows.Count(); ++i) names.push_back(rows.Text(i, ColNewName));
    return names;
  }

  const ScopedRandomState m_random{1};
  FileRows rows;
  FakeCaptureReader reader;
  FilterSettings filter;
};

struct MaskCase {
  const char* mask;
  size_t reads;  // files read by the first computation
};

class CaptureRowsByMask : public CaptureRows, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(CaptureRowsByMask, ReadsOnlyWhenTheGroupIsUsedAndOncePerRow) {
  filter.mask = GetParam().mask;
  EXPECT_EQ(rows.ComputeNewNames(filter, reader), 0);
  EXPECT_EQ(reader.asked.size(), GetParam().reads);
  rows.ComputeNewNames(filter, reader);
  EXPECT_EQ(reader.asked.size(), GetParam().reads);
  // One draw per row and computation, read or not.
  EXPECT_EQ(RandomState(), [] {
    const ScopedRandomState again(1);
    SkipRandom(6);
    return RandomState();
  }());
}

INSTANTIATE_TEST_SUITE_P(
    Masks, CaptureRowsByMask,
    ::testing::Values(MaskCase{"[name].[typ]", 0}, MaskCase{"[edatum] [azeit] [datum]", 0},
                      MaskCase{"[fdatum]", 3}, MaskCase{"[psecond]", 3},
                      // "[f" and "datum]" around a value that is not empty: no placeholder.
                      MaskCase{"[f[index]datum]", 0}));

TEST_F(CaptureRows, NamesTakeTheCaptureTimeOrTheStandInAndTheColumnShowsWhich) {
  filter.mask = "[rfdatum]_[fzeit]";
  rows.ComputeNewNames(filter, reader);
  EXPECT_EQ(NewNames(), (std::vector<std::string>{"2019-02-28_14.30.59", "2008-04-06_10.11.12",
                                                  "2019-02-27_14.30.59"}));
  EXPECT_EQ(rows.Text(0, ColCaptured), DateText(kTaken));
  EXPECT_EQ(rows.Text(1, ColCaptured), DateText(kModified));
  EXPECT_FALSE(rows.CaptureIsStandIn(0));
  EXPECT_TRUE(rows.CaptureIsStandIn(1));
  EXPECT_EQ(rows.Row(1).captured, DateText(kModified));
  EXPECT_EQ(reader.asked,
            (std::vector<std::string>{"/fotos/a.jpg", "/fotos/b.jpg", "/fotos/c.jpg"}));
}

TEST_F(CaptureRows, APlaceholderInTheOldNameReadsThatRowAlone) {
  rows.Append("", "Bild [fdatum].jpg", FileTimes{0, kModified});
  reader.times["/Bild [fdatum].jpg"] = kTaken;
  rows.ComputeNewNames(filter, reader);
  EXPECT_EQ(rows.Text(3, ColNewName), "Bild 28.02.2019.jpg");
  EXPECT_EQ(reader.asked, (std::vector<std::string>{"/Bild [fdatum].jpg"}));
  EXPECT_EQ(rows.Text(0, ColCaptured), "");
}

TEST_F(CaptureRows, TimesBeyondTheCalendarAndUnexaminedFilesStandIn) {
  rows.Append("/fotos", "d.jpg", std::nullopt);
  reader.times["/fotos/a.jpg"] = kLastDated + 1;
  reader.times["/fotos/d.jpg"] = kTaken;
  filter.mask = "[fjjjj]";
  rows.ComputeNewNames(filter, reader);
  EXPECT_EQ(NewNames(), (std::vector<std::string>{"2008", "2008", "2019", "2019"}));
  EXPECT_TRUE(rows.CaptureIsStandIn(0));
  EXPECT_FALSE(rows.CaptureIsStandIn(3));
}

TEST_F(CaptureRows, StoppedReadingLeavesTheRestToTheStandInUnreadForNextTime) {
  filter.mask = "[fjjjj]";
  std::vector<int> told;
  const int unread = rows.ComputeNewNames(filter, reader, [&](int done) {
    told.push_back(done);
    return false;
  });
  EXPECT_EQ(unread, 2);
  EXPECT_EQ(told, std::vector<int>{1});
  EXPECT_EQ(NewNames(), (std::vector<std::string>{"2019", "2008", "2008"}));
  EXPECT_EQ(rows.Text(2, ColCaptured), "");
  EXPECT_FALSE(rows.CaptureIsStandIn(2));
  EXPECT_EQ(rows.ReadCaptureTimes(reader, [](int done) { return done < 2; }), 1);
  EXPECT_EQ(rows.ReadCaptureTimes(reader), 0);
  EXPECT_EQ(rows.Text(2, ColCaptured), DateText(kTaken - 86400));
  EXPECT_EQ(reader.asked.size(), 3u);
}

TEST_F(CaptureRows, SortsByTheTimeShownWithUnreadRowsFirst) {
  rows.Append("/fotos", "d.jpg", FileTimes{0, kModified});
  rows.ReadCaptureTime(0, reader);
  rows.ReadCaptureTime(1, reader);
  rows.ReadCaptureTime(2, reader);
  EXPECT_EQ(rows.Sort(ColCaptured, true), (std::vector<int>{3, 1, 2, 0}));
  EXPECT_EQ(rows.Text(0, ColOldName), "d.jpg");
  EXPECT_EQ(rows.Text(1, ColOldName), "b.jpg");  // its stand-in, 2008
  EXPECT_EQ(rows.Text(3, ColOldName), "a.jpg");
  EXPECT_EQ(reader.asked.size(), 3u);
  // The capture time moves with its row.
  EXPECT_EQ(rows.Text(3, ColCaptured), DateText(kTaken));
  EXPECT_TRUE(rows.CaptureIsStandIn(1));
}

}  // namespace

}  // namespace zul
