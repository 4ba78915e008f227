#include "engine/random.h"

#include <gtest/gtest.h>

namespace zul {

TEST(Random, StartsTheKnownSequenceAndSkipsExactly) {
  SetRandomState(1);
  for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(NextRandom(), expected);

  for (uint64_t draws : {0ull, 1ull, 2ull, 3ull, 1000ull, 65537ull}) {
    SetRandomState(12345);
    for (uint64_t i = 0; i < draws; ++i) NextRandom();
    const uint32_t stepped = RandomState();
    SetRandomState(12345);
    SkipRandom(draws);
    EXPECT_EQ(RandomState(), stepped) << draws;
  }
  // The state has period 2^32; skipping a full period and more must come back around.
  SetRandomState(99);
  SkipRandom(uint64_t{1} << 32);
  EXPECT_EQ(RandomState(), 99u);
  SkipRandom(~uint64_t{0});  // 2^64 - 1 draws: one short of 2^32 full periods
  SkipRandom(1);
  EXPECT_EQ(RandomState(), 99u);
}

}  // namespace zul
