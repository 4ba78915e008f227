#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QStatusBar>
#include <QToolBar>

#include "app/main_frame.h"
#include "app/settings_store.h"
#include "app/zulbo_app.h"
#include "document/zulbo_doc.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

class KeptSettingsTest : public ::testing::Test {
 protected:
  TempFolder config;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  QString path = QString::fromStdString(config.Path("zul/zul.conf"));
};

TEST_F(KeptSettingsTest, WhatTheUserSetIsThereAtTheNextStart) {
  {
    CZulboApp app(services, path);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.MainFrame();
    frame.View().Options().includeSubfolders = true;
    frame.View().Options().lastFolder = "/tmp";
    frame.showNormal();
    frame.setGeometry(40, 50, 640, 420);
    frame.View().horizontalHeader()->resizeSection(0, 231);
    frame.ToolBar()->hide();
    frame.View().FilterDialogPos() = QPoint(70, 80);
    frame.Doc().SetLastFolder("/srv/filter");
    ASSERT_TRUE(frame.close());
  }
  CZulboApp app(services, path);
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame& frame = *app.MainFrame();
  EXPECT_TRUE(frame.View().Options().includeSubfolders);
  EXPECT_EQ(frame.View().Options().lastFolder, "/tmp");
  EXPECT_FALSE(frame.isMaximized());
  EXPECT_EQ(frame.size(), QSize(640, 420));
  EXPECT_EQ(frame.View().horizontalHeader()->sectionSize(0), 231);
  EXPECT_TRUE(frame.ToolBar()->isHidden());
  EXPECT_TRUE(frame.statusBar()->isVisible());
  EXPECT_EQ(frame.View().FilterDialogPos(), QPoint(70, 80));
  EXPECT_EQ(frame.Doc().LastFolder(), "/srv/filter");
  EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(KeptSettingsTest, AGarbageFileGivesTheDefaultsAndTheStatusBarSaysSo) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(config.Path("zul"))));
  config.Put("zul/zul.conf", std::string("\x89PNG\r\n\x1a\n\0\0[\xff=", 14));
  CZulboApp app(services, path);
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame& frame = *app.MainFrame();
  EXPECT_TRUE(frame.isMaximized());
  EXPECT_FALSE(frame.View().Options().includeSubfolders);
  EXPECT_TRUE(frame.ToolBar()->isVisible());
  EXPECT_TRUE(frame.statusBar()->currentMessage().contains("konnten nicht gelesen werden"))
      << frame.statusBar()->currentMessage().toStdString();
  EXPECT_TRUE(prompter.messages.empty());

  // Closing writes a good file in its place.
  frame.View().Options().includeSubfolders = true;
  ASSERT_TRUE(frame.close());
  SettingsStore store(path);
  EXPECT_TRUE(store.Load().includeSubfolders);
  EXPECT_FALSE(store.Damaged());
}

TEST_F(KeptSettingsTest, SettingsThatCannotBeWrittenAreReportedWhenClosing) {
  config.Put("zul", "eine Datei, wo der Ordner sein sollte");
  CZulboApp app(services, path);
  ASSERT_TRUE(app.InitInstance({}));
  prompter.answers = {Prompter::Answer::Ok};
  EXPECT_TRUE(app.MainFrame()->close());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.startsWith("Die Einstellungen konnten nicht"));
}

}  // namespace

}  // namespace zul
