#pragma once

#include <string>

// One row of the list. The texts are byte strings exactly as they came from the disk (or, for the
// dates, the display text "%.2d.%.2d.%d   %.2d:%.2d:%.2d" in UTC; empty when the file could not
// be examined). A row's index is its position and is not stored.
struct FileEntry {
  std::string oldName;
  std::string newName;
  std::string directory;
  std::string created;
  std::string modified;
};

// The five columns, in display order.
enum FileColumn { ColOldName = 0, ColNewName, ColDirectory, ColCreated, ColModified, ColCount };

// The text of one column of a row.
const std::string& ColumnText(const FileEntry& entry, int column);
std::string& ColumnText(FileEntry& entry, int column);
