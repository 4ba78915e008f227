#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include "filelist/zulbo_view.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace {

// The selected rows, ascending. Read from the selection's ranges, since asking row by row costs
// time proportional to the number of ranges for every row.
std::vector<int> SelectedRows(const QItemSelectionModel& selection) {
  std::vector<int> rows;
  for (const QItemSelectionRange& range : selection.selection())
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

// Replaces the selection by the given rows (ascending), one range per run of adjacent rows. The
// selection is cleared first so that Qt need not compare the old ranges with the new ones.
void SelectOnly(QItemSelectionModel& selection, const std::vector<int>& rows) {
  const QAbstractItemModel& model = *selection.model();
  const int lastColumn = model.columnCount() - 1;
  QItemSelection ranges;
  for (size_t first = 0, last = 0; first < rows.size(); first = ++last) {
    while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
    ranges.append(
        QItemSelectionRange(model.index(rows[first], 0), model.index(rows[last], lastColumn)));
  }
  selection.clearSelection();
  selection.select(ranges, QItemSelectionModel::Select);
}

}  // namespace

void CZulboView::ConnectInteraction() {
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setSortIndicatorShown(false);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CZulboView::OnColumnClick,
          Qt::UniqueConnection);
}

void CZulboView::OnColumnClick(int column) {
  if (column < 0 || column >= ColCount) return;
  if (column == m_sortColumn) {
    m_sortAscending = !m_sortAscending;
  } else {
    m_sortAscending = true;
    m_sortColumn = column;
  }
  m_model->Reorder(m_model->Rows().SortOrder(column, m_sortAscending));
}

void CZulboView::OnBeginDrag(int row) {
  m_dragging = true;
  m_dragRow = row;
}

void CZulboView::OnMouseMove(const QPoint& point) {
  if (!m_dragging || RowCount() == 0) return;
  // Rows shown at the top and fitting fully into the viewport, as the list reports them.
  const int topRow = std::max(rowAt(0), 0);
  const int rowsPerPage =
      std::max(viewport()->height() / verticalHeader()->defaultSectionSize(), 1);
  // The list's window includes its header: a pointer over the header is inside it, on no row.
  const int listTop = contentsRect().top() - viewport()->y();
  int target = -1;
  if (point.y() >= viewport()->height()) {
    target = topRow + rowsPerPage;
  } else if (point.y() < listTop) {
    target = topRow - 1;
  } else if (point.y() >= 0 && point.x() >= 0 && point.x() < viewport()->width()) {
    target = rowAt(point.y());
  }
  if (target < 0) return;
  const int delta = target - m_dragRow;
  if (delta == 0) return;

  viewport()->setUpdatesEnabled(false);
  std::vector<int> selected = SelectedRows(*selectionModel());
  if (delta > 0) std::reverse(selected.begin(), selected.end());
  // Each row taken moves to its destination; the selection follows the moved rows and the
  // view scrolls to each destination in turn. Both are applied once after the moves: row by row
  // they cost time in proportion to the number of selected ranges for every row, and the
  // destinations are monotonic, so showing the first and then the last one scrolls alike.
  size_t moved = 0;
  for (; moved < selected.size(); ++moved) {
    const int row = selected[moved];
    const int dest = row + delta;
    if (dest < 0 || dest >= RowCount()) break;
    if (delta > 0) {
      for (int j = row; j < dest; ++j) SwapRows(j, j + 1);
    } else {
      for (int j = row; j > dest; --j) SwapRows(j, j - 1);
    }
    selected[moved] = dest;
  }
  if (moved > 0) {
    scrollTo(m_model->index(selected.front(), 0), QAbstractItemView::EnsureVisible);
    scrollTo(m_model->index(selected[moved - 1], 0), QAbstractItemView::EnsureVisible);
    std::sort(selected.begin(), selected.end());
    SelectOnly(*selectionModel(), selected);
  }
  m_dragRow = target;
  viewport()->setUpdatesEnabled(true);
}

void CZulboView::OnLButtonUp() { m_dragging = false; }

void CZulboView::OnKeyDown(int key) {
  if (key != Qt::Key_Delete) return;
  const Prompter::Answer answer = m_services.prompter.Message(
      this, QStringLiteral("Aus Liste Entfernen?"),
      QStringLiteral("Sollen die ausgewählten Elemente wirklich aus der Liste entfernt werden?"),
      Prompter::Buttons::YesNo, Prompter::Icon::Question);
  if (answer != Prompter::Answer::Yes) return;
  m_model->RemoveRows(SelectedRows(*selectionModel()));
}

void CZulboView::OnLButtonDblClk() {
  const std::vector<int> selected = SelectedRows(*selectionModel());
  if (selected.size() != 1) return;
  const FileEntry& row = m_model->Row(selected[0]);
  const QString text = QStringLiteral("Index:\t\t\t%1").arg(selected[0] + 1) +
                       QStringLiteral("\nDateiname:\t\t") + TextOf(row.oldName) +
                       QStringLiteral("\nNeuer Dateiname:\t\t") + TextOf(row.newName) +
                       QStringLiteral("\nDateiverzeichnis:\t\t") + TextOf(row.directory) +
                       QStringLiteral("\nDatei erstellt am:\t\t") + TextOf(row.created) +
                       QStringLiteral("\nDatei geändert am\t\t") + TextOf(row.modified);
  m_services.prompter.Message(this, QStringLiteral("Zul"), text, Prompter::Buttons::Ok,
                              Prompter::Icon::None);
}

void CZulboView::SwapRows(int a, int b) { m_model->SwapRows(a, b); }

// A left press on a selected row is held back: it either starts a drag of the selection or, if
// released without moving, selects that row alone, as a click does.
void CZulboView::mousePressEvent(QMouseEvent* event) {
  // A release that never reached the list (a modal box took it, say) ends the drag here at the
  // latest, so that the next press cannot move rows.
  if (event->button() == Qt::LeftButton) {
    m_dragPending = false;
    if (m_dragging) OnLButtonUp();
  }
  const int row = rowAt(event->position().toPoint().y());
  if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
      indexAt(event->position().toPoint()).isValid() &&
      selectionModel()->isRowSelected(row, QModelIndex())) {
    m_dragPending = true;
    m_pressPoint = event->position().toPoint();
    m_pressRow = row;
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

// While the button is held the event is not passed on: the default handling would extend the
// selection under the pointer.
void CZulboView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) {
    m_dragPending = false;
    if (m_dragging) OnLButtonUp();
  }
  const QPoint point = event->position().toPoint();
  if (m_dragPending &&
      (point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
    m_dragPending = false;
    OnBeginDrag(m_pressRow);
  }
  if (m_dragging) {
    OnMouseMove(point);
    event->accept();
    return;
  }
  if (m_dragPending) return;
  QTableView::mouseMoveEvent(event);
}

void CZulboView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_dragging) {
    OnLButtonUp();
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && m_dragPending) {
    m_dragPending = false;
    const QModelIndex pressed = m_model->index(m_pressRow, 0);
    selectionModel()->setCurrentIndex(
        pressed, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void CZulboView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTableView::mouseDoubleClickEvent(event);
    return;
  }
  if (SelectedRows(*selectionModel()).size() != 1) return;
  OnLButtonDblClk();
  QTableView::mouseDoubleClickEvent(event);
}

void CZulboView::keyPressEvent(QKeyEvent* event) {
  OnKeyDown(event->key());
  QTableView::keyPressEvent(event);
}
