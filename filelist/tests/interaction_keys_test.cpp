#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>

#include "engine/gcc_restrict_bug.h"
#include "filelist/tests/interaction_test_view.h"

namespace zul {

// Strings built from short literals all through these tests.
ZUL_GCC_RESTRICT_BUG_BEGIN

using Names = std::vector<std::string>;

namespace {

const QString kQuestion =
    QStringLiteral("Sollen die ausgewählten Elemente wirklich aus der Liste entfernt werden?");

void PressDelete(CZulboView& view) {
  QKeyEvent event(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

}  // namespace

TEST(InteractionDelete, RemovesTheSelectedRowsAfterTheQuestion) {
  InteractionView t({"r0", "r1", "r2", "r3", "r4"});
  ScriptedPrompter& prompter = t.services.prompter;
  t.Select({1, 3});
  prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
  PressDelete(t.view);
  EXPECT_EQ(t.view.RowCount(), 5);
  PressDelete(t.view);
  EXPECT_EQ(t.Names(), (Names{"r0", "r2", "r4"}));
  EXPECT_EQ(t.view.Text(1, ColNewName), "new-r2");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Aus Liste Entfernen?"));
  EXPECT_EQ(prompter.messages[0].text, kQuestion);
  EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(prompter.messages[0].icon, Prompter::Icon::Question);
}

TEST(InteractionDelete, AsksEvenWithNothingSelectedAndRemovesNothing) {
  InteractionView t({"r0", "r1"});
  ScriptedPrompter& prompter = t.services.prompter;
  prompter.answers = {Prompter::Answer::Yes};
  t.view.OnKeyDown(Qt::Key_Delete);
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(t.Names(), (Names{"r0", "r1"}));
  t.view.OnKeyDown(Qt::Key_Backspace);  // other keys ask nothing
  EXPECT_EQ(prompter.messages.size(), 1u);

  // Keys still reach the list's own handling after the question.
  t.view.setCurrentIndex(t.view.Model().index(0, 0));
  prompter.answers = {Prompter::Answer::No};
  PressDelete(t.view);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&t.view, &down);
  EXPECT_EQ(t.view.currentIndex().row(), 1);
  EXPECT_EQ(prompter.messages.size(), 2u);
}

// Deleting several ranges leaves the current row and the scroll position as deleting one range
// after another does: a current row that goes hands over to the row above its range (below it at
// the top), and the rows in view stay in view.
TEST(InteractionDelete, SeveralRangesKeepTheCurrentRowAndTheScrollPosition) {
  struct Case {
    std::vector<int> selected;
    int current;
    int currentAfter;
    std::string currentName;
    int topAfter;
  };
  const Case cases[] = {
      {{3, 50, 51, 52, 150}, 105, 101, "r105", 100},     // the current row stays
      {{3, 104, 105, 106, 150}, 105, 102, "r103", 100},  // it goes: the row above its range
      {{100, 101, 180}, 100, 99, "r99", 99},             // which is scrolled into view
      {{0, 1, 7}, 0, 0, "r2", 2},                        // at the top: the row below the range
  };
  for (const Case& c : cases) {
    Names names;
    for (int i = 0; i < 200; ++i) names.push_back("r" + std::to_string(i));
    InteractionView t(names, 300);
    t.view.setCurrentIndex(t.view.Model().index(c.current, 0));
    t.view.verticalScrollBar()->setValue(100);
    ASSERT_EQ(t.view.verticalScrollBar()->value(), 100);
    t.Select(c.selected);
    QSignalSpy resets(&t.view.Model(), &QAbstractItemModel::modelReset);
    t.services.prompter.answers = {Prompter::Answer::Yes};
    PressDelete(t.view);
    ASSERT_EQ(t.view.RowCount(), 200 - static_cast<int>(c.selected.size()));
    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(t.view.currentIndex().row(), c.currentAfter) << c.current;
    EXPECT_EQ(t.view.Text(t.view.currentIndex().row(), ColOldName), c.currentName);
    EXPECT_EQ(t.view.verticalScrollBar()->value(), c.topAfter) << c.current;
    EXPECT_TRUE(t.Selected().empty());
  }
}

// Home and End go to the first and last row, with Ctrl too, selecting as an arrow key does.
TEST(InteractionKeys, HomeAndEndGoToTheFirstAndLastRow) {
  InteractionView t({"r0", "r1", "r2", "r3", "r4"});
  t.view.setCurrentIndex(t.view.Model().index(2, 3));
  auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&t.view, &event);
  };
  press(Qt::Key_Home, Qt::NoModifier);
  EXPECT_EQ(t.view.currentIndex(), t.view.Model().index(0, 3));
  EXPECT_EQ(t.Selected(), (std::vector<int>{0}));
  press(Qt::Key_End, Qt::NoModifier);
  EXPECT_EQ(t.view.currentIndex().row(), 4);
  EXPECT_EQ(t.Selected(), (std::vector<int>{4}));
  press(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(t.view.currentIndex().row(), 0);
  EXPECT_EQ(t.Selected(), (std::vector<int>{0}));
  press(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(t.Selected(), (std::vector<int>{4}));
  press(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(t.Selected(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(InteractionDoubleClick, ShowsTheRowTextsUnchanged) {
  std::vector<FileRecord> files = Files({"a", "50% %d %s.txt"});
  files[1].times = FileTimes{946684799, 1078099205};
  InteractionView t(files, 300);
  t.view.Model().SetNewName(1, "neu%1.txt");
  ScriptedPrompter& prompter = t.services.prompter;
  prompter.answers = {Prompter::Answer::Ok};
  t.Select({1});
  t.view.OnLButtonDblClk();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(
      prompter.messages[0].text,
      QStringLiteral("Index:\t\t\t2\nDateiname:\t\t50% %d %s.txt\nNeuer Dateiname:\t\tneu%1.txt"
                     "\nDateiverzeichnis:\t\t/d\nDatei erstellt am:\t\t31.12.1999   23:59:59"
                     "\nDatei geändert am\t\t01.03.2004   00:00:05"));
  EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Zul"));
  EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::Ok);
  EXPECT_EQ(prompter.messages[0].icon, Prompter::Icon::None);
}

TEST(InteractionDoubleClick, NeedsExactlyOneSelectedRow) {
  InteractionView t({"a", "b", "c"});
  // Any box would fail the test: none is scripted.
  ScriptedPrompter& prompter = t.services.prompter;
  t.view.OnLButtonDblClk();
  t.Select({0, 2});
  t.view.OnLButtonDblClk();
  const QPoint point = t.RowPoint(2);
  QMouseEvent event(QEvent::MouseButtonDblClick, point, t.view.viewport()->mapToGlobal(point),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(t.view.viewport(), &event);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(t.Selected(), (std::vector<int>{0, 2}));
}

ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
