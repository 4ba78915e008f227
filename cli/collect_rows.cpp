#include "cli/collect_rows.h"

#include <utility>

#include "core/folder_cache.h"
#include "core/folder_walk.h"
#include "core/full_path.h"
#include "platform/file_system.h"

namespace zul {

namespace {

// Whether the entry itself is there, a link not followed: a link whose target is gone is still a
// name to rename.
bool EntryExists(FolderCache& folders, const std::string& path) {
  const size_t slash = path.rfind('/');
  const Result<int> folder = folders.Open(path.substr(0, slash));
  return folder && folders.Files().IdentifyInFolder(*folder, path.substr(slash + 1)).ok();
}

}  // namespace

Result<FileRows> CollectRows(FileSystem& files, const std::vector<std::string>& paths,
                             bool recursive, const NeedsTimes& needsTimes,
                             std::vector<FolderListing>& listings, size_t& failed) {
  FileRows rows;
  FolderCache folders(files);
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string path = FullPath(files, paths[i]);
    const Result<FileStatus> status = files.Examine(path);
    if (status && status->kind == FileKind::Folder) {
      WalkFolder(files, path, recursive, rows, {}, needsTimes, &listings);
      continue;
    }
    if (!status && !EntryExists(folders, path)) {
      failed = i;
      return status.error();
    }
    FileRecord record;
    const size_t slash = path.rfind('/');
    if (needsTimes && slash != std::string::npos &&
        !needsTimes(std::string_view(path).substr(slash + 1))) {
      record.directory = path.substr(0, slash);
      record.name = path.substr(slash + 1);
    } else {
      record = MakeRecord(folders, path);
    }
    rows.Append(record, IdentifyRecord(folders, record));
  }
  return rows;
}

}  // namespace zul
