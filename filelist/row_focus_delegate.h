#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

namespace zul {

// Paints the cells of a view that selects whole rows, with the focus frame around the current row
// instead of around its one current cell, as a list with full-row selection shows it. Repaints the
// rows that the frame leaves and enters. The view's model must be set before, and stay. The
// delegate filters the view's events: a view that can be destroyed while it has the focus must
// remove that filter in its own destructor.
class RowFocusDelegate : public QStyledItemDelegate {
 public:
  explicit RowFocusDelegate(QAbstractItemView* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRect RowRect(int row) const;
  bool ShowsFocus() const;
  void UpdateRow(int row) const;

  QAbstractItemView* m_view;
};

}  // namespace zul
