#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "dialogs/filter_dlg.h"
#include "filelist/tests/rename_fixture.h"
#include "platform/testing/scripted_prompter.h"

namespace zul {

namespace {

using Id = CFilterDlg::ControlId;

CFilterDlg& Dialog(QDialog& dialog) { return static_cast<CFilterDlg&>(dialog); }

void Click(QDialog& dialog, int id) {
  QTest::mouseClick(qobject_cast<QPushButton*>(Dialog(dialog).Item(id)), Qt::LeftButton);
}

void TypeMask(QDialog& dialog, const QString& mask) {
  auto* edit = qobject_cast<QLineEdit*>(Dialog(dialog).Item(Id::IdMask));
  edit->selectAll();
  QTest::keyClicks(edit, mask);
}

class EditFilterTest : public ListOnDisk {
 protected:
  void SetUp() override {
    ListOnDisk::SetUp();
    Make("a.txt");
    Make("b.txt");
    m_view.AddFile(Path("a.txt"));
    m_view.AddFile(Path("b.txt"));
  }

  // Edits the mask and ends the dialog with the button `id`.
  void Script(const QString& mask, int id) {
    m_prompter.dialogActions.push_back([mask, id](QDialog& dialog) {
      TypeMask(dialog, mask);
      Click(dialog, id);
      return dialog.result();
    });
  }

  std::string NewName(int row) const { return m_view.Text(row, ColNewName); }
};

TEST_F(EditFilterTest, SampleIsTheFirstRowWhateverIsSelected) {
  // Created 05.03.2007 09:07:02, written 06.04.2008 10:11:12.
  m_view.Model().RemoveRows({0, 1});
  m_view.Model().Append(FileRecord{m_dir, "a.txt", FileTimes{1173085622, 1207476672}});
  m_view.Model().Append(FileRecord{m_dir, "b.txt", std::nullopt});
  m_view.selectRow(1);
  m_filter.mask = "[name] [redatum] [azeit]";
  m_prompter.dialogActions.push_back([](QDialog& dialog) {
    const CFilterDlg& dlg = Dialog(dialog);
    EXPECT_EQ(dlg.m_sampleName, "a.txt");
    EXPECT_EQ(qobject_cast<QLineEdit*>(dlg.Item(Id::IdSample))->text(), "a.txt");
    EXPECT_EQ(dlg.m_previewText, "a 2007-03-05 10.11.12");
    return static_cast<int>(CFilterDlg::ResultCancel);
  });
  m_view.OnEditFilter();
  EXPECT_EQ(m_prompter.dialogsRun, 1);
}

TEST_F(EditFilterTest, SampleRowsCaptureTimeIsReadForItAlone) {
  m_services.captures.times[Path("a.txt")] = 1551364259;  // 28.02.2019 14:30:59
  m_filter.mask = "[rfdatum] [fzeit]";
  m_prompter.dialogActions.push_back([](QDialog& dialog) {
    EXPECT_EQ(Dialog(dialog).m_previewText, "2019-02-28 14.30.59");
    return static_cast<int>(CFilterDlg::ResultCancel);
  });
  m_view.OnEditFilter();
  EXPECT_EQ(m_services.captures.asked, std::vector<std::string>{Path("a.txt")});
  EXPECT_EQ(m_view.Text(0, ColCaptured), "28.02.2019   14:30:59");
}

TEST_F(EditFilterTest, EmptyListUsesTheFixedSample) {
  CZulboView empty(m_filter, m_services);
  m_filter.mask = "[edatum]|[azeit]|[name]|[typ]|[fdatum] [fzeit]";
  m_prompter.dialogActions.push_back([](QDialog& dialog) {
    const CFilterDlg& dlg = Dialog(dialog);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dlg.Item(Id::IdSample))->text(),
              "beispiel-dateiname Test.bsp");
    EXPECT_EQ(dlg.m_previewText,
              "31.02.1987|12.34.56|beispiel-dateiname Test|bsp|31.02.1987 23.45.56");
    return static_cast<int>(CFilterDlg::ResultCancel);
  });
  empty.OnEditFilter();
  EXPECT_EQ(m_prompter.dialogsRun, 1);
}

TEST_F(EditFilterTest, VorschauStoresRecomputesAndReopensWhereItWas) {
  const QPoint where(150, 100);
  m_prompter.dialogActions.push_back([where](QDialog& dialog) {
    TypeMask(dialog, "[index]-[name].[typ]");
    dialog.move(where);
    Click(dialog, Id::IdPreviewButton);
    return dialog.result();
  });
  m_prompter.dialogActions.push_back([this, where](QDialog& dialog) {
    EXPECT_EQ(m_filter.mask, "[index]-[name].[typ]");
    EXPECT_EQ(NewName(0), "1-a.txt");
    EXPECT_EQ(NewName(1), "2-b.txt");
    EXPECT_EQ(dialog.pos(), where);
    EXPECT_EQ(qobject_cast<QLineEdit*>(Dialog(dialog).Item(Id::IdMask))->text(),
              "[index]-[name].[typ]");
    // Edited again, then abandoned: what "Vorschau" stored stays.
    TypeMask(dialog, "z");
    Click(dialog, Id::IdCancel);
    return dialog.result();
  });
  m_view.OnEditFilter();
  EXPECT_EQ(m_prompter.dialogsRun, 2);
  EXPECT_EQ(m_filter.mask, "[index]-[name].[typ]");
  EXPECT_EQ(NewName(0), "1-a.txt");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
}

// The place is kept for the next command (and, by the main window, for the next run); one on no
// screen is not used.
TEST_F(EditFilterTest, TheNextDialogOpensWhereTheLastOneClosed) {
  const QPoint where(120, 60);
  m_prompter.dialogActions.push_back([where](QDialog& dialog) {
    dialog.move(where);
    Click(dialog, Id::IdCancel);
    return dialog.result();
  });
  m_prompter.dialogActions.push_back([where](QDialog& dialog) {
    EXPECT_EQ(dialog.pos(), where);
    Click(dialog, Id::IdCancel);
    return dialog.result();
  });
  m_view.OnEditFilter();
  EXPECT_EQ(m_view.FilterDialogPos(), where);
  m_view.OnEditFilter();

  m_view.FilterDialogPos() = QPoint(-100000, -100000);
  m_prompter.dialogActions.push_back([](QDialog& dialog) {
    EXPECT_GT(dialog.pos().x(), -100000);
    Click(dialog, Id::IdCancel);
    return dialog.result();
  });
  m_view.OnEditFilter();
}

TEST_F(EditFilterTest, OkStoresAndRecomputesWithoutRenaming) {
  Script("x-[name].[typ]", Id::IdOk);
  m_view.OnEditFilter();
  EXPECT_EQ(m_filter.mask, "x-[name].[typ]");
  EXPECT_EQ(NewName(0), "x-a.txt");
  EXPECT_EQ(NewName(1), "x-b.txt");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
  EXPECT_EQ(Read("x-a.txt"), "<missing>");
}

TEST_F(EditFilterTest, UmbenennenStoresRecomputesAndRenames) {
  Script("x-[name].[typ]", Id::IdRename);
  m_view.OnEditFilter();
  EXPECT_EQ(m_filter.mask, "x-[name].[typ]");
  // The rows follow their files; the next run would start from there.
  EXPECT_EQ(m_view.Text(1, ColOldName), "x-b.txt");
  EXPECT_EQ(NewName(1), "x-x-b.txt");
  EXPECT_EQ(Read("x-a.txt"), "content of a.txt");
  EXPECT_EQ(Read("x-b.txt"), "content of b.txt");
  EXPECT_EQ(Read("a.txt"), "<missing>");
  EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_F(EditFilterTest, AbbrechenChangesNeitherFilterNorList) {
  Script("x-[name].[typ]", Id::IdCancel);
  m_view.OnEditFilter();
  EXPECT_EQ(m_filter.mask, "[name].[typ]");
  EXPECT_EQ(NewName(0), "a.txt");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
}

TEST_F(EditFilterTest, UnmatchedDigitCountIsStoredAsMinusOneAndBlankFillSurvives) {
  m_filter.digits = 12;
  m_filter.fillText = " ";
  m_prompter.dialogActions.push_back([](QDialog& dialog) {
    Click(dialog, Id::IdOk);
    return dialog.result();
  });
  m_view.OnEditFilter();
  EXPECT_EQ(m_filter.digits, -1);
  EXPECT_EQ(m_filter.fillText, " ");
}

}  // namespace

}  // namespace zul
