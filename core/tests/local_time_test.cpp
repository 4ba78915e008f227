#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "capture/testing/fake_capture_reader.h"
#include "capture/tests/pinned_time_zone.h"
#include "core/date_text.h"
#include "core/file_rows.h"
#include "engine/random.h"

namespace zul {

// File times are shown, sorted and put into names as local time, in whatever zone TZ sets, with
// its daylight saving rules; the stand-in for a missing capture time too.

namespace {

struct ZoneCase {
  const char* zone;
  int64_t time;
  const char* shown;
};

class LocalFileTimes : public ::testing::TestWithParam<ZoneCase> {};

// Europe/Berlin and America/New_York in POSIX form, which needs no zone files.
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";

TEST_P(LocalFileTimes, ListTextsAndDatePlaceholdersShowTheZonesWallClock) {
  const PinnedTimeZone zone(GetParam().zone);
  const ScopedRandomState random{1};
  FileRows rows;
  rows.Append("/d", "a.jpg", FileTimes{GetParam().time, GetParam().time});
  EXPECT_EQ(rows.Text(0, ColModified), GetParam().shown);
  EXPECT_EQ(rows.Text(0, ColCreated), GetParam().shown);

  FilterSettings filter;
  filter.mask = "[radatum]_[ah]-[am]-[as]|[fh]";
  const FakeCaptureReader noCaptureTime;
  rows.ComputeNewNames(filter, noCaptureTime);
  const std::string shown = GetParam().shown;
  const std::string expected = shown.substr(6, 4) + "-" + shown.substr(3, 2) + "-" +
                               shown.substr(0, 2) + "_" + shown.substr(13, 2) + "-" +
                               shown.substr(16, 2) + "-" + shown.substr(19, 2) + "|" +
                               shown.substr(13, 2);
  EXPECT_EQ(rows.Text(0, ColNewName), expected) << "the capture stand-in is local too";
}

INSTANTIATE_TEST_SUITE_P(
    Zones, LocalFileTimes,
    ::testing::Values(
        ZoneCase{kBerlin, 1711846800, "31.03.2024   03:00:00"} /* 01:00 UTC: 02:00 is skipped */,
        ZoneCase{kBerlin, 1711846799, "31.03.2024   01:59:59"},
        ZoneCase{kBerlin, 1729990800, "27.10.2024   02:00:00"} /* back to winter time */,
        ZoneCase{kBerlin, 1729990799, "27.10.2024   02:59:59"},
        ZoneCase{kBerlin, 1704063599, "31.12.2023   23:59:59"} /* the year turns too */,
        ZoneCase{kBerlin, 1704063600, "01.01.2024   00:00:00"},
        ZoneCase{kNewYork, 1710054000, "10.03.2024   03:00:00"},
        ZoneCase{kNewYork, 1710053999, "10.03.2024   01:59:59"},
        ZoneCase{kNewYork, 1730613600, "03.11.2024   01:00:00"},
        ZoneCase{kNewYork, 1730613599, "03.11.2024   01:59:59"},
        ZoneCase{kNewYork, 1704085199, "31.12.2023   23:59:59"}));

// Every second around a transition, and a spread of moments, against the C library itself: the
// offsets kept per quarter hour must never outlive a change of offset or of TZ.
TEST(LocalSeconds, AgreesWithTheCLibraryAcrossTransitionsAndZoneChanges) {
  for (const char* zoneText : {kBerlin, kNewYork, "UTC0", "<+0530>-5:30"}) {
    const PinnedTimeZone zone(zoneText);
    const auto expected = [](int64_t t) {
      const auto time = static_cast<std::time_t>(t);
      std::tm local{};
      localtime_r(&time, &local);
      return t + local.tm_gmtoff;
    };
    for (const int64_t transition : {int64_t{1711846800}, int64_t{1730613600}}) {
      for (int64_t t = transition - 2000; t < transition + 2000; ++t)
        ASSERT_EQ(LocalSeconds(t), expected(t)) << zoneText << " at " << t;
    }
    for (int64_t t = -4000000000; t < 4000000000; t += 7777777)
      ASSERT_EQ(LocalSeconds(t), expected(t)) << zoneText << " at " << t;
  }
}

}  // namespace

}  // namespace zul
