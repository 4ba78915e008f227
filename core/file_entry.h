#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace zul {

// The columns, in display order.
enum FileColumn {
  ColOldName = 0,
  ColNewName,
  ColDirectory,
  ColCreated,
  ColModified,
  ColCaptured,
  ColCount
};

// The texts of one row, as the list shows them and hands them on: names and folder byte for byte
// as they came from the disk, the times as their date text (date_text.h), empty where the file
// could not be examined; the capture time empty until it is read (file_rows.h). A row's index is
// its position and is not stored.
struct FileEntry {
  std::string oldName;
  std::string newName;
  std::string directory;
  std::string created;
  std::string modified;
  std::string captured;
};

// A file as it enters the list.
struct FileRecord {
  std::string directory;  // without a trailing '/'; empty for the root folder
  std::string name;
  std::optional<FileTimes> times;  // none where the file could not be examined
};

}  // namespace zul
