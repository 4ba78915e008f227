#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

#include "dialogs/tests/filter_dialog_fixture.h"
#include "platform/testing/dialog_checks.h"

namespace zul {

namespace {

using Id = CFilterDlg::ControlId;

TEST_F(FilterDialogTest, OpeningShowsTheWorkingCopyAndItsPreview) {
  dlg.m_work.mask = "[index]_[name] [edatum] [azeit].[typ]";
  dlg.m_work.start = -5;
  dlg.m_work.step = 3;
  dlg.m_work.searchText = "Test";
  dlg.m_work.replaceText = "Probe";
  dlg.m_work.nameCase = 2;
  dlg.m_work.extCase = 3;
  dlg.m_work.fillText = " ";
  dlg.m_work.digits = 4;
  Open();

  EXPECT_EQ(Edit(Id::IdMask)->text().toStdString(), dlg.m_work.mask);
  EXPECT_EQ(Edit(Id::IdStart)->text(), "-5");
  EXPECT_EQ(Edit(Id::IdStep)->text(), "3");
  EXPECT_EQ(Edit(Id::IdReplaceFrom)->text(), "Test");
  EXPECT_EQ(Edit(Id::IdReplaceTo)->text(), "Probe");
  EXPECT_EQ(Combo(Id::IdNameCase)->currentText(), "alles GROSS schreiben");
  EXPECT_EQ(Combo(Id::IdExtCase)->currentText(), "Anfangsbuchstabe Groß");
  EXPECT_EQ(Combo(Id::IdDigits)->currentText(), "4");
  EXPECT_EQ(Combo(Id::IdFill)->currentText(), "Leerzeichen");
  EXPECT_EQ(Sample()->text(), "beispiel-dateiname Test.bsp");
  EXPECT_EQ(Button(Id::IdRangeForward)->text(), "[von,bis]");
  EXPECT_EQ(Button(Id::IdRangeBackward)->text(), "[-von,-bis]");
  EXPECT_EQ(QApplication::focusWidget(), Button(Id::IdRename));

  const std::string expected = "  -5_BEISPIEL-DATEINAME PROBE 31.02.1987 12.34.56.Bsp";
  EXPECT_EQ(dlg.m_previewText, expected);
  EXPECT_EQ(static_cast<QLabel*>(dlg.Item(Id::IdPreviewText))->text().toStdString(), expected);
  EXPECT_EQ(dlg.m_work.fillText, " ");
}

TEST_F(FilterDialogTest, ListsHoldTheirEntriesInOrder) {
  Open();
  auto entries = [&](int id) {
    QStringList items;
    for (int i = 0; i < Combo(id)->count(); ++i) items << Combo(id)->itemText(i);
    return items.join('|').toStdString();
  };
  EXPECT_EQ(entries(Id::IdDigits), "Variabel|1|2|3|4|5|6|7|8|9");
  EXPECT_EQ(entries(Id::IdFill), "Leerzeichen|0|_|-|#|*");
  EXPECT_EQ(entries(Id::IdNameCase),
            "keine Änderung|alles klein schreiben|alles GROSS schreiben|Anfangsbuchstabe "
            "Groß|Alle Anfangsbuchstaben Groß");
  EXPECT_EQ(entries(Id::IdExtCase), "keine Änderung|alles klein|alles GROSS|Anfangsbuchstabe Groß");
  EXPECT_FALSE(Combo(Id::IdNameCase)->isEditable());
  EXPECT_TRUE(Combo(Id::IdFill)->isEditable());
}

// Every control shows the dialog's font, and every caption, list entry and label fits its
// control with room to spare, and ends before the control beside it.
TEST_F(FilterDialogTest, EveryTextFitsInTheDialogsFont) {
  dlg.m_work.digits = 2;
  Open();
  EXPECT_TRUE(HasDialogTitleBar(dlg));
  const QFontMetrics metrics(dlg.font());
  const int spare = metrics.averageCharWidth();
  for (QWidget* widget : dlg.findChildren<QWidget*>()) {
    if (widget->parentWidget() != &dlg) continue;
    EXPECT_EQ(widget->font(), dlg.font()) << widget->metaObject()->className();
  }
  for (QPushButton* button : dlg.findChildren<QPushButton*>()) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    EXPECT_LE(metrics.horizontalAdvance(button->text()) + spare, room.width())
        << button->text().toStdString();
  }
  for (QComboBox* combo : dlg.findChildren<QComboBox*>()) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i)
      EXPECT_LE(metrics.horizontalAdvance(combo->itemText(i)) + spare, room.width())
          << combo->itemText(i).toStdString();
  }
  const std::pair<const char*, int> besides[] = {
      {"Ersetze", Id::IdReplaceFrom},   {"durch", Id::IdReplaceTo},
      {"Start bei", Id::IdStart},       {"Schrittweite", Id::IdStep},
      {"Anzahl Ziffern", Id::IdDigits}, {"Auffüllen mit", Id::IdFill}};
  for (const auto& [text, id] : besides) {
    QLabel* label = nullptr;
    for (QLabel* candidate : dlg.findChildren<QLabel*>())
      if (candidate->text() == QString::fromUtf8(text)) label = candidate;
    ASSERT_NE(label, nullptr) << text;
    EXPECT_LE(label->x() + metrics.horizontalAdvance(label->text()) + spare, dlg.Item(id)->x())
        << text;
  }
}

// A result too long for "wird umbenannt in" keeps its end (counter, extension) in view; the whole
// name shows as a tip, as does the sample name where its field cuts it off.
TEST_F(FilterDialogTest, LongNamesAreCutInTheMiddleAndShownWholeAsTip) {
  dlg.m_sampleName = std::string(200, 'a') + ".jpg";
  dlg.m_work.mask = "[name]-[index].[typ]";
  dlg.m_work.digits = 4;
  Open();
  auto* preview = static_cast<QLabel*>(dlg.Item(Id::IdPreviewText));
  const QString whole = QString::fromStdString(dlg.m_previewText);
  EXPECT_TRUE(preview->text().contains(QChar(0x2026)));
  EXPECT_TRUE(preview->text().startsWith(QStringLiteral("aaa")));
  EXPECT_TRUE(preview->text().endsWith(QStringLiteral("a-0001.jpg")));
  EXPECT_LE(preview->fontMetrics().horizontalAdvance(preview->text()),
            preview->contentsRect().width());
  EXPECT_EQ(preview->toolTip(), whole);
  EXPECT_EQ(Sample()->toolTip(), QString::fromStdString(dlg.m_sampleName));
  QHelpEvent help(QEvent::ToolTip, preview->geometry().center(),
                  dlg.mapToGlobal(preview->geometry().center()));
  QApplication::sendEvent(&dlg, &help);
  EXPECT_EQ(QToolTip::text(), whole);
  QToolTip::hideText();

  Retype(Edit(Id::IdMask), "kurz");
  EXPECT_EQ(preview->text(), "kurz");
  EXPECT_EQ(preview->toolTip(), "");
  dlg.hide();
  dlg.m_sampleName = "kurz.txt";
  Open();
  EXPECT_EQ(Sample()->toolTip(), "");
}

// Pasted text keeps only what stands before its first line break, in every single-line field;
// the text around the caret stays. Text the dialog sets itself is shown as it is.
TEST_F(FilterDialogTest, PastedLineBreaksDoNotEnterTheFilter) {
  dlg.m_work.digits = 2;
  Open();
  QLineEdit* fields[] = {Edit(Id::IdMask), Edit(Id::IdReplaceFrom), Edit(Id::IdReplaceTo),
                         Combo(Id::IdFill)->lineEdit()};
  for (const char* pasted : {"x\ny", "x\r\ny", "x\rz"}) {
    for (QLineEdit* field : fields) {
      field->setFocus();
      Retype(field, "abcd");
      field->setCursorPosition(2);
      QApplication::clipboard()->setText(QString::fromLatin1(pasted));
      QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
      EXPECT_EQ(field->text(), "abxcd") << pasted;
      EXPECT_EQ(field->cursorPosition(), 3);
      field->selectAll();
      QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
      EXPECT_EQ(field->text(), "x") << pasted;
    }
    EXPECT_EQ(dlg.m_work.mask, "x");
    EXPECT_EQ(dlg.m_work.searchText, "x");
    EXPECT_EQ(dlg.m_work.replaceText, "x");
    EXPECT_EQ(dlg.m_work.fillText, "x");
  }

  dlg.hide();
  dlg.m_work.mask = "a\rb[name]";
  Open();
  EXPECT_EQ(Edit(Id::IdMask)->text(), "a\rb[name]");
  Edit(Id::IdMask)->setFocus();
  Edit(Id::IdMask)->end(false);
  QTest::keyClicks(Edit(Id::IdMask), ".x");
  EXPECT_EQ(dlg.m_work.mask, "a\rb[name].x");
}

TEST_F(FilterDialogTest, TabOrderFollowsTheTemplate) {
  dlg.m_work.digits = 2;
  Open();
  const int order[] = {1,    2,    1000, 1022, 1001, 1002, 1005, 1025, 1026, 1028, 1027,
                       1029, 1030, 1031, 1033, 1032, 1034, 1036, 1035, 1023, 1024, 1011,
                       1016, 1013, 1012, 1006, 1017, 1008, 1009, 1003, 1037, 1};
  QWidget* widget = dlg.Item(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    widget = widget->nextInFocusChain();
    while (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy() || !widget->isVisible())
      widget = widget->nextInFocusChain();
    EXPECT_EQ(widget, dlg.Item(order[i])) << "after " << order[i - 1];
  }
}

TEST_F(FilterDialogTest, InsertTokenAtTheCaretAndOverASelection) {
  Open();
  auto* mask = Edit(Id::IdMask);
  mask->setFocus();
  mask->setCursorPosition(12);
  Click(Id::IdIndex);
  EXPECT_EQ(mask->text(), "[name].[typ][index]");
  EXPECT_EQ(mask->cursorPosition(), 19);
  EXPECT_FALSE(mask->hasSelectedText());
  EXPECT_EQ(QApplication::focusWidget(), Button(Id::IdIndex));
  EXPECT_EQ(dlg.m_work.mask, "[name].[typ][index]");
  EXPECT_EQ(dlg.m_previewText, "beispiel-dateiname Test.bsp1");

  dlg.m_work.mask = "[name].[typ]";
  dlg.hide();
  Open();
  mask->setFocus();
  mask->setSelection(7, 5);
  // The selection outlives the focus moving to the button that is clicked.
  Click(Id::IdDate);
  EXPECT_EQ(mask->text(), "[name].[datum]");
  EXPECT_EQ(mask->cursorPosition(), 7);
  EXPECT_FALSE(mask->hasSelectedText());
  EXPECT_EQ(dlg.m_previewText, "beispiel-dateiname Test.07.12.2026");
}

TEST_F(FilterDialogTest, EveryPlaceholderButtonInsertsItsText) {
  dlg.m_work.mask.clear();
  Open();
  std::string expected;
  const std::pair<int, const char*> buttons[] = {{Id::IdName, "[name]"},
                                                 {Id::IdType, "[typ]"},
                                                 {Id::IdIndex, "[index]"},
                                                 {Id::IdRandom, "[zufall]"},
                                                 {Id::IdDate, "[datum]"},
                                                 {Id::IdReverseDate, "[rdatum]"},
                                                 {Id::IdTime, "[zeit]"},
                                                 {Id::IdOpenBracket, "[[]"},
                                                 {Id::IdCloseBracket, "[]]"},
                                                 {Id::IdCreatedDate, "[edatum]"},
                                                 {Id::IdReverseCreatedDate, "[redatum]"},
                                                 {Id::IdCreatedTime, "[ezeit]"},
                                                 {Id::IdModifiedDate, "[adatum]"},
                                                 {Id::IdReverseModifiedDate, "[radatum]"},
                                                 {Id::IdModifiedTime, "[azeit]"}};
  for (const auto& [id, inserts] : buttons) {
    Click(id);
    expected += inserts;
  }
  EXPECT_EQ(dlg.m_work.mask, expected);
  EXPECT_EQ(Button(Id::IdOpenBracket)->text(), "[");
  EXPECT_EQ(Button(Id::IdCloseBracket)->text(), "]");
}

TEST_F(FilterDialogTest, RangeButtonsWithoutASelectionInsertAnEmptyRange) {
  dlg.m_work.mask.clear();
  Open();
  Click(Id::IdRangeForward);
  Click(Id::IdRangeBackward);
  EXPECT_EQ(dlg.m_work.mask, "[,][,]");
  // "[,]" is the range 0 to 0: the first character.
  EXPECT_EQ(dlg.m_previewText, "bb");
}

TEST_F(FilterDialogTest, BlankFillShowsAsLeerzeichenBothWays) {
  Open();
  auto* fill = Combo(Id::IdFill);
  EXPECT_EQ(fill->currentText(), "0");
  // The entry above "0" is "Leerzeichen"; choosing it stores one blank.
  fill->setFocus();
  QTest::keyClick(fill, Qt::Key_Up);
  EXPECT_EQ(fill->currentText(), "Leerzeichen");
  EXPECT_EQ(dlg.m_work.fillText, " ");

  Retype(fill->lineEdit(), "ab");
  EXPECT_EQ(fill->currentText(), "ab");
  EXPECT_EQ(dlg.m_work.fillText, "ab");

  // Emptied while a digit count is chosen: the preview still shows a result.
  Combo(Id::IdDigits)->setFocus();
  QTest::keyClick(Combo(Id::IdDigits), Qt::Key_Down);
  QTest::keyClick(Combo(Id::IdDigits), Qt::Key_Down);
  EXPECT_EQ(dlg.m_work.digits, 2);
  Edit(Id::IdMask)->selectAll();
  QTest::keyClicks(Edit(Id::IdMask), "[index]");
  Retype(fill->lineEdit(), "");
  EXPECT_EQ(fill->currentText(), "");
  EXPECT_EQ(dlg.m_work.fillText, "");
  EXPECT_FALSE(dlg.m_previewText.empty());
}

TEST_F(FilterDialogTest, TypedTextIsKeptEvenWhereAnEntryBeginsWithIt) {
  dlg.m_work.digits = 2;
  Open();
  auto* fill = Combo(Id::IdFill);
  fill->setFocus();
  Retype(fill->lineEdit(), "l");
  EXPECT_EQ(fill->currentText(), "l");
  EXPECT_EQ(dlg.m_work.fillText, "l");

  // Typing an entry's exact text and leaving the field is no choice from the list: nothing
  // runs again. The generator's fourth draw is still due (one at opening, one per key).
  Retype(fill->lineEdit(), "#");
  Edit(Id::IdMask)->setFocus();
  EXPECT_EQ(dlg.m_work.fillText, "#");
  EXPECT_EQ(NextRandom(), 26500);
}

// Only the exact entry "Leerzeichen" stands for the blank: a fill that merely begins like an
// entry opens as it was typed and is stored back unchanged.
TEST_F(FilterDialogTest, AFillOpensAsItWasTyped) {
  const std::pair<const char*, const char*> cases[] = {
      {"l", "l"},       {"L", "L"},           {"Le", "Le"},
      {"leer", "leer"}, {"LEER", "LEER"},     {"leerzeichen", "leerzeichen"},
      {"xy", "xy"},     {" ", "Leerzeichen"}, {"#", "#"}};
  for (const auto& [fill, shown] : cases) {
    dlg.m_work.fillText = fill;
    dlg.m_work.digits = 3;
    Open();
    EXPECT_EQ(Combo(Id::IdFill)->currentText(), QString::fromUtf8(shown)) << fill;
    Click(Id::IdOk);
    EXPECT_EQ(dlg.m_work.fillText, fill);
  }
  dlg.m_work.fillText = "#";
  Open();
  EXPECT_EQ(Combo(Id::IdFill)->currentIndex(), 4);
}

TEST_F(FilterDialogTest, VariabelHidesTheFillComboAndKeepsItsText) {
  dlg.m_work.digits = 3;
  dlg.m_work.fillText = "#";
  dlg.m_work.mask = "[index]";
  Open();
  auto* digits = Combo(Id::IdDigits);
  EXPECT_TRUE(Combo(Id::IdFill)->isVisible());
  EXPECT_EQ(dlg.m_previewText, "##1");

  digits->setFocus();
  QTest::keyClick(digits, Qt::Key_Home);
  EXPECT_EQ(digits->currentText(), "Variabel");
  EXPECT_FALSE(Combo(Id::IdFill)->isVisible());
  EXPECT_FALSE(dlg.Item(Id::IdFillLabel)->isVisible());
  EXPECT_EQ(dlg.m_work.fillText, "#");
  EXPECT_EQ(dlg.m_previewText, "1");

  for (int i = 0; i < 3; ++i) QTest::keyClick(digits, Qt::Key_Down);
  EXPECT_EQ(digits->currentText(), "3");
  EXPECT_TRUE(Combo(Id::IdFill)->isVisible());
  EXPECT_TRUE(dlg.Item(Id::IdFillLabel)->isVisible());
  EXPECT_EQ(Combo(Id::IdFill)->currentText(), "#");
  EXPECT_EQ(dlg.m_previewText, "##1");
}

TEST_F(FilterDialogTest, CounterTextsAreReadByTheAtolRuleWithoutAMessage) {
  dlg.m_work.mask = "[index]";
  Open();
  auto* start = Edit(Id::IdStart);
  Retype(start, "12abc");
  EXPECT_EQ(dlg.m_work.start, 12);
  EXPECT_EQ(dlg.m_previewText, "12");
  Retype(start, "");
  EXPECT_EQ(dlg.m_work.start, 0);
  Retype(start, " -5");
  EXPECT_EQ(dlg.m_work.start, -5);
  EXPECT_EQ(dlg.m_previewText, "-5");
  Retype(start, "99999999999");
  EXPECT_EQ(dlg.m_work.start, 2147483647);

  Retype(Edit(Id::IdStep), "x");
  EXPECT_EQ(dlg.m_work.step, 0);
  // A step of 0 reaches the random number too; the preview still shows a result.
  Edit(Id::IdMask)->selectAll();
  QTest::keyClicks(Edit(Id::IdMask), "[zufall]");
  EXPECT_FALSE(dlg.m_previewText.empty());
  EXPECT_EQ(Edit(Id::IdStart)->text(), "99999999999");
}

TEST_F(FilterDialogTest, ReplaceAndCaseEditsReachTheWorkingCopy) {
  Open();
  QTest::keyClicks(Edit(Id::IdReplaceFrom), "Test");
  QTest::keyClicks(Edit(Id::IdReplaceTo), "X");
  EXPECT_EQ(dlg.m_previewText, "beispiel-dateiname X.bsp");
  Combo(Id::IdNameCase)->setFocus();
  QTest::keyClick(Combo(Id::IdNameCase), Qt::Key_End);
  Combo(Id::IdExtCase)->setFocus();
  QTest::keyClick(Combo(Id::IdExtCase), Qt::Key_End);
  EXPECT_EQ(dlg.m_work.nameCase, 4);
  EXPECT_EQ(dlg.m_work.extCase, 3);
  EXPECT_EQ(dlg.m_previewText, "Beispiel-Dateiname X.Bsp");
}

TEST_F(FilterDialogTest, ModesWithoutAnEntryShowNothingAndAreStoredAsMinusOne) {
  dlg.m_work.digits = 12;
  dlg.m_work.nameCase = 7;
  dlg.m_work.extCase = -3;
  Open();
  EXPECT_EQ(Combo(Id::IdDigits)->currentIndex(), -1);
  EXPECT_EQ(Combo(Id::IdNameCase)->currentIndex(), -1);
  EXPECT_EQ(Combo(Id::IdExtCase)->currentIndex(), -1);
  EXPECT_TRUE(Combo(Id::IdFill)->isVisible());
  EXPECT_EQ(dlg.m_work.digits, -1);
  EXPECT_EQ(dlg.m_work.nameCase, -1);
  EXPECT_EQ(dlg.m_work.extCase, -1);
  EXPECT_EQ(dlg.m_previewText, "beispiel-dateiname Test.bsp");
}

TEST_F(FilterDialogTest, EveryEvaluationDrawsFromTheOneGenerator) {
  dlg.m_work.mask = "[zufall]";
  dlg.m_work.step = 32768;
  Open();
  // The generator's first draws are 41, 18467 and 6334: one at opening, one per edit.
  EXPECT_EQ(dlg.m_previewText, "42");
  QTest::keyClicks(Edit(Id::IdReplaceFrom), "q");
  EXPECT_EQ(dlg.m_previewText, "18468");
  EXPECT_EQ(NextRandom(), 6334);
}

TEST_F(FilterDialogTest, PreviewEvaluatesTheSampleNamesOriginalBytes) {
  dlg.m_sampleName =
      "Gr\xC3\xBC\xC3\x9F"
      "e\xFF.txt";
  dlg.m_work.mask = "[name]-[typ]";
  Open();
  EXPECT_EQ(Sample()->text(), QString::fromUtf8("Grüße\uFFFD.txt"));
  EXPECT_EQ(dlg.m_previewText,
            "Gr\xC3\xBC\xC3\x9F"
            "e\xFF-txt");
}

TEST_F(FilterDialogTest, ForeignBytesSurviveUntilTheFieldIsEdited) {
  dlg.m_sampleName = "b\xE4r.txt";
  dlg.m_work.mask = "x\xE4-[name]";
  dlg.m_work.searchText = "\xE4";
  dlg.m_work.replaceText = "ae";
  Open();
  EXPECT_EQ(Edit(Id::IdMask)->text(), QString::fromUtf8("x\uFFFD-[name]"));
  EXPECT_EQ(dlg.m_previewText, "x\xE4-baer");
  QTest::keyClicks(Edit(Id::IdReplaceTo), "x");
  EXPECT_EQ(dlg.m_work.mask, "x\xE4-[name]");
  EXPECT_EQ(dlg.m_work.searchText, "\xE4");
  EXPECT_EQ(dlg.m_previewText, "x\xE4-baexr");
  // Edited, the field holds what it shows.
  Edit(Id::IdMask)->end(false);
  QTest::keyClicks(Edit(Id::IdMask), "!");
  EXPECT_EQ(dlg.m_work.mask, "x\xEF\xBF\xBD-[name]!");
}

TEST_F(FilterDialogTest, ALongMaskIsPreviewedAtOnce) {
  std::string mask;
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    mask += "[1,3]x";
    expected += "beix";
  }
  dlg.m_work.mask = mask;
  Open();
  EXPECT_EQ(dlg.m_previewText, expected);
  auto* edit = Edit(Id::IdMask);
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "[-3,-1]");
  EXPECT_EQ(dlg.m_previewText, expected + "bsp");
}

TEST_F(FilterDialogTest, AMaskBeyondQtsDefaultLengthIsKeptWhole) {
  const std::string literal(40000, 'x');
  dlg.m_work.mask = literal + "[-3,-1]";
  Open();
  EXPECT_EQ(Edit(Id::IdMask)->text().size(), 40007);
  EXPECT_EQ(dlg.m_work.mask, literal + "[-3,-1]");
  EXPECT_EQ(dlg.m_previewText, literal + "bsp");
}

TEST_F(FilterDialogTest, ButtonsEndTheDialogWithTheirCodes) {
  const std::pair<int, int> buttons[] = {{Id::IdPreviewButton, CFilterDlg::ResultPreview},
                                         {Id::IdOk, CFilterDlg::ResultOk},
                                         {Id::IdRename, CFilterDlg::ResultRename},
                                         {Id::IdCancel, CFilterDlg::ResultCancel}};
  for (const auto& [id, code] : buttons) {
    Open();
    Click(id);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), code) << id;
  }
  Open();
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_EQ(dlg.result(), CFilterDlg::ResultCancel);
  Open();
  dlg.close();
  EXPECT_EQ(dlg.result(), CFilterDlg::ResultCancel);
}

TEST_F(FilterDialogTest, EnterInAnyFieldRenames) {
  for (int id : {Id::IdMask, Id::IdStart, Id::IdStep, Id::IdReplaceFrom, Id::IdReplaceTo,
                 Id::IdSample, Id::IdFill, Id::IdDigits, Id::IdNameCase}) {
    Open();
    QWidget* field = dlg.Item(id);
    field->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible()) << id;
    EXPECT_EQ(dlg.result(), CFilterDlg::ResultRename) << id;
    dlg.hide();
  }
}

TEST_F(FilterDialogTest, RenameStoresTheControlsFirst) {
  Open();
  // Written without a notification, as only "Umbenennen" reads it.
  Edit(Id::IdMask)->setText("[typ]");
  Click(Id::IdRename);
  EXPECT_EQ(dlg.m_work.mask, "[typ]");
  EXPECT_EQ(dlg.m_previewText, "bsp");
}

TEST_F(FilterDialogTest, VorschauRemembersThePositionAndReopensThere) {
  Open();
  dlg.move(140, 90);
  const QPoint where = dlg.pos();
  Click(Id::IdPreviewButton);
  EXPECT_EQ(dlg.m_posX, where.x());
  EXPECT_EQ(dlg.m_posY, where.y());
  Open();
  EXPECT_EQ(dlg.pos(), where);
}

TEST_F(FilterDialogTest, ReopeningStartsWithFreshCaptionsAndMask) {
  Open();
  Sample()->setSelection(0, 8);
  Sample()->UpdateRangeCaptions();
  Edit(Id::IdMask)->setSelection(1, 3);
  EXPECT_EQ(Captions(), "[1,8] [-27,-20]");
  Click(Id::IdPreviewButton);
  Open();
  EXPECT_EQ(Captions(), "[von,bis] [-von,-bis]");
  EXPECT_FALSE(Edit(Id::IdMask)->hasSelectedText());
  EXPECT_FALSE(Sample()->hasSelectedText());
}

}  // namespace

}  // namespace zul
