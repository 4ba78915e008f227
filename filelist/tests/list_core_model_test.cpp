#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QToolTip>

#include <gtest/gtest.h>

#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

QStringList g_modelWarnings;

void RecordModelWarnings(QtMsgType, const QMessageLogContext& context, const QString& text) {
  if (context.category && QByteArray(context.category).startsWith("qt.modeltest"))
    g_modelWarnings << text;
}

FileRecord Entry(const std::string& name) {
  return {"/folder", name, FileTimes{946684800, 946771200}};  // 01.01.2000, 02.01.2000
}

FileRows Rows(const std::vector<std::string>& names) {
  FileRows rows;
  for (const std::string& name : names) rows.Append(Entry(name));
  return rows;
}

TEST(FileListModelTest, PassesTheModelTesterThroughEveryChange) {
  g_modelWarnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(RecordModelWarnings);
  {
    FileListModel model;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QItemSelectionModel selection(&model);

    model.Append(Entry("a"));
    model.Append(Rows({"b", "c", "d", "e"}));
    model.Append(FileRows());
    ASSERT_EQ(model.Count(), 5);

    FilterSettings filter;
    filter.mask = "N[index]";
    const FakeCaptureReader captures;
    model.ComputeNewNames(filter, captures);
    EXPECT_EQ(model.Text(4, ColNewName), "N5");
    EXPECT_EQ(model.data(model.index(1, ColNewName)).toString(), "N2");
    model.SetNewName(1, "B");
    EXPECT_EQ(model.data(model.index(1, ColNewName)).toString(), "B");

    selection.setCurrentIndex(model.index(3, 0), QItemSelectionModel::Select);
    model.Sort(ColOldName, false);
    EXPECT_EQ(model.Text(0, ColOldName), "e");
    EXPECT_EQ(selection.currentIndex().row(), 1);  // "d" followed its row

    model.SwapRows(0, 4);
    EXPECT_EQ(model.Text(0, ColOldName), "a");
    EXPECT_EQ(model.Text(4, ColOldName), "e");

    model.RemoveRows({2});
    model.RemoveRows({0, 3});
    ASSERT_EQ(model.Count(), 2);
    EXPECT_EQ(model.Text(0, ColOldName), "d");
    EXPECT_EQ(model.Text(1, ColOldName), "b");
    model.RemoveRows({0, 1});
    EXPECT_EQ(model.Count(), 0);
    model.ComputeNewNames(filter, captures);
  }
  qInstallMessageHandler(previous);
  EXPECT_TRUE(g_modelWarnings.isEmpty()) << g_modelWarnings.join('\n').toStdString();
}

TEST(ZulboViewTest, PresentsSixColumnsOfWholeRowsUnsorted) {
  TestServices services;
  FilterSettings filter;
  CZulboView view(filter, services);
  const char* headers[] = {"Alter Name",    "Neuer Name",     "Verzeichnis",
                           "Erstelltdatum", "Änderungsdatum", "Aufnahmedatum"};
  const int widths[] = {250, 250, 300, 160, 160, 160};
  ASSERT_EQ(view.model()->columnCount(), 6);
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(view.model()->headerData(c, Qt::Horizontal).toString(),
              QString::fromUtf8(headers[c]));
    EXPECT_EQ(view.columnWidth(c), widths[c]);
  }
  EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_FALSE(view.isSortingEnabled());
  EXPECT_EQ(view.dragDropMode(), QAbstractItemView::NoDragDrop);
  EXPECT_EQ(view.palette().color(QPalette::Inactive, QPalette::Highlight),
            view.palette().color(QPalette::Active, QPalette::Highlight));
}

TEST(ZulboViewTest, TipShowsTheFullTextOnlyWhereTheCellCutsItOff) {
  TestServices services;
  FilterSettings filter;
  CZulboView view(filter, services);
  view.resize(1200, 400);
  view.Model().Append(Entry("short.txt"));
  view.Model().Append(Entry(std::string(200, 'w') + ".txt"));
  view.show();

  auto tipAt = [&](int row) {
    QToolTip::hideText();
    const QPoint pos = view.visualRect(view.model()->index(row, ColOldName)).center();
    QHelpEvent event(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tipAt(0), QString());
  EXPECT_EQ(tipAt(1), QString(200, 'w') + ".txt");
  QToolTip::hideText();
}

}  // namespace

}  // namespace zul
