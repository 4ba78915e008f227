#pragma once

#include <string>
#include <vector>

#include "core/file_rows.h"
#include "core/folder_walk.h"
#include "platform/result.h"

namespace zul {

class FileSystem;

// The rows of the paths given to zulren, in their order, each with its file's identity: a file
// (or a symbolic link, followed nowhere) as it is; a folder's files as the window's folder command
// takes them (core/folder_walk.h), with `recursive` those of its subfolders too. Fails with the
// error of the first path that names nothing, whose index is then in `failed`. A file's dates
// are read only where `needsTimes` says they can matter. The folders walked are added to
// `listings` with every name they held.
[[nodiscard]] Result<FileRows> CollectRows(FileSystem& files, const std::vector<std::string>& paths,
                                           bool recursive, const NeedsTimes& needsTimes,
                                           std::vector<FolderListing>& listings, size_t& failed);

}  // namespace zul
