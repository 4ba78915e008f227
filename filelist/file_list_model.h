#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QAbstractTableModel>
#include <QBrush>
#include <QIcon>

#include "core/file_rows.h"
#include "core/plan_check.h"
#include "core/rename_plan.h"

namespace zul {

// The list's rows as a Qt model. Bulk operations emit one signal each (one insert range, one
// dataChanged per column, one removal, one layout change), so a million rows stay fluid.
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
  FileEntry Row(int row) const { return m_rows.Row(row); }
  std::string Text(int row, int column) const { return m_rows.Text(row, column); }
  void SetNewName(int row, std::string_view name);

  // Appends rows at the end.
  void Append(const FileRecord& file, const FileIdentity& identity = {});
  void Append(FileRows&& rows);
  // Gives back what a scan's growth of the rows left spare, to the system too.
  void Compact();

  // Refills column "Neuer Name" of every row from `filter`, reading the capture times it needs
  // (see FileRows::ComputeNewNames). Returns how many rows took the stand-in unread.
  int ComputeNewNames(const FilterSettings& filter, const CaptureReader& reader,
                      const CaptureProgress& progress = {});
  // Fills the slots "[eindeutig]" left in the new names, looking at the disk through `files`
  // (see unique_names.h).
  void MakeNamesUnique(FileSystem& files);
  // Reads the capture times not read yet (see FileRows::ReadCaptureTimes).
  int ReadCaptureTimes(const CaptureReader& reader, const CaptureProgress& progress = {});
  void ReadCaptureTime(int row, const CaptureReader& reader);
  const FileTags& ReadTags(int row, const CaptureReader& reader) {
    return m_rows.ReadTags(row, reader);
  }

  // Removes the given rows; `rows` is ascending and free of duplicates. Never resets the model.
  void RemoveRows(const std::vector<int>& rows);

  // Exchanges the texts of two rows.
  void SwapRows(int a, int b);

  // Puts the rows into a new order: row i of the result is the former row order[i].
  // Persistent indexes (selection, current row) follow their rows.
  void Reorder(const std::vector<int>& order);

  // Sorts the rows in place (see FileRows::Sort). Persistent indexes follow their rows.
  void Sort(int column, bool ascending);

  // The check's result for every row (one per row), kept on the rows. "Neuer Name" of a row
  // with an issue shows `icon`, its text in `colour`, and the reason, naming the row or file it
  // concerns, as tooltip and accessible description. Until the next check, each result moves
  // with its row.
  void SetChecks(const std::vector<StepCheck>& checks);
  StepIssue Issue(int row) const;
  void SetIssueLook(const QIcon& icon, const QBrush& colour);
  // The colour of a capture time where the last-write time stands in.
  void SetStandInLook(const QBrush& colour) { m_standInColour = colour; }

  // The rows follow their files after renames on the disk (see FileRows::FollowRenames).
  int FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps, bool back);

 private:
  // Ends a layout change in which row r went to moved[r]: the persistent indexes follow their
  // rows (the check's results are on them).
  void FollowMovedRows(const std::vector<int>& moved);

  FileRows m_rows;
  QIcon m_issueIcon;
  QBrush m_issueColour;
  QBrush m_standInColour;
};

}  // namespace zul
