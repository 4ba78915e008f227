#include "filelist/core/file_rows.h"

#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "filelist/core/date_text.h"

namespace {

// Appends the sort key of a date text: "DD.MM.YYYY   hh:mm:ss" gives "YYYYMMDD   hh:mm:ss", which
// sorts chronologically as text. Short texts give the pieces they have.
void AppendDateKey(std::string& keys, const std::string& text) {
  const auto piece = [&](size_t pos, size_t count) {
    if (pos < text.size()) keys.append(text, pos, count);
  };
  piece(6, 4);
  piece(3, 2);
  piece(0, 2);
  piece(10, std::string::npos);
}

}  // namespace

const std::string& ColumnText(const FileEntry& entry, int column) {
  switch (column) {
    case ColOldName:
      return entry.oldName;
    case ColNewName:
      return entry.newName;
    case ColDirectory:
      return entry.directory;
    case ColCreated:
      return entry.created;
    default:
      return entry.modified;
  }
}

std::string& ColumnText(FileEntry& entry, int column) {
  return const_cast<std::string&>(ColumnText(static_cast<const FileEntry&>(entry), column));
}

void FileRows::SetText(int row, int column, std::string text) {
  ColumnText(m_rows[static_cast<size_t>(row)], column) = std::move(text);
}

void FileRows::Append(FileEntry entry) { m_rows.push_back(std::move(entry)); }

void FileRows::Append(std::vector<FileEntry> entries) {
  m_rows.insert(m_rows.end(), std::make_move_iterator(entries.begin()),
                std::make_move_iterator(entries.end()));
}

std::vector<std::string> FileRows::EvaluateNewNames(const FilterSettings& filter) const {
  std::vector<std::string> names;
  names.reserve(m_rows.size());
  for (size_t i = 0; i < m_rows.size(); ++i) {
    const FileEntry& row = m_rows[i];
    names.push_back(
        filter.Evaluate(row.oldName, static_cast<int32_t>(i), row.created, row.modified));
  }
  return names;
}

void FileRows::SetNewNames(std::vector<std::string> names) {
  for (size_t i = 0; i < m_rows.size() && i < names.size(); ++i)
    m_rows[i].newName = std::move(names[i]);
}

void FileRows::Remove(const std::vector<int>& rows) {
  size_t out = 0;
  size_t next = 0;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (next < rows.size() && static_cast<size_t>(rows[next]) == i) {
      ++next;
      continue;
    }
    if (out != i) m_rows[out] = std::move(m_rows[i]);
    ++out;
  }
  m_rows.resize(out);
}

void FileRows::Swap(int a, int b) {
  std::swap(m_rows[static_cast<size_t>(a)], m_rows[static_cast<size_t>(b)]);
}

void FileRows::Reorder(const std::vector<int>& order) {
  std::vector<FileEntry> reordered;
  reordered.reserve(m_rows.size());
  for (const int from : order) reordered.push_back(std::move(m_rows[static_cast<size_t>(from)]));
  m_rows = std::move(reordered);
}

std::vector<int> FileRows::SortOrder(int column, bool ascending) const {
  // Each key is built once, all into one buffer, which also keeps the comparisons within one
  // block of memory. string_view compares bytes as unsigned values.
  const bool dateColumn = column == ColCreated || column == ColModified;
  std::string buffer;
  std::vector<size_t> ends;
  ends.reserve(m_rows.size());
  for (const FileEntry& row : m_rows) {
    if (dateColumn)
      AppendDateKey(buffer, ColumnText(row, column));
    else
      buffer += ColumnText(row, column);
    ends.push_back(buffer.size());
  }
  struct Keyed {
    std::string_view key;
    int row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(m_rows.size());
  for (size_t row = 0, begin = 0; row < ends.size(); begin = ends[row++])
    keyed.push_back({std::string_view(buffer).substr(begin, ends[row] - begin), int(row)});
  std::sort(keyed.begin(), keyed.end(), [ascending](const Keyed& a, const Keyed& b) {
    const int order = a.key.compare(b.key);
    if (order != 0) return ascending ? order < 0 : order > 0;
    return a.row < b.row;
  });
  std::vector<int> order;
  order.reserve(keyed.size());
  for (const Keyed& entry : keyed) order.push_back(entry.row);
  return order;
}

FileEntry MakeEntry(FileSystem& files, const std::string& path) {
  std::string absolute;
  if (path.empty() || path[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) absolute = std::string(cwd) + "/" + path;
  }
  const std::string& full = absolute.empty() ? path : absolute;
  const size_t slash = full.rfind('/');
  FileEntry entry;
  entry.oldName = slash == std::string::npos ? full : full.substr(slash + 1);
  entry.newName = entry.oldName;
  entry.directory = slash == std::string::npos ? std::string() : full.substr(0, slash);
  DateTexts dates = FileDateTexts(files, full);
  entry.created = std::move(dates.created);
  entry.modified = std::move(dates.modified);
  return entry;
}
