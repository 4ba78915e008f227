#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zul {

class FileSystem;

// The paths of `bytes`, each ended by NUL as "find -print0" writes them (the last one may lack
// it), in their order; any other byte, a line feed included, belongs to the path. Empty, with a
// German message in `error`, where a path is empty.
std::optional<std::vector<std::string>> SplitPaths0(std::string_view bytes, std::string& error);

// The paths of the file `source`, or of the standard input where it is "-".
std::optional<std::vector<std::string>> ReadPaths0(FileSystem& files, const std::string& source,
                                                   std::string& error);

}  // namespace zul
