#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QStatusBar>
#include <QToolBar>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/tests/app_test_support.h"
#include "app/zulbo_app.h"
#include "document/zulbo_doc.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

class StartupTest : public ::testing::Test {
 protected:
  TestFolder folder;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  CZulboApp app{services};
};

void ExpectDefaults(const FilterSettings& f) {
  const FilterSettings defaults;
  EXPECT_EQ(f.mask, defaults.mask);
  EXPECT_EQ(f.start, defaults.start);
  EXPECT_EQ(f.step, defaults.step);
  EXPECT_EQ(f.fillText, defaults.fillText);
  EXPECT_EQ(f.digits, defaults.digits);
}

}  // namespace

TEST_F(StartupTest, WithoutFileShowsTheMaximisedWindowWithDefaults) {
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame* frame = app.MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(frame->windowTitle(), "Zul - Umbennenungstool");
  ExpectDefaults(frame->m_filter);
  EXPECT_TRUE(frame->ToolBar()->isVisible());
  EXPECT_TRUE(frame->statusBar()->isVisible());
  EXPECT_EQ(frame->MessagePane()->text(), "Bereit");
  EXPECT_TRUE(frame->MessagePane()->isVisible());
  EXPECT_EQ(frame->View().RowCount(), 0);
  EXPECT_EQ(frame->Doc().PathName(), "");
  EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST_F(StartupTest, QtDialogsSpeakGerman) {
  ASSERT_TRUE(app.InitInstance({}));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                         QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Ja");
  EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nein");
  EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Abbrechen");
}

// What Qt writes by the default locale (dates, sizes, the names of file types) comes out German.
TEST_F(StartupTest, QtDialogsWriteDatesSizesAndFileTypesInGerman) {
  const QLocale before;
  ASSERT_TRUE(app.InitInstance({}));
  const QLocale locale;
  EXPECT_EQ(locale.toString(QDate(2024, 12, 24), QStringLiteral("d. MMM yyyy")), "24. Dez. 2024");
  EXPECT_EQ(locale.formattedDataSize(2), "2 Bytes");
  EXPECT_EQ(QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment(),
            "Einfaches Textdokument");
  QLocale::setDefault(before);
}

TEST_F(StartupTest, MenusShowGermanShortcutLabels) {
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame* frame = app.MainFrame();
  const std::pair<int, const char*> labels[] = {
      {CmdFileOpen, "Strg+O"}, {CmdFileSave, "Strg+S"}, {CmdUndo, "Strg+Z"}};
  for (const auto& [command, label] : labels)
    EXPECT_EQ(frame->Action(command)->shortcut().toString(QKeySequence::NativeText), label);
}

TEST_F(StartupTest, CommandLineIgnoresSwitchesAndEmptyArguments) {
  FilterSettings stored;
  stored.mask = "[name]_2.[typ]";
  const std::string path = folder.PutFilter("zwei.fil", stored);
  ASSERT_TRUE(app.InitInstance({"", "--unbekannt", "-x", path}));
  EXPECT_EQ(app.MainFrame()->m_filter.mask, "[name]_2.[typ]");
  EXPECT_TRUE(prompter.messages.empty());

  CZulboApp onlySwitches(services);
  ASSERT_TRUE(onlySwitches.InitInstance({"--unbekannt", ""}));
  ExpectDefaults(onlySwitches.MainFrame()->m_filter);
  EXPECT_EQ(onlySwitches.MainFrame()->windowTitle(), "Zul - Umbennenungstool");
  EXPECT_TRUE(prompter.messages.empty());

  // After "--" a name that starts with '-' is a file name (here of a file that does not exist).
  prompter.answers = {Prompter::Answer::Ok};
  CZulboApp dashedName(services);
  EXPECT_FALSE(dashedName.InitInstance({"--", "-fehlt.fil"}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.endsWith("-fehlt.fil“ wurde nicht gefunden."));
}

TEST_F(StartupTest, WithFilterFileMakesItCurrent) {
  FilterSettings stored;
  stored.mask = "Foto_[index].[typ]";
  stored.digits = 3;
  const std::string path = folder.PutFilter("fotos.fil", stored);
  ASSERT_TRUE(app.InitInstance({path}));
  CMainFrame* frame = app.MainFrame();
  EXPECT_EQ(frame->m_filter.mask, "Foto_[index].[typ]");
  EXPECT_EQ(frame->m_filter.digits, 3);
  EXPECT_EQ(frame->windowTitle(), "Zul - fotos.fil");
  EXPECT_EQ(frame->View().RowCount(), 0);
}

TEST_F(StartupTest, WithAnotherFileMakesItTheOnlyRow) {
  const std::string path = folder.Put("bild.jpg", "\xFF\xD8\xFF");
  ASSERT_TRUE(app.InitInstance({path}));
  CMainFrame* frame = app.MainFrame();
  ASSERT_EQ(frame->View().RowCount(), 1);
  EXPECT_EQ(frame->View().Text(0, ColOldName), "bild.jpg");
  EXPECT_EQ(frame->View().Text(0, ColNewName), "bild.jpg");
  ExpectDefaults(frame->m_filter);
  EXPECT_EQ(frame->windowTitle(), "Zul - Umbennenungstool");
  EXPECT_EQ(frame->Doc().PathName(), "");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StartupTest, WithMissingFileFailsAfterTheFileMessage) {
  prompter.answers = {Prompter::Answer::Ok};
  EXPECT_FALSE(app.InitInstance({folder.Path("fehlt.fil")}));
  EXPECT_EQ(app.MainFrame(), nullptr);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.startsWith("Fehler beim Öffnen des Dokuments.\n"));
  EXPECT_TRUE(prompter.messages[0].text.endsWith("fehlt.fil“ wurde nicht gefunden."));
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_EQ(qobject_cast<CMainFrame*>(widget), nullptr);
}

}  // namespace zul
