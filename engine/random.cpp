#include "engine/random.h"

namespace zul {

namespace {

constexpr uint32_t kMultiplier = 214013;
constexpr uint32_t kIncrement = 2531011;

thread_local uint32_t state = 1;

}  // namespace

int NextRandom() {
  state = state * kMultiplier + kIncrement;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

void SetRandomState(uint32_t newState) { state = newState; }

uint32_t RandomState() { return state; }

void SkipRandom(uint64_t draws) {
  // One draw is the affine map x -> a*x + c (mod 2^32); squaring the map doubles the draws it
  // stands for, so the bits of `draws` pick which powers to apply.
  uint32_t a = kMultiplier;
  uint32_t c = kIncrement;
  for (; draws != 0; draws >>= 1) {
    if (draws & 1) state = state * a + c;
    c = c * a + c;
    a = a * a;
  }
}

}  // namespace zul
