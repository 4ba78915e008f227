#include <gtest/gtest.h>
#include <QHeaderView>
#include <QTest>

#include "filelist/tests/interaction_test_view.h"

namespace zul {

using Names = std::vector<std::string>;

TEST(InteractionSort, NamesCompareByteByByte) {
  std::vector<FileRecord> files = Files({"b.txt", "ä.txt", "C.txt", "a.txt", "Z", "b.txt"});
  files[5].directory = "/second";
  InteractionView t(files, 300);
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
  std::vector<FileRecord> files = Files({"new", "old", "mid", "none", "late"});
  // Modified 01.01.2007 00:00:00, 15.06.2006 10:00:00, 31.12.2006 23:59:58, none and
  // 31.12.2006 23:59:59; created the same dates, swapped between new and late, old and mid.
  files[0].times = FileTimes{1167609599, 1167609600};
  files[1].times = FileTimes{1167609598, 1150365600};
  files[2].times = FileTimes{1150365600, 1167609598};
  files[4].times = FileTimes{1167609600, 1167609599};
  InteractionView t(files, 300);
  t.view.OnColumnClick(ColModified);
  EXPECT_EQ(t.Names(), (Names{"none", "old", "mid", "late", "new"}));
  t.view.OnColumnClick(ColCreated);
  EXPECT_EQ(t.Names(), (Names{"none", "mid", "old", "new", "late"}));
}

TEST(InteractionSort, EachColumnStartsAscendingAndFurtherClicksFlip) {
  std::vector<FileRecord> files = Files({"b", "a", "c"});
  files[0].directory = "/z";
  InteractionView t(files, 300);
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

}  // namespace zul
