#pragma once

#include <cstdint>

// The program's one pseudo-random generator: a linear congruential generator whose state is per
// thread and 1 when the thread starts. The first draws are 41, 18467, 6334, 26500, 19169.

// Draws the next value, 0 to 32767.
int NextRandom();

void SetRandomState(uint32_t state);
uint32_t RandomState();

// Leaves the state exactly where `draws` calls of NextRandom would, in O(log draws).
void SkipRandom(uint64_t draws);
