#pragma once

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "engine/random.h"

namespace zul {

// Pins the clock to 09:05:03 on 6 December 2026 and restarts the generator, as at program start;
// both come back as they were after the test.
class EngineTest : public ::testing::Test {
 protected:
  LocalTime now{2026, 12, 6, 9, 5, 3};
  ScopedClock m_clock{[this] { return now; }};
  ScopedRandomState m_random{1};
};

}  // namespace zul
