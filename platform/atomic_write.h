#pragma once

#include <string>
#include <system_error>

namespace zul {

// Replaces the content of the file at `path` by `bytes`, as FileSystem::WriteFileAtomically
// describes: a temporary file beside the target, flushed to the disk and renamed over it.
std::error_code ReplaceFileContent(const std::string& path, const std::string& bytes);

}  // namespace zul
