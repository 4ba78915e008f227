#pragma once

#include <string>

namespace zul {

// The path made absolute and tidied, still naming the same file: "." and doubled slashes are
// dropped by text, but ".." only by the system, since after a symbolic link it leads elsewhere
// than the text says. A path that cannot be made absolute comes back as it is.
std::string FullPath(const std::string& path);

}  // namespace zul
