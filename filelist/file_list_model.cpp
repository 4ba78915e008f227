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
  if (role == Qt::DisplayRole) {
    const std::string& text = Text(index.row(), index.column());
    return TextOf(text);
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

void FileListModel::SetText(int row, int column, std::string text) {
  m_rows.SetText(row, column, std::move(text));
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell);
}

void FileListModel::Append(FileEntry entry) {
  beginInsertRows({}, Count(), Count());
  m_rows.Append(std::move(entry));
  endInsertRows();
}

void FileListModel::Append(std::vector<FileEntry> entries) {
  if (entries.empty()) return;
  beginInsertRows({}, Count(), Count() + static_cast<int>(entries.size()) - 1);
  m_rows.Append(std::move(entries));
  endInsertRows();
}

void FileListModel::SetNewNames(std::vector<std::string> names) {
  if (Count() == 0) return;
  m_rows.SetNewNames(std::move(names));
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

void FileListModel::Reorder(const std::vector<int>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> newPosition(static_cast<size_t>(Count()));
  for (size_t i = 0; i < order.size(); ++i) newPosition[static_cast<size_t>(order[i])] = int(i);
  m_rows.Reorder(order);
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(newPosition[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
