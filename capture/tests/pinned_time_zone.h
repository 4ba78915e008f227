#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace zul {

// Sets the process's time zone (POSIX form, which needs no zone files) for its lifetime and
// then restores the one before.
class PinnedTimeZone {
 public:
  explicit PinnedTimeZone(const char* zone) {
    if (const char* before = std::getenv("TZ")) before_ = before;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~PinnedTimeZone() {
    if (before_) {
      setenv("TZ", before_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  PinnedTimeZone(const PinnedTimeZone&) = delete;
  PinnedTimeZone& operator=(const PinnedTimeZone&) = delete;

 private:
  std::optional<std::string> before_;
};

}  // namespace zul
