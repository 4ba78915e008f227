#pragma once

#include <string>
#include <vector>

namespace zul {

// A placeholder the mask's menu offers, and what it stands for.
struct OfferedPlaceholder {
  std::string text;
  const char* meaning;
};

struct PlaceholderGroup {
  const char* title;
  std::vector<OfferedPlaceholder> placeholders;
};

// Every placeholder by group, in the German spelling (the others are the same placeholders):
// the current time, the creation, last-write and capture times, music tags, camera and picture
// size, the counters, the old name.
const std::vector<PlaceholderGroup>& PlaceholderGroups();

}  // namespace zul
