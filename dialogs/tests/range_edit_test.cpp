#include "dialogs/dialog_units.h"
#include "dialogs/tests/filter_dialog_fixture.h"

namespace zul {

namespace {

using Id = CFilterDlg::ControlId;

class RangeEditTest : public FilterDialogTest {
 protected:
  // A point in the sample field where a click puts the caret at `position` (UTF-16 units).
  QPoint At(int position) {
    CRangeEdit* edit = Sample();
    const int y = edit->height() / 2;
    for (int x = 0; x < edit->width(); ++x)
      if (edit->cursorPositionAt(QPoint(x, y)) == position) return {x, y};
    ADD_FAILURE() << "no point for position " << position;
    return {0, y};
  }

  // Drags from `from` to `to` and checks the captions trail the drag by one movement.
  void Drag(int from, int to) {
    QTest::mousePress(Sample(), Qt::LeftButton, {}, At(from));
    EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
    QTest::mouseMove(Sample(), At(to));
    EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]") << "shows the selection before the move";
    QTest::mouseMove(Sample(), At(to) + QPoint(1, 0));
    QTest::mouseRelease(Sample(), Qt::LeftButton, {}, At(to) + QPoint(1, 0));
  }

  void ShiftKey(Qt::Key key) { QTest::keyClick(Sample(), key, Qt::ShiftModifier); }
};

TEST_F(RangeEditTest, CaptionsOfMouseSelections) {
  Open();
  Drag(24, 27);
  EXPECT_EQ(Captions(), "[25,27] [-3,-1]");
  Drag(0, 27);
  EXPECT_EQ(Captions(), "[1,27] [-27,-1]");
  Drag(8, 0);
  EXPECT_EQ(Captions(), "[1,8] [-27,-20]");
  Drag(0, 1);
  EXPECT_EQ(Captions(), "[1,1] [-27,-27]");

  // A bare caret: a click and a move without a button.
  QTest::mouseClick(Sample(), Qt::LeftButton, {}, At(5));
  QTest::mouseMove(Sample(), At(6));
  EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
}

TEST_F(RangeEditTest, PlainClickResetsAtOnceAndShiftClickExtends) {
  Open();
  Drag(0, 8);
  EXPECT_EQ(Captions(), "[1,8] [-27,-20]");

  QTest::mousePress(Sample(), Qt::LeftButton, Qt::ShiftModifier, At(27));
  EXPECT_EQ(Captions(), "[1,8] [-27,-20]");
  QTest::mouseRelease(Sample(), Qt::LeftButton, Qt::ShiftModifier, At(27));
  QTest::mouseMove(Sample(), At(27) + QPoint(2, 0));
  EXPECT_EQ(Captions(), "[1,27] [-27,-1]");

  QTest::mousePress(Sample(), Qt::LeftButton, {}, At(3));
  EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
  QTest::mouseRelease(Sample(), Qt::LeftButton, {}, At(3));
}

TEST_F(RangeEditTest, ShiftAndArrowKeysUpdateAfterEachKey) {
  Open();
  Sample()->setFocus();
  Sample()->setCursorPosition(24);
  ShiftKey(Qt::Key_Right);
  EXPECT_EQ(Captions(), "[25,25] [-3,-3]");
  ShiftKey(Qt::Key_Right);
  EXPECT_EQ(Captions(), "[25,26] [-3,-2]");
  ShiftKey(Qt::Key_Right);
  EXPECT_EQ(Captions(), "[25,27] [-3,-1]");
  ShiftKey(Qt::Key_Home);
  EXPECT_EQ(Captions(), "[1,24] [-27,-4]");
  QTest::keyClick(Sample(), Qt::Key_Left);
  EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
}

TEST_F(RangeEditTest, LosingTheFocusUpdatesAndKeepsTheSelection) {
  Open();
  Sample()->setFocus();
  // Set without an event of the field's own, so only the focus change can show it.
  Sample()->setSelection(0, 8);
  EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
  Edit(Id::IdMask)->setFocus();
  EXPECT_EQ(Captions(), "[1,8] [-27,-20]");
  EXPECT_EQ(Sample()->selectedText(), "beispiel");
}

TEST_F(RangeEditTest, MouseOverTheDialogSurfaceUpdates) {
  Open();
  Sample()->setSelection(24, 3);
  const DialogUnits du(dlg.font());
  const QPoint surface(du.X(130), du.Y(100));
  ASSERT_EQ(dlg.childAt(surface), nullptr);
  QTest::mouseMove(dlg.windowHandle(), surface);
  EXPECT_EQ(Captions(), "[25,27] [-3,-1]");
}

TEST_F(RangeEditTest, RangeButtonsInsertTheirCaptions) {
  dlg.m_work.mask.clear();
  Open();
  Sample()->setFocus();
  Sample()->setCursorPosition(24);
  for (int i = 0; i < 3; ++i) ShiftKey(Qt::Key_Right);
  Click(Id::IdRangeForward);
  Click(Id::IdRangeBackward);
  EXPECT_EQ(dlg.m_work.mask, "[25,27][-3,-1]");
  EXPECT_EQ(dlg.m_previewText, "bspbsp");
  EXPECT_EQ(Captions(), "[25,27] [-3,-1]");
}

// Umlauts, a character beyond 16 bits and an invalid byte: the captions count as the range pass
// does, so inserting them takes back exactly the selected bytes.
TEST_F(RangeEditTest, CaptionsAgreeWithTheRangePassOnAnyName) {
  dlg.m_sampleName =
      "Gr\xC3\xBC\xC3\x9F"
      "e\xF0\x9F\x98\x80\xFF-\xC3\x96l.txt";
  const std::string selected =
      "\xC3\xBC\xC3\x9F"
      "e\xF0\x9F\x98\x80\xFF-";
  dlg.m_work.mask.clear();
  Open();
  ASSERT_EQ(Sample()->text(), QString::fromUtf8("Grüße😀\uFFFD-Öl.txt"));

  Sample()->setFocus();
  Sample()->setCursorPosition(2);
  for (int i = 0; i < 6; ++i) ShiftKey(Qt::Key_Right);
  EXPECT_EQ(Captions(), "[3,8] [-12,-7]");
  Click(Id::IdRangeForward);
  EXPECT_EQ(dlg.m_previewText, selected);
  Click(Id::IdRangeBackward);
  EXPECT_EQ(dlg.m_previewText, selected + selected);

  // The same characters picked with the mouse (UTF-16 positions 2 to 9).
  Drag(2, 9);
  EXPECT_EQ(Captions(), "[3,8] [-12,-7]");
}

}  // namespace

}  // namespace zul
