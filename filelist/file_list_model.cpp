#include "filelist/file_list_model.h"

#include <utility>

#include "platform/text_bytes.h"

namespace {

const char* const kHeaders[ColCount] = {"Alter Name", "Neuer Name", "Verzeichnis", "Erstelltdatum",
                                        "Änderungsdatum"};

}  // namespace

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || index.column() >= ColCount) return {};
  if (role == Qt::DisplayRole) return TextOf(Text(index.row(), index.column()));
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

void FileListModel::SetNewName(int row, std::string_view name) {
  m_rows.SetNewName(row, name);
  const QModelIndex cell = index(row, ColNewName);
  emit dataChanged(cell, cell);
}

void FileListModel::Append(const FileRecord& file) {
  beginInsertRows({}, Count(), Count());
  m_rows.Append(file);
  endInsertRows();
}

void FileListModel::Append(FileRows&& rows) {
  if (rows.Count() == 0) return;
  beginInsertRows({}, Count(), Count() + rows.Count() - 1);
  m_rows.Append(std::move(rows));
  endInsertRows();
}

void FileListModel::ComputeNewNames(const FilterSettings& filter) {
  if (Count() == 0) return;
  m_rows.ComputeNewNames(filter);
  emit dataChanged(index(0, ColNewName), index(Count() - 1, ColNewName));
}

void FileListModel::RemoveRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  if (rows.size() == 1) {
    beginRemoveRows({}, rows[0], rows[0]);
    m_rows.Remove(rows);
    endRemoveRows();
    return;
  }
  // Many rows: compact in one pass and reset, instead of one removal signal per row.
  beginResetModel();
  m_rows.Remove(rows);
  endResetModel();
}

void FileListModel::SwapRows(int a, int b) {
  if (a == b) return;
  m_rows.Swap(a, b);
  emit dataChanged(index(a, 0), index(a, ColCount - 1));
  emit dataChanged(index(b, 0), index(b, ColCount - 1));
}

void FileListModel::Sort(int column, bool ascending) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  const std::vector<int> moved = m_rows.Sort(column, ascending);
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(moved[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
