#include <gtest/gtest.h>
#include <QHeaderView>
#include <QTest>

#include "filelist/tests/interaction_test_view.h"

using Names = std::vector<std::string>;

TEST(InteractionSort, NamesCompareByteByByte) {
  InteractionView t({"b.txt", "ä.txt", "C.txt", "a.txt", "Z", "b.txt"});
  t.view.Model().SetText(5, ColDirectory, "/second");
  t.view.OnColumnClick(ColOldName);
  EXPECT_EQ(t.Names(), (Names{"C.txt", "Z", "a.txt", "b.txt", "b.txt", "ä.txt"}));
  EXPECT_EQ(t.view.Text(4, ColDirectory), "/second");  // equal keys keep their order
  EXPECT_EQ(t.view.Text(0, ColNewName), "new-C.txt");  // the row's texts travel with it
  t.view.OnColumnClick(ColOldName);
  EXPECT_EQ(t.Names(), (Names{"ä.txt", "b.txt", "b.txt", "a.txt", "Z", "C.txt"}));
  EXPECT_EQ(t.view.Text(1, ColDirectory), "/d");
  EXPECT_FALSE(t.view.SortAscending());
}

TEST(InteractionSort, DateColumnsSortChronologically) {
  InteractionView t({"new", "old", "mid", "none", "late"});
  const char* dates[] = {"01.01.2007   00:00:00", "15.06.2006   10:00:00", "31.12.2006   23:59:59",
                         "", "31.12.2006   23:59:60"};
  for (int row = 0; row < 5; ++row) {
    t.view.Model().SetText(row, ColModified, dates[row]);
    t.view.Model().SetText(row, ColCreated, dates[4 - row]);
  }
  t.view.OnColumnClick(ColModified);
  EXPECT_EQ(t.Names(), (Names{"none", "old", "mid", "late", "new"}));
  t.view.OnColumnClick(ColCreated);  // the same dates, reversed between the rows
  EXPECT_EQ(t.Names(), (Names{"old", "none", "mid", "new", "late"}));
}

TEST(InteractionSort, EachColumnStartsAscendingAndFurtherClicksFlip) {
  InteractionView t({"b", "a", "c"});
  t.view.Model().SetText(0, ColDirectory, "/z");
  EXPECT_EQ(t.view.SortColumn(), -1);
  t.view.ConnectInteraction();
  t.view.ConnectInteraction();  // binding twice must not sort twice per click
  t.Select({0});                // the selection follows its row
  auto click = [&](int column) {
    const QHeaderView* header = t.view.horizontalHeader();
    const QPoint point(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
  };
  click(ColOldName);
  EXPECT_EQ(t.Names(), (Names{"a", "b", "c"}));
  EXPECT_EQ(t.Selected(), (std::vector<int>{1}));
  click(ColOldName);
  EXPECT_EQ(t.Names(), (Names{"c", "b", "a"}));
  EXPECT_FALSE(t.view.SortAscending());
  click(ColDirectory);
  EXPECT_EQ(t.Names(), (Names{"c", "a", "b"}));
  EXPECT_EQ(t.view.SortColumn(), ColDirectory);
  EXPECT_TRUE(t.view.SortAscending());
  EXPECT_EQ(t.Selected(), (std::vector<int>{2}));
}
