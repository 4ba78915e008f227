#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHelpEvent>
#include <QIcon>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "core/plan_check_text.h"
#include "filelist/tests/rename_fixture.h"

namespace zul {

namespace {

// A list whose rows meet the disk in every way the check tells apart.
class CheckedList : public ListOnDisk {
 protected:
  void SetUp() override {
    ListOnDisk::SetUp();
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) Make(name);
    AddRow("a", "b");   // 0: b is there and stays
    AddRow("c", "x");   // 1
    AddRow("d", "x");   // 2: the same as row 1
    AddRow("e", ".e");  // 3: hidden afterwards
    AddRow("f", "f2");  // 4
    m_view.resize(900, 400);
    m_view.show();
    m_view.RecheckPlan();
  }

  QModelIndex NewName(int row) const { return m_view.Model().index(row, ColNewName); }
  StepIssue IssueOf(int row) const { return m_view.Model().Issue(row); }
  bool HasIcon(int row) const {
    return !m_view.Model().data(NewName(row), Qt::DecorationRole).value<QIcon>().isNull();
  }
  QString Tip(int row) {
    QToolTip::hideText();
    const QPoint pos = m_view.visualRect(NewName(row)).center();
    QHelpEvent event(QEvent::ToolTip, pos, m_view.viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(m_view.viewport(), &event);
    // A tip that was hidden lingers a moment: only an accepted event showed one.
    const QString tip = event.isAccepted() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return tip;
  }
  // Waits for the check that a change scheduled.
  void WaitForCheck() {
    QSignalSpy checked(&m_view, &CZulboView::PlanChecked);
    ASSERT_TRUE(checked.wait(2000));
  }
};

TEST_F(CheckedList, MarksEachRowWithIconColourTipAndDescription) {
  const std::vector<StepIssue> expected = {StepIssue::TargetExists, StepIssue::DuplicateName,
                                           StepIssue::DuplicateName, StepIssue::BecomesHidden,
                                           StepIssue::None};
  // Both rows of a duplicate name each other; a taken target names the file in the way.
  const std::vector<QString> reasons = {
      QString::fromUtf8("Ziel existiert: Im Ordner gibt es schon „b“."),
      QString::fromUtf8("Doppelter Name: wie Zeile 3, „x“"),
      QString::fromUtf8("Doppelter Name: wie Zeile 2, „x“"),
      QString::fromUtf8(IssueText(StepIssue::BecomesHidden)), QString()};
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&m_view);
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->tableInterface(), nullptr);
  const QVariant plain = m_view.Model().data(NewName(4), Qt::ForegroundRole);
  for (int row = 0; row < 5; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(IssueOf(row), expected[row]);
    const bool marked = expected[row] != StepIssue::None;
    const QString& reason = reasons[static_cast<size_t>(row)];
    EXPECT_EQ(HasIcon(row), marked);
    EXPECT_EQ(m_view.Model().data(NewName(row), Qt::ForegroundRole).isValid(), marked);
    EXPECT_EQ(Tip(row), reason);
    QAccessibleInterface* cell = list->tableInterface()->cellAt(row, ColNewName);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Description), reason);
    EXPECT_EQ(cell->text(QAccessible::Name), QString::fromStdString(m_view.Text(row, ColNewName)));
  }
  EXPECT_FALSE(plain.isValid());
  // The other columns carry no mark.
  EXPECT_FALSE(
      m_view.Model().data(m_view.Model().index(0, ColOldName), Qt::DecorationRole).isValid());
  EXPECT_EQ(m_view.CheckSummaryText(),
            QString::fromUtf8("3 Konflikte: 2 × Doppelter Name, 1 × Ziel existiert; 1 Warnung: "
                              "1 × Wird versteckt"));
}

TEST_F(CheckedList, ACutNameShowsInTheTipAboveItsReason) {
  const std::string longName(200, 'n');
  m_view.Model().SetNewName(0, longName);
  Make(longName);
  m_view.RecheckPlan();
  EXPECT_EQ(Tip(0), QString::fromStdString(longName) + "\n" +
                        QString::fromUtf8("Ziel existiert: Im Ordner gibt es schon „") +
                        QString::fromStdString(longName) + QString::fromUtf8("“."));
}

// Every change of the plan is checked again shortly after it, once for a burst of changes;
// until then each mark moves with its row.
TEST_F(CheckedList, ChecksAgainAfterEveryChangeOfThePlan) {
  Make("1");
  Make("2");
  m_view.Model().RemoveRows({0, 1, 2, 3, 4});
  AddRow("1", "2");
  AddRow("2", "3");
  WaitForCheck();
  EXPECT_EQ(IssueOf(0), StepIssue::TargetRenamedLater);

  m_view.OnColumnClick(ColOldName);
  m_view.OnColumnClick(ColOldName);  // backwards: 2 -> 3 first, then the chain runs
  EXPECT_EQ(IssueOf(1), StepIssue::TargetRenamedLater) << "the mark moved with its row";
  WaitForCheck();
  EXPECT_EQ(m_view.CheckSummaryText(), "");

  QSignalSpy checked(&m_view, &CZulboView::PlanChecked);
  for (int i = 0; i < 3; ++i) m_view.SwapRows(0, 1);  // moved back by a burst of steps
  WaitForCheck();
  EXPECT_EQ(checked.count(), 1);
  EXPECT_EQ(IssueOf(0), StepIssue::TargetRenamedLater);

  AddRow("a", "3");
  WaitForCheck();
  EXPECT_EQ(m_view.CheckSummaryText(),
            QString::fromUtf8("3 Konflikte: 2 × Doppelter Name, 1 × Ziel existiert"));

  m_view.Model().RemoveRows({0});
  WaitForCheck();
  EXPECT_EQ(m_view.CheckSummaryText(), QString::fromUtf8("2 Konflikte: 2 × Doppelter Name"));

  m_filter.mask = "neu-[index]";
  m_view.RecomputeNewNames();
  WaitForCheck();
  EXPECT_EQ(m_view.CheckSummaryText(), "");
}

// After a run the rows name their files as they are now, so the check finds nothing amiss.
TEST_F(CheckedList, TheDiskAsARunLeavesItIsCheckedAgain) {
  m_view.Model().RemoveRows({0, 2, 3});  // c -> x, f -> f2
  m_view.RecheckPlan();
  EXPECT_EQ(m_view.CheckSummaryText(), "");
  QSignalSpy status(&m_view, &CZulboView::StatusMessage);
  m_filter.mask = "neu-[index]";  // what the names are recomputed with after the run
  m_view.RenameAll();
  EXPECT_TRUE(m_prompter.messages.empty());
  ASSERT_EQ(status.count(), 1);
  EXPECT_EQ(status[0][0].toString(), QString::fromUtf8("2 Dateien umbenannt."));
  EXPECT_EQ(m_view.Text(0, ColOldName), "x");
  EXPECT_EQ(m_view.Text(1, ColOldName), "f2");
  EXPECT_EQ(m_view.Text(1, ColNewName), "neu-2");
  WaitForCheck();
  EXPECT_EQ(m_view.CheckSummaryText(), "");
}

TEST_F(CheckedList, NextConflictSelectsAndShowsEachMarkedRowInTurn) {
  m_view.Model().SetNewName(4, "f");               // row 4 keeps its name
  for (int i = 0; i < 60; ++i) AddRow("f", "f2");  // rows 6 .. 64: f is gone by then
  m_view.RecheckPlan();
  // A current row that is not selected is where Qt starts, not the user.
  m_view.selectionModel()->setCurrentIndex(NewName(0), QItemSelectionModel::NoUpdate);
  std::vector<int> visited;
  for (int i = 0; i < 5; ++i) {
    m_view.OnNextConflict();
    const int row = m_view.currentIndex().row();
    visited.push_back(row);
    EXPECT_EQ(m_view.selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(m_view.selectionModel()->isRowSelected(row, {}));
    EXPECT_TRUE(m_view.viewport()->rect().intersects(m_view.visualRect(NewName(row))));
  }
  EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 6}));
  m_view.setCurrentIndex(m_view.Model().index(64, 0));
  m_view.OnNextConflict();
  EXPECT_EQ(m_view.currentIndex().row(), 0) << "from the top again after the last";

  m_view.Model().RemoveRows({0, 2, 3});
  for (int row = m_view.RowCount(); row-- > 2;) m_view.Model().RemoveRows({row});
  m_view.RecheckPlan();  // c -> x, f -> f
  m_view.setCurrentIndex(m_view.Model().index(1, 0));
  m_view.OnNextConflict();
  EXPECT_EQ(m_view.currentIndex().row(), 1) << "nothing to go to: the selection stays";
}

}  // namespace

}  // namespace zul
