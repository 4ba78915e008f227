#pragma once

#include <string>

namespace zul {

class FileSystem;

// The one way a path from the user (an argument, a dialog, a dropped file) becomes the absolute
// path the rows and the document hold: made absolute against the working folder and tidied,
// still naming the same file. "." and doubled slashes are dropped by text, ".." only by the
// system, since after a symbolic link it leads elsewhere than the text says; the last name is
// kept as it is, so that a link is not replaced by its target. A path the system cannot resolve
// comes back absolute but otherwise as it is.
std::string FullPath(FileSystem& files, const std::string& path);

}  // namespace zul
