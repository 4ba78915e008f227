#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_rows.h"
#include "core/folder_listing.h"

namespace zul {

class FileSystem;

// Told how many files a walk has found so far; false stops it.
using WalkProgress = std::function<bool(int found)>;
// Whether a file's dates can matter, asked with its name; empty: they always can.
using NeedsTimes = std::function<bool(std::string_view name)>;

// What a walk of a folder did.
struct WalkOutcome {
  int found = 0;
  bool cancelled = false;
  // How many subfolders were finished, and the sum of the files found by the end of each: the
  // window recomputes its names once per finished folder, and counts the draws that skips.
  uint64_t subfoldersEnded = 0;
  uint64_t foundAtSubfolderEnds = 0;
};

// The one folder walker of both front ends. Appends the files of `folder` to `rows`, each with
// its identity: the entries in the byte order of their names, names starting with '.' skipped,
// and with `subfolders` each subfolder's files where its name falls, depth first. A symbolic link
// to a folder is never entered (a link itself is a file of the list); a folder reached twice
// (bind mounts) is taken once. A folder that cannot be read gives what was read of it. A file's
// dates are read only where `needsTimes` says they can matter; the others carry none. With
// `listings`, every folder read whole is added to it with all its names, hidden ones included.
WalkOutcome WalkFolder(FileSystem& files, const std::string& folder, bool subfolders,
                       FileRows& rows, const WalkProgress& progress = {},
                       const NeedsTimes& needsTimes = {},
                       std::vector<FolderListing>* listings = nullptr);

}  // namespace zul
