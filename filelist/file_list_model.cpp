#include "filelist/file_list_model.h"

#include <utility>

namespace {

const char* const kHeaders[ColCount] = {"Alter Name", "Neuer Name", "Verzeichnis", "Erstelltdatum",
                                        "Änderungsdatum"};

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

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || index.column() >= ColCount) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    const std::string& text = Text(index.row(), index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < ColCount) {
    return QString::fromUtf8(kHeaders[section]);
  }
  if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
    return int(Qt::AlignLeft | Qt::AlignVCenter);
  return QAbstractTableModel::headerData(section, orientation, role);
}

const std::string& FileListModel::Text(int row, int column) const {
  return ColumnText(m_rows[static_cast<size_t>(row)], column);
}

void FileListModel::SetText(int row, int column, std::string text) {
  ColumnText(m_rows[static_cast<size_t>(row)], column) = std::move(text);
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell);
}

void FileListModel::Append(FileEntry entry) {
  beginInsertRows({}, Count(), Count());
  m_rows.push_back(std::move(entry));
  endInsertRows();
}

void FileListModel::Append(std::vector<FileEntry> entries) {
  if (entries.empty()) return;
  beginInsertRows({}, Count(), Count() + static_cast<int>(entries.size()) - 1);
  m_rows.insert(m_rows.end(), std::make_move_iterator(entries.begin()),
                std::make_move_iterator(entries.end()));
  endInsertRows();
}

void FileListModel::SetNewNames(std::vector<std::string> names) {
  if (m_rows.empty()) return;
  for (size_t i = 0; i < m_rows.size() && i < names.size(); ++i)
    m_rows[i].newName = std::move(names[i]);
  emit dataChanged(index(0, ColNewName), index(Count() - 1, ColNewName));
}

void FileListModel::RemoveRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  if (rows.size() == 1) {
    beginRemoveRows({}, rows[0], rows[0]);
    m_rows.erase(m_rows.begin() + rows[0]);
    endRemoveRows();
    return;
  }
  // Many rows: compact in one pass and reset, instead of one removal signal per row.
  beginResetModel();
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
  endResetModel();
}

void FileListModel::SwapRows(int a, int b) {
  if (a == b) return;
  std::swap(m_rows[static_cast<size_t>(a)], m_rows[static_cast<size_t>(b)]);
  emit dataChanged(index(a, 0), index(a, ColCount - 1));
  emit dataChanged(index(b, 0), index(b, ColCount - 1));
}

void FileListModel::Reorder(const std::vector<int>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> newPosition(m_rows.size());
  for (size_t i = 0; i < order.size(); ++i) newPosition[static_cast<size_t>(order[i])] = int(i);
  std::vector<FileEntry> reordered;
  reordered.reserve(m_rows.size());
  for (int from : order) reordered.push_back(std::move(m_rows[static_cast<size_t>(from)]));
  m_rows = std::move(reordered);
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(newPosition[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
