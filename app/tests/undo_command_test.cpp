#include <numeric>

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/tests/app_test_support.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

class UndoCommandTest : public ::testing::Test {
 protected:
  void Run(const std::vector<std::string>& names) {
    CZulboView& view = frame.View();
    std::vector<int> rows(view.RowCount());
    std::iota(rows.begin(), rows.end(), 0);
    view.Model().RemoveRows(rows);
    for (const std::string& name : names) {
      view.AddFile(folder.Put(name, "content of " + name));
      view.Model().SetNewName(view.RowCount() - 1, name + ".neu");
    }
    frame.Action(CmdApplyFilter)->trigger();
  }

  TestFolder folder;
  TestServices services;
  CMainFrame frame{services};
  QAction* undo = frame.Action(CmdUndo);
};

TEST_F(UndoCommandTest, OffersTheLastRunSayingHowManyFilesAndStrgZUndoesIt) {
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(undo->text(), QString::fromUtf8("&Rückgängig"));

  Run({"a"});
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), QString::fromUtf8("&Rückgängig: Umbenennen (1 Datei)"));
  Run({"b", "c"});
  EXPECT_EQ(undo->text(), QString::fromUtf8("&Rückgängig: Umbenennen (2 Dateien)"));

  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  QTest::keyClick(&frame.View(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(folder.Read("b"), "content of b");
  EXPECT_EQ(folder.Read("c"), "content of c");
  EXPECT_EQ(folder.Read("a.neu"), "content of a") << "only the last run is undone";
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(undo->text(), QString::fromUtf8("&Rückgängig"));
  QTest::keyClick(&frame.View(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(folder.Read("a.neu"), "content of a");
  EXPECT_TRUE(services.prompter.messages.empty());
}

}  // namespace

}  // namespace zul
