#pragma once

#include <optional>
#include <string>
#include <vector>

#include "filelist/core/file_rows.h"

class FileSystem;

// The rows of the paths given to zulren, in their order: a file as it is; a folder's files
// without hidden ones, in byte order of their names, with `recursive` also those of its
// subfolders (where the subfolder comes in that order; a folder reached twice through links is
// taken once). Empty, with a German message in `error`, when a path names nothing.
std::optional<FileRows> CollectRows(FileSystem& files, const std::vector<std::string>& paths,
                                    bool recursive, std::string& error);
