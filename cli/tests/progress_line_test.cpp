#include "cli/progress_line.h"

#include <sstream>

#include <gtest/gtest.h>

namespace zul {

namespace {

using namespace std::chrono_literals;

struct Moment {
  std::chrono::milliseconds at;
  size_t done;
};

struct ProgressCase {
  const char* label;
  bool terminal;
  std::vector<Moment> moments;
  std::string shown;
};

class ProgressLineTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressLineTest, ShowsOnATerminalOnlyAfterHalfASecond) {
  std::chrono::steady_clock::time_point now{};
  std::ostringstream err;
  {
    ProgressLine line(err, GetParam().terminal, "Umbenannt:", 1000, [&] { return now; });
    const auto start = now;
    for (const Moment& moment : GetParam().moments) {
      now = start + moment.at;
      line.Tell(moment.done);
    }
  }
  EXPECT_EQ(err.str(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ProgressLineTest,
    ::testing::Values(ProgressCase{"Short", true, {{100ms, 10}, {499ms, 900}}, ""},
                      ProgressCase{"NoTerminal", false, {{100ms, 10}, {2000ms, 900}}, ""},
                      // Shown with the rate, redrawn at most five times a second, wiped at the end.
                      ProgressCase{"Long",
                                   true,
                                   {{100ms, 10}, {500ms, 250}, {600ms, 300}, {1000ms, 800}},
                                   "\r\033[KUmbenannt: 250 von 1000 (500 je s)"
                                   "\r\033[KUmbenannt: 800 von 1000 (800 je s)\r\033[K"}),
    [](const ::testing::TestParamInfo<ProgressCase>& info) { return info.param.label; });

}  // namespace

}  // namespace zul
