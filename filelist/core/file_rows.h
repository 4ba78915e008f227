#pragma once

#include <string>
#include <vector>

#include "engine/filter_settings.h"
#include "filelist/core/file_entry.h"

class FileSystem;

// The rows of the list, in display order: the only store of file data. A row's index is its
// position. Every operation is one pass over the rows, so 100,000 rows stay fluid.
class FileRows {
 public:
  int Count() const { return static_cast<int>(m_rows.size()); }
  const FileEntry& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
  const std::string& Text(int row, int column) const { return ColumnText(Row(row), column); }
  void SetText(int row, int column, std::string text);

  // Appends rows at the end.
  void Append(FileEntry entry);
  void Append(std::vector<FileEntry> entries);

  // The new name of every row under `filter`, top to bottom: one evaluation per row with the
  // row's position as its index, so one draw of the generator per row, in row order.
  std::vector<std::string> EvaluateNewNames(const FilterSettings& filter) const;
  // Replaces "Neuer Name" of every row; `names` has one entry per row.
  void SetNewNames(std::vector<std::string> names);

  // Removes the given rows; `rows` is ascending and free of duplicates.
  void Remove(const std::vector<int>& rows);
  // Exchanges two rows.
  void Swap(int a, int b);
  // Puts the rows into a new order: row i of the result is the former row order[i].
  void Reorder(const std::vector<int>& order);

  // The order a click on a column header gives (for Reorder): by the column's text, or for the
  // two date columns by year, month, day and time; compared as bytes, so upper case comes before
  // lower case and UTF-8 umlauts after all ASCII. Equal keys keep their order.
  std::vector<int> SortOrder(int column, bool ascending) const;

 private:
  std::vector<FileEntry> m_rows;
};

// The row for the file at `path`: its name, its folder (made absolute against the working folder,
// which may change later) and its times. A file that cannot be examined gets empty dates.
FileEntry MakeEntry(FileSystem& files, const std::string& path);
