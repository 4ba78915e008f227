#include <gtest/gtest.h>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "engine/gcc_restrict_bug.h"
#include "filelist/tests/interaction_test_view.h"

namespace zul {

using Names = std::vector<std::string>;
using Rows = std::vector<int>;

namespace {

ZUL_GCC_RESTRICT_BUG_BEGIN
Names Numbered(int count) {
  Names names;
  for (int i = 0; i < count; ++i) names.push_back("r" + std::to_string(i));
  return names;
}
ZUL_GCC_RESTRICT_BUG_END

}  // namespace

TEST(InteractionDrag, BlockMovesByTheDeltaAndKeepsItsGaps) {
  InteractionView t(Numbered(5));
  t.Select({1, 2});
  t.view.selectionModel()->setCurrentIndex(t.view.Model().index(1, 0),
                                           QItemSelectionModel::NoUpdate);
  t.view.OnBeginDrag(1);
  t.view.OnMouseMove(t.RowPoint(3));
  EXPECT_EQ(t.Names(), (Names{"r0", "r3", "r4", "r1", "r2"}));
  EXPECT_EQ(t.Selected(), (Rows{3, 4}));
  EXPECT_EQ(t.view.currentIndex().row(), 1);  // the focus stays with the position
  EXPECT_EQ(t.view.DragRow(), 3);
  t.view.OnLButtonUp();
  EXPECT_FALSE(t.view.Dragging());

  InteractionView gaps(Numbered(6));
  gaps.Select({1, 3});
  gaps.view.OnBeginDrag(1);
  gaps.view.OnMouseMove(gaps.RowPoint(2));
  EXPECT_EQ(gaps.Names(), (Names{"r0", "r2", "r1", "r4", "r3", "r5"}));
  EXPECT_EQ(gaps.Selected(), (Rows{2, 4}));
  gaps.view.OnMouseMove(gaps.RowPoint(0));  // delta -2: r1 reaches the top, r3 follows
  EXPECT_EQ(gaps.Names(), (Names{"r1", "r0", "r3", "r2", "r4", "r5"}));
  EXPECT_EQ(gaps.Selected(), (Rows{0, 2}));
}

TEST(InteractionDrag, AStepPastTheEndMovesNothingButCountsAsDone) {
  InteractionView t(Numbered(5));
  t.Select({1, 2});
  t.view.OnBeginDrag(1);
  t.view.OnMouseMove(t.RowPoint(4));
  EXPECT_EQ(t.Names(), Numbered(5));
  EXPECT_EQ(t.Selected(), (Rows{1, 2}));
  EXPECT_EQ(t.view.DragRow(), 4);
  t.view.OnMouseMove(t.RowPoint(3));
  EXPECT_EQ(t.Names(), (Names{"r1", "r2", "r0", "r3", "r4"}));
  EXPECT_EQ(t.Selected(), (Rows{0, 1}));

  // Moving up at the top: the first row stops the whole step.
  t.view.OnBeginDrag(1);
  t.view.OnMouseMove(t.RowPoint(0));
  EXPECT_EQ(t.Names(), (Names{"r1", "r2", "r0", "r3", "r4"}));
  EXPECT_EQ(t.view.DragRow(), 0);
}

TEST(InteractionDrag, OutsideTheRowsOnlyAboveAndBelowCount) {
  InteractionView t(Numbered(4), 400);
  t.Select({1});
  t.view.OnBeginDrag(1);
  const QPoint row2 = t.RowPoint(2);
  t.view.OnMouseMove({-5, row2.y()});                               // beside, left
  t.view.OnMouseMove({t.view.viewport()->width() + 5, row2.y()});   // beside, right
  t.view.OnMouseMove({row2.x(), t.view.viewport()->height() - 2});  // empty space below the rows
  t.view.OnMouseMove({row2.x(), -3});  // over the header: inside the list, on no row
  t.view.OnMouseMove({row2.x(), -t.view.viewport()->y() - 3});  // above, at the top: no row -1
  EXPECT_EQ(t.Names(), Numbered(4));
  EXPECT_EQ(t.view.DragRow(), 1);
  // Below, with all rows on the page: aims past the last row, so nothing moves.
  t.view.OnMouseMove({row2.x(), t.view.viewport()->height() + 3});
  EXPECT_EQ(t.Names(), Numbered(4));
}

TEST(InteractionDrag, HeldBelowTheListTheBlockTravelsToTheEndAndAboveBack) {
  InteractionView t(Numbered(40), 200);
  const int perPage = t.view.viewport()->height() / t.view.verticalHeader()->defaultSectionSize();
  ASSERT_GT(perPage, 1);
  ASSERT_LT(perPage, 30);
  t.Select({0, 1});
  t.view.OnBeginDrag(1);
  const QPoint below(10, t.view.viewport()->height() + 20);
  t.view.OnMouseMove(below);
  // The first step aims at the row just below the last fully visible one.
  EXPECT_EQ(t.view.DragRow(), perPage);
  EXPECT_EQ(t.Selected(), (Rows{perPage - 1, perPage}));
  EXPECT_EQ(t.view.Text(perPage, ColOldName), "r1");
  for (int step = 0; step < 40; ++step) {
    t.view.OnMouseMove(below);
    const Rows selected = t.Selected();
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(t.view.Text(selected[0], ColOldName), "r0");
    EXPECT_TRUE(t.view.viewport()->rect().intersects(
        t.view.visualRect(t.view.Model().index(selected[1], 0))));
  }
  EXPECT_EQ(t.Selected(), (Rows{38, 39}));
  Names expected = Numbered(40);
  expected.erase(expected.begin(), expected.begin() + 2);
  expected.push_back("r0");
  expected.push_back("r1");
  EXPECT_EQ(t.Names(), expected);

  // Over the header nothing moves; above the list the target is the row above the top one.
  t.view.OnMouseMove({10, -2});
  EXPECT_EQ(t.Selected(), (Rows{38, 39}));
  const int top = t.view.rowAt(0);
  const int delta = top - 1 - t.view.DragRow();
  ASSERT_GE(38 + delta, 0);
  t.view.OnMouseMove({10, -t.view.viewport()->y() - 10});
  EXPECT_EQ(t.view.DragRow(), top - 1);
  EXPECT_EQ(t.Selected(), (Rows{38 + delta, 39 + delta}));
  EXPECT_EQ(t.view.Text(38 + delta, ColOldName), "r0");
}

TEST(InteractionDrag, MouseDragOfTheSelectionDoesNotExtendIt) {
  InteractionView t(Numbered(6));
  t.Select({1, 2});
  auto send = [&](QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
    QMouseEvent event(type, point, t.view.viewport()->mapToGlobal(point), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(t.view.viewport(), &event);
  };
  send(QEvent::MouseButtonPress, t.RowPoint(1), Qt::LeftButton);
  EXPECT_FALSE(t.view.Dragging());
  send(QEvent::MouseMove, t.RowPoint(1) + QPoint(0, 1), Qt::LeftButton);
  EXPECT_FALSE(t.view.Dragging());  // within the drag distance
  send(QEvent::MouseMove, t.RowPoint(3), Qt::LeftButton);
  EXPECT_TRUE(t.view.Dragging());
  EXPECT_EQ(t.Names(), (Names{"r0", "r3", "r4", "r1", "r2", "r5"}));
  EXPECT_EQ(t.Selected(), (Rows{3, 4}));
  send(QEvent::MouseButtonRelease, t.RowPoint(3), Qt::NoButton);
  EXPECT_FALSE(t.view.Dragging());
  EXPECT_EQ(t.Selected(), (Rows{3, 4}));

  // A click on a selected row without moving selects that row alone.
  send(QEvent::MouseButtonPress, t.RowPoint(4), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, t.RowPoint(4), Qt::NoButton);
  EXPECT_EQ(t.Selected(), (Rows{4}));
  EXPECT_EQ(t.Names(), (Names{"r0", "r3", "r4", "r1", "r2", "r5"}));

  // A release lost to another window ends the drag: the next press starts afresh.
  send(QEvent::MouseButtonPress, t.RowPoint(4), Qt::LeftButton);
  send(QEvent::MouseMove, t.RowPoint(2), Qt::LeftButton);
  ASSERT_TRUE(t.view.Dragging());
  const Names moved{"r0", "r3", "r2", "r4", "r1", "r5"};
  EXPECT_EQ(t.Names(), moved);
  send(QEvent::MouseButtonPress, t.RowPoint(5), Qt::LeftButton);
  EXPECT_FALSE(t.view.Dragging());
  send(QEvent::MouseButtonRelease, t.RowPoint(5), Qt::NoButton);
  EXPECT_EQ(t.Names(), moved);
  EXPECT_EQ(t.Selected(), (Rows{5}));

  // Likewise a press whose release was lost: moving without the left button starts no drag.
  t.Select({3});
  send(QEvent::MouseButtonPress, t.RowPoint(3), Qt::LeftButton);
  send(QEvent::MouseMove, t.RowPoint(1), Qt::RightButton);
  send(QEvent::MouseMove, t.RowPoint(0), Qt::LeftButton);
  EXPECT_FALSE(t.view.Dragging());
  EXPECT_EQ(t.Names(), moved);
}

// A press on an unselected row selects as a click does, Ctrl and Shift included, and moving on
// drags what is then selected.
TEST(InteractionDrag, APressOnAnUnselectedRowDragsStraightAway) {
  struct Case {
    Rows selected;
    Qt::KeyboardModifiers modifiers;
    int press, moveTo;
    Names names;
    Rows after;
  };
  const Case cases[] = {
      {{1}, Qt::NoModifier, 3, 5, {"r0", "r1", "r2", "r4", "r5", "r3"}, {5}},
      {{0}, Qt::ControlModifier, 2, 3, {"r1", "r0", "r3", "r2", "r4", "r5"}, {1, 3}},
      {{1}, Qt::ShiftModifier, 2, 4, {"r0", "r3", "r4", "r1", "r2", "r5"}, {3, 4}},
  };
  for (const Case& c : cases) {
    InteractionView t(Numbered(6));
    t.Select(c.selected);
    t.view.selectionModel()->setCurrentIndex(t.view.Model().index(c.selected.back(), 0),
                                             QItemSelectionModel::NoUpdate);
    auto send = [&](QEvent::Type type, int row, Qt::MouseButtons buttons) {
      const QPoint point = t.RowPoint(row);
      QMouseEvent event(type, point, t.view.viewport()->mapToGlobal(point), Qt::LeftButton, buttons,
                        c.modifiers);
      QApplication::sendEvent(t.view.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, c.press, Qt::LeftButton);
    send(QEvent::MouseMove, c.moveTo, Qt::LeftButton);
    EXPECT_TRUE(t.view.Dragging()) << c.press;
    send(QEvent::MouseButtonRelease, c.moveTo, Qt::NoButton);
    EXPECT_EQ(t.Names(), c.names) << c.press;
    EXPECT_EQ(t.Selected(), c.after) << c.press;
  }
}

// A click on a row of the selection, held back in case it became a drag, makes that row the
// anchor of Shift and the current row.
TEST(InteractionDrag, AClickOnASelectedRowIsTheNewAnchor) {
  InteractionView t(Numbered(6));
  auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
    const QPoint point = t.RowPoint(row);
    const QPoint global = t.view.viewport()->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(t.view.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton,
                        modifiers);
    QApplication::sendEvent(t.view.viewport(), &release);
  };
  click(0, Qt::NoModifier);
  click(2, Qt::ShiftModifier);
  EXPECT_EQ(t.Selected(), (Rows{0, 1, 2}));
  click(2, Qt::NoModifier);
  EXPECT_EQ(t.Selected(), (Rows{2}));
  EXPECT_EQ(t.view.currentIndex().row(), 2);
  click(4, Qt::ShiftModifier);
  EXPECT_EQ(t.Selected(), (Rows{2, 3, 4}));

  click(1, Qt::NoModifier);
  click(3, Qt::ShiftModifier);
  click(3, Qt::NoModifier);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
  QApplication::sendEvent(&t.view, &down);
  EXPECT_EQ(t.Selected(), (Rows{3, 4}));
}

}  // namespace zul
