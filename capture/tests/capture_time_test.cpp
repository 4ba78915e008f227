#include "capture/capture_time.h"

#include <gtest/gtest.h>

#include <optional>

#include "capture/testing/sample_files.h"
#include "capture/tests/pinned_time_zone.h"

namespace zul {

namespace {

struct ExifText {
  const char* text;
  std::optional<int64_t> expected;
};

class ExifDateTimeText : public testing::TestWithParam<ExifText> {};

TEST_P(ExifDateTimeText, GivesTheCalendarFieldsOrNothing) {
  EXPECT_EQ(ParseExifDateTime(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExifDateTimeText,
    testing::Values(ExifText{"2019:02:28 14:30:59", Naive(2019, 2, 28, 14, 30, 59)},
                    ExifText{"1999:12:31 23:59:59", Naive(1999, 12, 31, 23, 59, 59)},
                    ExifText{"2024:02:29 00:00:00", Naive(2024, 2, 29, 0, 0, 0)},
                    ExifText{"1901:01:01 00:00:00", Naive(1901, 1, 1, 0, 0, 0)},
                    // Other separators and trailing sub-seconds or zones are tolerated.
                    ExifText{"2019-02-28T14:30:59", Naive(2019, 2, 28, 14, 30, 59)},
                    ExifText{"2019:02:28 14:30:59.123+01:00", Naive(2019, 2, 28, 14, 30, 59)},
                    // A clock never set, blanks, impossible fields, short or foreign text.
                    ExifText{"0000:00:00 00:00:00", std::nullopt},
                    ExifText{"    :  :     :  :  ", std::nullopt},
                    ExifText{"2023:02:29 10:00:00", std::nullopt},
                    ExifText{"2019:13:01 10:00:00", std::nullopt},
                    ExifText{"2019:02:28 24:00:00", std::nullopt},
                    ExifText{"2019:02:28 14:60:00", std::nullopt},
                    ExifText{"2019:02:28 14:30:60", std::nullopt},
                    ExifText{"2019:02:28 14:30:5", std::nullopt},
                    ExifText{"2019:02:28", std::nullopt},
                    ExifText{"2019:+2:28 14:30:59", std::nullopt}, ExifText{"", std::nullopt}));

struct ZoneCase {
  const char* zone;  // POSIX form: needs no time-zone files
  int64_t utc;
  int64_t expected;
};

class UtcToLocal : public testing::TestWithParam<ZoneCase> {};

TEST_P(UtcToLocal, FollowsTheZoneAndItsSummerTime) {
  const PinnedTimeZone zone(GetParam().zone);
  EXPECT_EQ(LocalNaiveSeconds(GetParam().utc), GetParam().expected);
}

constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
INSTANTIATE_TEST_SUITE_P(
    Zones, UtcToLocal,
    testing::Values(
        ZoneCase{"UTC0", Naive(2021, 7, 4, 22, 30, 15), Naive(2021, 7, 4, 22, 30, 15)},
        ZoneCase{kBerlin, Naive(2021, 7, 4, 22, 30, 15), Naive(2021, 7, 5, 0, 30, 15)},
        ZoneCase{kBerlin, Naive(2021, 1, 10, 12, 0, 0), Naive(2021, 1, 10, 13, 0, 0)},
        ZoneCase{kBerlin, Naive(2021, 12, 31, 23, 59, 59), Naive(2022, 1, 1, 0, 59, 59)},
        ZoneCase{"EST5EDT,M3.2.0,M11.1.0", Naive(2021, 3, 1, 3, 0, 0),
                 Naive(2021, 2, 28, 22, 0, 0)},
        ZoneCase{"<+0530>-5:30", Naive(2020, 2, 29, 20, 0, 0), Naive(2020, 3, 1, 1, 30, 0)}));

}  // namespace

}  // namespace zul
