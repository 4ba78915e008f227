#include <gtest/gtest.h>
#include <QApplication>
#include <QHeaderView>
#include <QPaintEvent>
#include <QProxyStyle>
#include <QTest>

#include "filelist/tests/interaction_test_view.h"

namespace zul {

namespace {

// The focus frames that a widget asks its style to draw.
class FocusFrameRecorder : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameFocusRect) frames.append(option->rect);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  mutable QList<QRect> frames;
};

// What a widget repaints.
class PaintSpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

}  // namespace

TEST(ViewLooks, FocusFrameSurroundsTheCurrentRowAndFollowsIt) {
  FocusFrameRecorder style;  // outlives the view
  InteractionView t({"a", "b", "c", "d"});
  t.view.setStyle(&style);
  t.view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&t.view));
  t.view.setFocus();
  const auto row = [&](int r) {
    return t.view.visualRect(t.view.model()->index(r, 0))
        .united(t.view.visualRect(t.view.model()->index(r, ColCount - 1)));
  };

  t.view.setCurrentIndex(t.view.model()->index(1, ColDirectory));
  style.frames.clear();
  t.view.viewport()->grab();
  ASSERT_FALSE(style.frames.isEmpty());
  for (const QRect& frame : style.frames) EXPECT_EQ(frame, row(1));

  // The rows that the frame leaves and enters are painted whole, also when it only moves.
  PaintSpy spy;
  t.view.viewport()->installEventFilter(&spy);
  QApplication::processEvents();
  spy.painted = {};
  t.view.selectionModel()->setCurrentIndex(t.view.model()->index(2, ColOldName),
                                           QItemSelectionModel::NoUpdate);
  QApplication::processEvents();
  EXPECT_TRUE(spy.painted.contains(row(1)));
  EXPECT_TRUE(spy.painted.contains(row(2)));
  spy.painted = {};
  t.view.clearFocus();
  QApplication::processEvents();
  EXPECT_TRUE(spy.painted.contains(row(2)));
}

TEST(ViewLooks, HeadersStayPlainWhileRowsAreSelected) {
  InteractionView t({"a", "b"});
  QHeaderView* header = t.view.horizontalHeader();
  const QImage plain = header->grab().toImage();
  t.Select({0});
  EXPECT_EQ(header->grab().toImage(), plain);
}

TEST(ViewLooks, RowsAreAsCompactAsTheFont) {
  InteractionView t({"a", "b"});
  const int text = t.view.fontMetrics().height();
  // A list row holds one line of text and a few pixels of frame, like the platform's list.
  EXPECT_GE(t.view.rowHeight(0), text);
  EXPECT_LE(t.view.rowHeight(0), text + 6);
}

}  // namespace zul
