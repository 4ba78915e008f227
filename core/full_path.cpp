#include "core/full_path.h"

#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zul {

std::string FullPath(FileSystem& files, const std::string& path) {
  std::string absolute = path;
  if (path.empty() || path[0] != '/') {
    const Result<std::string> working = files.RealPath(".");
    if (!working) return path;
    absolute = *working == "/" ? "/" + path : *working + "/" + path;
  }
  std::vector<std::string_view> parts;
  bool climbs = false;
  for (size_t start = 0; start <= absolute.size();) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    const std::string_view part = std::string_view(absolute).substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(part);
    climbs = climbs || part == "..";
    start = end + 1;
  }
  const auto join = [&](size_t count) {
    std::string joined;
    for (size_t i = 0; i < count; ++i) joined.append("/").append(parts[i]);
    return joined.empty() ? std::string("/") : joined;
  };
  if (!climbs) return join(parts.size());
  const bool plainName = !parts.empty() && parts.back() != "..";
  const Result<std::string> folder = files.RealPath(join(parts.size() - (plainName ? 1 : 0)));
  if (!folder) return join(parts.size());
  if (!plainName) return *folder;
  return (*folder == "/" ? std::string() : *folder) + "/" + std::string(parts.back());
}

}  // namespace zul
