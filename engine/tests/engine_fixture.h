#pragma once

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "engine/random.h"

// Pins the clock to 09:05:03 on 6 December 2026 and restarts the generator, as at program start.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride([this] { return now; });
    SetRandomState(1);
  }
  void TearDown() override { SetClockOverride({}); }

  LocalTime now{2026, 12, 6, 9, 5, 3};
};
