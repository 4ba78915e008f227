#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include "app/main_frame.h"
#include "app/settings_store.h"
#include "app/start_arguments.h"
#include "app/tests/app_test_support.h"
#include "app/zulbo_app.h"
#include "document/zulbo_doc.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

class StartArgumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder.Path("ordner/unter"))));
    folder.Put("a.jpg", "a");
    folder.Put("b.jpg", "b");
    folder.Put("ordner/c.jpg", "c");
    folder.Put("ordner/unter/d.jpg", "d");
  }

  std::vector<std::string> Listed() const {
    std::vector<std::string> names;
    const CZulboView& view = app->MainFrame()->View();
    for (int row = 0; row < view.RowCount(); ++row) names.push_back(view.Text(row, ColOldName));
    return names;
  }

  TestFolder folder;
  TempFolder config;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  QString settings = QString::fromStdString(config.Path("zul.conf"));
  std::unique_ptr<CZulboApp> app = std::make_unique<CZulboApp>(services, settings);
};

TEST_F(StartArgumentsTest, FilesAndFoldersAreListedInOneWindow) {
  ASSERT_TRUE(
      app->InitInstance({folder.Path("a.jpg"), folder.Path("b.jpg"), folder.Path("ordner/")}));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
  EXPECT_TRUE(app->MainFrame()->isVisible());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StartArgumentsTest, AFolderTakesItsSubfoldersWhereTheKeptOptionSays) {
  KeptSettings kept;
  kept.includeSubfolders = true;
  ASSERT_TRUE(SettingsStore(settings).Save(kept));
  ASSERT_TRUE(app->InitInstance({folder.Path("ordner")}));
  std::vector<std::string> listed = Listed();
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"c.jpg", "d.jpg"}));
}

TEST_F(StartArgumentsTest, NamesThatLeadNowhereAreListedInOneMessage) {
  prompter.answers = {Prompter::Answer::Ok};
  ASSERT_TRUE(app->InitInstance(
      {folder.Path("fehlt.jpg"), folder.Path("a.jpg"), folder.Path("weg/"), folder.Path("b.jpg")}));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.startsWith("2 Dateien oder Ordner"));
  ASSERT_EQ(prompter.messages[0].list.size(), 2);
  EXPECT_TRUE(prompter.messages[0].list[0].contains("fehlt.jpg"));
}

TEST_F(StartArgumentsTest, OneFilterFileIsOpenedAsTheFilter) {
  FilterSettings filter;
  filter.mask = "x_[index]";
  ASSERT_TRUE(app->InitInstance({folder.PutFilter("x.fil", filter)}));
  EXPECT_EQ(app->MainFrame()->m_filter.mask, "x_[index]");
  EXPECT_TRUE(Listed().empty());
}

// The Exec line of a desktop file or file manager action, as its program would run it with two
// selected files.
QStringList CommandFor(const QString& file, const QStringList& selected) {
  QFile in(QStringLiteral(ZUL_RES_DIR "/") + file);
  if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream text(&in);
  QString exec;
  while (!text.atEnd() && exec.isEmpty()) {
    const QString line = text.readLine();
    if (line.startsWith(QStringLiteral("Exec="))) exec = line.mid(5);
  }
  QStringList quoted;
  for (const QString& path : selected) quoted << u'"' + path + u'"';
  exec.replace(QStringLiteral("%F"), quoted.join(u' '));
  return QProcess::splitCommand(exec);
}

class ActionFile : public StartArgumentsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ActionFile, StartsOneWindowListingEverySelectedFile) {
  // A blank in a name: every path must reach the program as one argument.
  folder.Put("mit blank.jpg", "m");
  const QStringList command = CommandFor(QString::fromLatin1(GetParam()),
                                         {QString::fromStdString(folder.Path("a.jpg")),
                                          QString::fromStdString(folder.Path("mit blank.jpg"))});
  ASSERT_FALSE(command.isEmpty());
  EXPECT_EQ(command.front(), "zul");
  std::vector<std::string> arguments;
  for (const QString& argument : command.mid(1)) arguments.push_back(argument.toStdString());
  ASSERT_TRUE(app->InitInstance(arguments));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"a.jpg", "mit blank.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Desktop, ActionFile,
                         ::testing::Values("zul.desktop", "zul-dolphin.desktop",
                                           "zul.nemo_action"));

}  // namespace

}  // namespace zul
