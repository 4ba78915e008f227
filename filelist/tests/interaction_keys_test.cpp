#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "filelist/tests/interaction_test_view.h"

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

TEST(InteractionDoubleClick, ShowsTheRowTextsUnchanged) {
  InteractionView t({"a", "50% %d %s.txt"});
  t.view.Model().SetText(1, ColNewName, "neu%1.txt");
  t.view.Model().SetText(1, ColCreated, "31.12.1999   23:59:59");
  t.view.Model().SetText(1, ColModified, "01.03.2004   00:00:05");
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
