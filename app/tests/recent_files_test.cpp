#include <cstdio>

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/tests/app_test_support.h"
#include "document/zulbo_doc.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostFour) {
  RecentFiles recent;
  for (const char* path : {"/a.fil", "/b.fil", "/a.fil", "/c.fil", "/d.fil", "/e.fil"})
    recent.Add(path);
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/e.fil", "/d.fil", "/c.fil", "/a.fil"}));
  recent.Remove("/d.fil");
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/e.fil", "/c.fil", "/a.fil"}));

  recent.Set({"/x.fil", "", "/y.fil", "/x.fil", "/1", "/2", "/3"});
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/x.fil", "/y.fil", "/1", "/2"}));
}

TEST(RecentFiles, MenuTextNumbersTheEntryAndShowsAmpersands) {
  EXPECT_EQ(RecentFiles::MenuText(0, "/home/anna/Fotos.fil"), "&1 Fotos.fil");
  EXPECT_EQ(RecentFiles::MenuText(3, "/x/Tom & Jerry.fil"), "&4 Tom && Jerry.fil");
}

class RecentMenuTest : public ::testing::Test {
 protected:
  TestFolder folder;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  CMainFrame frame{services};

  // The shown entries of "Datei" from the last separator before "&Beenden" on.
  QStringList Tail() const {
    QStringList entries;
    for (QAction* action : frame.menuBar()->actions()[0]->menu()->actions()) {
      if (action->isVisible()) entries << (action->isSeparator() ? "-" : action->text());
    }
    return entries.mid(entries.indexOf("Filter Speichern &unter...") + 1);
  }
  QAction* Entry(int index) const {
    for (QAction* action : frame.menuBar()->actions()[0]->menu()->actions()) {
      if (action->isVisible() && action->text().startsWith(QStringLiteral("&%1 ").arg(index + 1)))
        return action;
    }
    return nullptr;
  }
};

TEST_F(RecentMenuTest, FilterFilesOpenedOrSavedStandAboveBeenden) {
  EXPECT_EQ(Tail(), (QStringList{"-", "&Beenden"}));
  FilterSettings a;
  a.mask = "A_[name].[typ]";
  const std::string first = folder.PutFilter("eins.fil", a);
  ASSERT_TRUE(frame.Doc().Open(first));
  prompter.chosenPaths = {folder.Path("zwei.fil")};
  ASSERT_TRUE(frame.Doc().OnFileSaveAs());
  EXPECT_EQ(Tail(), (QStringList{"-", "&1 zwei.fil", "&2 eins.fil", "-", "&Beenden"}));
  prompter.chosenPaths = {""};
  frame.Doc().OnFileOpen();
  EXPECT_EQ(prompter.choosers.back().folder, folder.Path()) << "the open dialog starts there";

  frame.m_filter.mask = "anders";
  Entry(1)->trigger();
  EXPECT_EQ(frame.m_filter.mask, "A_[name].[typ]");
  EXPECT_EQ(Tail(), (QStringList{"-", "&1 eins.fil", "&2 zwei.fil", "-", "&Beenden"}));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(RecentMenuTest, AnEntryWhoseFileIsGoneIsRemovedWithAMessage) {
  const std::string kept = folder.PutFilter("bleibt.fil", FilterSettings());
  const std::string gone = folder.PutFilter("weg.fil", FilterSettings());
  ASSERT_TRUE(frame.Doc().Open(kept));
  ASSERT_TRUE(frame.Doc().Open(gone));
  ASSERT_EQ(std::remove(gone.c_str()), 0);

  prompter.answers = {Prompter::Answer::Ok};
  Entry(0)->trigger();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.contains("weg.fil“ gibt es nicht mehr"));
  EXPECT_EQ(Tail(), (QStringList{"-", "&1 bleibt.fil", "-", "&Beenden"}));
  EXPECT_EQ(frame.Recent().Paths(), std::vector<std::string>{kept});
}

}  // namespace

}  // namespace zul
