#include "filelist/file_list_model.h"

#include <malloc.h>

#include <numeric>
#include <utility>

#include "core/plan_check_text.h"
#include "core/unique_names.h"
#include "platform/text_bytes.h"

namespace zul {

void FileListModel::Compact() {
  m_rows.ShrinkToFit();
  // The scan's buffers and the rows' former storage are freed by now, but glibc keeps the pages
  // unless asked: the window would hold twice what its list needs.
  malloc_trim(0);
}

namespace {

const char* const kHeaders[ColCount] = {"Alter Name",    "Neuer Name",     "Verzeichnis",
                                        "Erstelltdatum", "Änderungsdatum", "Aufnahmedatum"};

const char* const kStandInText = "keine Aufnahmezeit in der Datei, Änderungsdatum verwendet";

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
  if (index.column() == ColCaptured) {
    if (!m_rows.CaptureIsStandIn(index.row())) return {};
    switch (role) {
      case Qt::ForegroundRole:
        return m_standInColour;
      case Qt::ToolTipRole:
      case Qt::AccessibleDescriptionRole:
        return QString::fromUtf8(kStandInText);
      default:
        return {};
    }
  }
  if (index.column() != ColNewName) return {};
  const StepCheck check = m_rows.Check(index.row());
  if (check.issue == StepIssue::None) return {};
  switch (role) {
    case Qt::DecorationRole:
      return m_issueIcon;
    case Qt::ForegroundRole:
      return m_issueColour;
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
      return TextOf(IssueText(check, Text(index.row(), ColNewName),
                              check.other < static_cast<uint32_t>(Count())
                                  ? Text(static_cast<int>(check.other), ColNewName)
                                  : std::string()));
    default:
      return {};
  }
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

void FileListModel::Append(const FileRecord& file, const FileIdentity& identity) {
  beginInsertRows({}, Count(), Count());
  m_rows.Append(file, identity);
  endInsertRows();
}

void FileListModel::Append(FileRows&& rows) {
  if (rows.Count() == 0) return;
  beginInsertRows({}, Count(), Count() + rows.Count() - 1);
  m_rows.Append(std::move(rows));
  endInsertRows();
}

int FileListModel::ComputeNewNames(const FilterSettings& filter, const CaptureReader& reader,
                                   const CaptureProgress& progress) {
  if (Count() == 0) return 0;
  bool read = false;
  const int unread = m_rows.ComputeNewNames(filter, reader, [&](int done) {
    read = true;
    return !progress || progress(done);
  });
  emit dataChanged(index(0, ColNewName), index(Count() - 1, ColNewName));
  if (read) emit dataChanged(index(0, ColCaptured), index(Count() - 1, ColCaptured));
  return unread;
}

void FileListModel::MakeNamesUnique(FileSystem& files) {
  if (Count() == 0 || !zul::MakeNamesUnique(m_rows, files)) return;
  emit dataChanged(index(0, ColNewName), index(Count() - 1, ColNewName));
}

int FileListModel::ReadCaptureTimes(const CaptureReader& reader, const CaptureProgress& progress) {
  if (Count() == 0) return 0;
  const int unread = m_rows.ReadCaptureTimes(reader, progress);
  emit dataChanged(index(0, ColCaptured), index(Count() - 1, ColCaptured));
  return unread;
}

void FileListModel::ReadCaptureTime(int row, const CaptureReader& reader) {
  m_rows.ReadCaptureTime(row, reader);
  const QModelIndex cell = index(row, ColCaptured);
  emit dataChanged(cell, cell);
}

void FileListModel::RemoveRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int removed = static_cast<int>(rows.size());
  // Scattered rows first move behind the others in one layout change, so that one removal takes
  // them all: two signals however many ranges, and the rows that stay keep their persistent
  // indexes (current row, selection, scroll position) as with one removal per range.
  const bool oneRange = rows.back() - rows.front() + 1 == removed;
  if (!oneRange) {
    std::vector<int> order;
    order.reserve(static_cast<size_t>(Count()));
    for (int row = 0, next = 0; row < Count(); ++row) {
      if (next < removed && rows[static_cast<size_t>(next)] == row)
        ++next;
      else
        order.push_back(row);
    }
    order.insert(order.end(), rows.begin(), rows.end());
    Reorder(order);
  }
  const int first = oneRange ? rows.front() : Count() - removed;
  std::vector<int> range(static_cast<size_t>(removed));
  std::iota(range.begin(), range.end(), first);
  beginRemoveRows({}, first, first + removed - 1);
  m_rows.Remove(range);
  endRemoveRows();
}

void FileListModel::SwapRows(int a, int b) {
  if (a == b) return;
  m_rows.Swap(a, b);
  emit dataChanged(index(a, 0), index(a, ColCount - 1));
  emit dataChanged(index(b, 0), index(b, ColCount - 1));
}

void FileListModel::Reorder(const std::vector<int>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> moved(static_cast<size_t>(Count()));
  for (size_t i = 0; i < order.size(); ++i) moved[static_cast<size_t>(order[i])] = int(i);
  m_rows.Reorder(order);
  FollowMovedRows(moved);
}

void FileListModel::Sort(int column, bool ascending) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  FollowMovedRows(m_rows.Sort(column, ascending));
}

void FileListModel::FollowMovedRows(const std::vector<int>& moved) {
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(moved[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::SetChecks(const std::vector<StepCheck>& checks) {
  m_rows.SetChecks(checks);
  if (Count() == 0) return;
  emit dataChanged(
      index(0, ColNewName), index(Count() - 1, ColNewName),
      {Qt::DecorationRole, Qt::ForegroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

StepIssue FileListModel::Issue(int row) const {
  return row >= 0 && row < Count() ? m_rows.Check(row).issue : StepIssue::None;
}

int FileListModel::FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps,
                                 bool back) {
  const int followed = m_rows.FollowRenames(plan, steps, back);
  if (followed > 0) {
    emit dataChanged(index(0, 0), index(Count() - 1, ColCount - 1));
  }
  return followed;
}

void FileListModel::SetIssueLook(const QIcon& icon, const QBrush& colour) {
  m_issueIcon = icon;
  m_issueColour = colour;
}

}  // namespace zul
