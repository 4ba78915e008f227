#include "engine/clock.h"

#include <gtest/gtest.h>

#include <ctime>

#include "engine/clock_internal.h"
#include "engine/filter_settings.h"
#include "engine/random.h"

namespace zul {

namespace {

time_t fakeSeconds = 0;
time_t FakeSeconds() { return fakeSeconds; }

std::string LocalText(time_t seconds) {
  tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H.%M.%S", &local);
  return text;
}

}  // namespace

TEST(Clock, ReadsTheRealLocalTimeWithoutOverride) {
  const LocalTime t = ReadClock();
  EXPECT_GE(t.year, 2024);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
  EXPECT_TRUE(t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59);
  EXPECT_TRUE(t.second >= 0 && t.second <= 60);
}

TEST(Clock, ConvertsToLocalTimeOncePerSecondOfWallTime) {
  const auto previous = SetWallSecondsSource(FakeSeconds);
  FilterSettings filter;
  filter.mask = "[datum] [zeit]";

  fakeSeconds = 1796547903;
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", ""), LocalText(fakeSeconds));
  const uint64_t converted = LocalTimeConversions();
  for (int row = 0; row < 1000; ++row) filter.Evaluate("a.b", row, "", "");
  EXPECT_EQ(LocalTimeConversions(), converted);

  // The next second is converted anew, not served from the previous one.
  ++fakeSeconds;
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", ""), LocalText(fakeSeconds));
  EXPECT_EQ(LocalTimeConversions(), converted + 1);
  fakeSeconds += 3600;
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", ""), LocalText(fakeSeconds));
  EXPECT_EQ(LocalTimeConversions(), converted + 2);
  SetWallSecondsSource(previous);
}

TEST(Clock, OverridesNestAndRestoreWhatTheyReplaced) {
  {
    const ScopedClock outer([] { return LocalTime{2001, 2, 3, 4, 5, 6}; });
    {
      const ScopedClock inner([] { return LocalTime{2020, 1, 1, 0, 0, 0}; });
      EXPECT_EQ(ReadClock().year, 2020);
    }
    EXPECT_EQ(ReadClock().year, 2001);
    const uint32_t state = RandomState();
    {
      const ScopedRandomState random(7);
      const ScopedRandomState again(8);
      EXPECT_EQ(RandomState(), 8u);
    }
    EXPECT_EQ(RandomState(), state);
  }
  EXPECT_GE(ReadClock().year, 2024) << "the real clock is back";
}

}  // namespace zul
