#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "filelist/core/file_rows.h"

// The list's rows as a Qt model. Bulk operations emit one signal each (one insert range, one
// dataChanged per column, one removal per contiguous range, one layout change), so 100,000 rows
// stay fluid.
class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit FileListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  const FileRows& Rows() const { return m_rows; }
  int Count() const { return m_rows.Count(); }
  const FileEntry& Row(int row) const { return m_rows.Row(row); }
  const std::string& Text(int row, int column) const { return m_rows.Text(row, column); }
  void SetText(int row, int column, std::string text);

  // Appends rows at the end.
  void Append(FileEntry entry);
  void Append(std::vector<FileEntry> entries);

  // Replaces column "Neuer Name" of every row; `names` has one entry per row.
  void SetNewNames(std::vector<std::string> names);

  // Removes the given rows; `rows` is ascending and free of duplicates. One pass over the rows.
  void RemoveRows(const std::vector<int>& rows);

  // Exchanges the texts of two rows.
  void SwapRows(int a, int b);

  // Puts the rows into a new order: row i of the result is the former row order[i].
  // Persistent indexes (selection, current row) follow their rows.
  void Reorder(const std::vector<int>& order);

 private:
  FileRows m_rows;
};
