#include "platform/full_path.h"

#include <algorithm>
#include <filesystem>

namespace zul {

std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) return path;
  if (std::find(full.begin(), full.end(), "..") == full.end())
    return full.lexically_normal().string();
  const std::filesystem::path name = full.filename();
  const bool plainName = !name.empty() && name != "." && name != "..";
  const std::filesystem::path folder =
      std::filesystem::canonical(plainName ? full.parent_path() : full, error);
  if (error) return full.string();
  return plainName ? (folder / name).string() : folder.string();
}

}  // namespace zul
