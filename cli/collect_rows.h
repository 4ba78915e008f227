#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/file_rows.h"
#include "platform/file_system.h"

namespace zul {

// The rows and, for each, the identity of its file as the journal of a run records it.
struct CollectedRows {
  FileRows rows;
  std::vector<FileIdentity> identities;
};

// The rows of the paths given to zulren, in their order: a file as it is; a folder's files
// without hidden ones, in byte order of their names, with `recursive` also those of its
// subfolders (where the subfolder comes in that order; a folder reached twice through links is
// taken once). Empty, with a German message in `error`, when a path names nothing.
//
// The identities of a folder's files come from its listing, without a lookup per file, unless the
// listing's inode of the folder's first file differs from a lookup's (as on some overlays). They
// carry no birth time then.
//
// A file's dates are read only where `needsTimes` says so for its name; the others carry none.
using NeedsTimes = std::function<bool(std::string_view name)>;
std::optional<CollectedRows> CollectRows(FileSystem& files, const std::vector<std::string>& paths,
                                         bool recursive, const NeedsTimes& needsTimes,
                                         std::string& error);

}  // namespace zul
