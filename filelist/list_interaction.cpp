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

namespace zul {

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

// A current row that is to be removed first moves where the list puts it when its range alone is
// removed: to the row above the range, or below it at the top.
void MoveCurrentOffRemovedRows(QItemSelectionModel& selection, const std::vector<int>& rows) {
  const QModelIndex current = selection.currentIndex();
  if (!current.isValid()) return;
  auto first = std::lower_bound(rows.begin(), rows.end(), current.row());
  if (first == rows.end() || *first != current.row()) return;
  auto last = first;
  while (first != rows.begin() && *(first - 1) == *first - 1) --first;
  while (last + 1 != rows.end() && *(last + 1) == *last + 1) ++last;
  const int target = *first > 0 ? *first - 1 : *last + 1;
  if (target >= selection.model()->rowCount()) return;
  selection.setCurrentIndex(selection.model()->index(target, current.column()),
                            QItemSelectionModel::NoUpdate);
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
  if (column == ColCaptured) {
    ReadingCaptureTimes([this](const CaptureProgress& progress) {
      return m_model->ReadCaptureTimes(m_services.captures, progress);
    });
  }
  m_model->Sort(column, m_sortAscending);
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
  const std::vector<int> rows = SelectedRows(*selectionModel());
  if (rows.empty()) return;
  MoveCurrentOffRemovedRows(*selectionModel(), rows);
  // The selection is what goes: cleared at once, the list need not follow it through the removal.
  selectionModel()->clearSelection();
  m_model->RemoveRows(rows);
}

void CZulboView::OnLButtonDblClk() {
  const std::vector<int> selected = SelectedRows(*selectionModel());
  if (selected.size() != 1) return;
  const FileEntry row = m_model->Row(selected[0]);
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

// A left press on a row may become a drag of the selected rows once the pointer has moved far
// enough. A press on a selected row is held back, so that it can drag the whole selection; if it
// is released without moving, it then acts as the click it was. Any other press selects at once,
// as a click does (with Ctrl and Shift as usual).
void CZulboView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTableView::mousePressEvent(event);
    return;
  }
  // A release that never reached the list (a modal box took it, say) ends the drag here at the
  // latest, so that the next press cannot move rows.
  m_dragPending = false;
  if (m_dragging) OnLButtonUp();
  const QPoint point = event->position().toPoint();
  const QModelIndex pressed = indexAt(point);
  if (!pressed.isValid()) {
    QTableView::mousePressEvent(event);
    return;
  }
  m_pressHeldBack = event->modifiers() == Qt::NoModifier &&
                    selectionModel()->isRowSelected(pressed.row(), QModelIndex());
  if (!m_pressHeldBack) PressAsClick(event);
  // Only selected rows move; a Ctrl press may just have deselected this one.
  m_dragPending = selectionModel()->isRowSelected(pressed.row(), QModelIndex());
  m_pressPoint = point;
  m_pressRow = pressed.row();
  event->accept();
}

// Qt's own handling of a press: the selection, the current row and the anchor of Shift. Without
// its delayed scroll to the pressed row, which would pull the list back in the middle of a drag
// that has scrolled it; the pressed row is under the pointer anyway.
void CZulboView::PressAsClick(QMouseEvent* event) {
  const bool scrolls = hasAutoScroll();
  setAutoScroll(false);
  QTableView::mousePressEvent(event);
  setAutoScroll(scrolls);
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
    // The held-back press was a click after all: handled now, it selects the row alone and makes
    // it the current row and the anchor of a later Shift+click or Shift+arrow.
    if (m_pressHeldBack) {
      QMouseEvent press(QEvent::MouseButtonPress, m_pressPoint,
                        viewport()->mapToGlobal(m_pressPoint), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      PressAsClick(&press);
    }
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

// Home and End go to the first and the last row, with Ctrl as well, and select as the arrow
// keys do: a list has rows, not columns, to move between.
QModelIndex CZulboView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if ((action != MoveHome && action != MoveEnd) || RowCount() == 0)
    return QTableView::moveCursor(action, modifiers);
  return m_model->index(action == MoveHome ? 0 : RowCount() - 1,
                        std::max(currentIndex().column(), 0));
}

QItemSelectionModel::SelectionFlags CZulboView::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const {
  if (event && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
        key->modifiers().testFlag(Qt::ControlModifier)) {
      const QKeyEvent plain(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::ControlModifier);
      return QTableView::selectionCommand(index, &plain);
    }
  }
  return QTableView::selectionCommand(index, event);
}

void CZulboView::keyPressEvent(QKeyEvent* event) {
  OnKeyDown(event->key());
  QTableView::keyPressEvent(event);
}

}  // namespace zul
