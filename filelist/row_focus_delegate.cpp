#include "filelist/row_focus_delegate.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace zul {

RowFocusDelegate::RowFocusDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), m_view(view) {
  connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            UpdateRow(previous.row());
            UpdateRow(current.row());
          });
  view->installEventFilter(this);
}

void RowFocusDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  cell.state &= ~QStyle::State_HasFocus;
  QStyledItemDelegate::paint(painter, cell, index);
  if (index.row() != m_view->currentIndex().row() || !ShowsFocus()) return;

  // Every cell of the row draws its own piece of the one frame.
  QStyleOptionFocusRect frame;
  frame.QStyleOption::operator=(option);
  frame.rect = RowRect(index.row());
  frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
  const QPalette::ColorGroup group =
      option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  frame.backgroundColor = option.palette.color(
      group, option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
  painter->save();
  painter->setClipRect(option.rect, Qt::IntersectClip);
  m_view->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, m_view);
  painter->restore();
}

bool RowFocusDelegate::eventFilter(QObject* watched, QEvent* event) {
  // The base class filters the events of editors only.
  if (watched != m_view) return QStyledItemDelegate::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
    UpdateRow(m_view->currentIndex().row());
  return false;
}

QRect RowFocusDelegate::RowRect(int row) const {
  const QAbstractItemModel* model = m_view->model();
  const int last = model->columnCount() - 1;
  return m_view->visualRect(model->index(row, 0))
      .united(m_view->visualRect(model->index(row, last)));
}

// As the table view decides whether its current cell shows the focus.
bool RowFocusDelegate::ShowsFocus() const {
  return m_view->hasFocus() || m_view->viewport()->hasFocus();
}

void RowFocusDelegate::UpdateRow(int row) const {
  if (row < 0) return;
  const QRect rect = RowRect(row);
  m_view->viewport()->update(0, rect.top(), m_view->viewport()->width(), rect.height());
}

}  // namespace zul
