#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_reader.h"

namespace zul {

// A capture reader of given answers: the time and tags set for a path, none for any other.
// Records every path it is asked for.
class FakeCaptureReader final : public CaptureReader {
 public:
  std::optional<int64_t> ReadCaptureTime(const std::string& path) const override {
    const std::lock_guard lock(m_mutex);
    asked.push_back(path);
    const auto found = times.find(path);
    if (found == times.end()) return std::nullopt;
    return found->second;
  }

  FileTags ReadTags(const std::string& path) const override {
    const std::lock_guard lock(m_mutex);
    askedTags.push_back(path);
    const auto found = tags.find(path);
    return found == tags.end() ? FileTags() : found->second;
  }

  std::map<std::string, int64_t> times;
  std::map<std::string, FileTags> tags;
  mutable std::vector<std::string> askedTags;
  mutable std::vector<std::string> asked;

 private:
  mutable std::mutex m_mutex;
};

}  // namespace zul
