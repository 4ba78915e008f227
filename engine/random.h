#pragma once

#include <cstdint>

namespace zul {

// The program's one pseudo-random generator: a linear congruential generator whose state is per
// thread and 1 when the thread starts. The first draws are 41, 18467, 6334, 26500, 19169.

// Draws the next value, 0 to 32767.
int NextRandom();

void SetRandomState(uint32_t state);
uint32_t RandomState();

// Sets the generator's state while it lives, then puts back the state found at its start.
class ScopedRandomState {
 public:
  explicit ScopedRandomState(uint32_t state) : m_previous(RandomState()) { SetRandomState(state); }
  ~ScopedRandomState() { SetRandomState(m_previous); }
  ScopedRandomState(const ScopedRandomState&) = delete;
  ScopedRandomState& operator=(const ScopedRandomState&) = delete;

 private:
  uint32_t m_previous;
};

// Leaves the state exactly where `draws` calls of NextRandom would, in O(log draws).
void SkipRandom(uint64_t draws);

}  // namespace zul
