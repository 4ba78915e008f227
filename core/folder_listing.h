#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace zul {

// Every name of one folder as a walk read it, and when: the check before a run takes it in place
// of a second reading of the folder while it is recent (core/plan_check.h).
struct FolderListing {
  std::string directory;  // as the rows' folder column gives it; "" is the root folder
  std::vector<std::string> names;
  std::chrono::steady_clock::time_point readAt;  // taken before the reading began
};

}  // namespace zul
