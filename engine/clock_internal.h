#pragma once

#include <cstdint>
#include <ctime>

namespace zul {

// Seams of the real local clock behind ReadClock, for tests only: where the whole seconds of wall
// time come from, and how many local-time conversions the calling thread has made.

// nullptr restores time(); returns the source it replaced.
time_t (*SetWallSecondsSource(time_t (*source)()))();

uint64_t LocalTimeConversions();

}  // namespace zul
