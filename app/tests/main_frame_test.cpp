#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include "app/button_images.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/tests/app_test_support.h"
#include "document/zulbo_doc.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

class MainFrameTest : public ::testing::Test {
 protected:
  TestFolder folder;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  CMainFrame frame{services};

  // The shown entries of a menu as "text\tshortcut", separators as "-".
  std::vector<std::string> Entries(int menu) const {
    std::vector<std::string> entries;
    for (QAction* action : frame.menuBar()->actions()[menu]->menu()->actions()) {
      if (!action->isVisible()) continue;
      if (action->isSeparator()) {
        entries.push_back("-");
        continue;
      }
      std::string entry = action->text().toStdString();
      if (!action->shortcut().isEmpty())
        entry += "\t" + action->shortcut().toString(QKeySequence::PortableText).toStdString();
      entries.push_back(entry);
    }
    return entries;
  }

  void Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    QApplication::processEvents();
  }
};

}  // namespace

TEST_F(MainFrameTest, MenusHoldTheCommandsInOrder) {
  std::vector<std::string> titles;
  for (QAction* menu : frame.menuBar()->actions()) titles.push_back(menu->text().toStdString());
  EXPECT_EQ(titles, (std::vector<std::string>{"&Datei", "&Bearbeiten", "&Ansicht", "&?"}));
  EXPECT_EQ(Entries(0),
            (std::vector<std::string>{"Datei(en) hinzufügen...", "Verzeichnis hinzufügen...", "-",
                                      "Filter Ö&ffnen...\tCtrl+O", "Filter S&peichern\tCtrl+S",
                                      "Filter Speichern &unter...", "-", "&Beenden"}));
  EXPECT_EQ(Entries(1), (std::vector<std::string>{
                            "&Rückgängig\tCtrl+Z", "-", "Filter bearbeiten...",
                            "Filter anwenden (Dateien umbenennen)", "-", "Einstellungen..."}));
  EXPECT_EQ(Entries(2), (std::vector<std::string>{"&Symbolleiste", "S&tatusleiste", "-",
                                                  "Nächster Konflikt\tF8"}));
  EXPECT_EQ(Entries(3), (std::vector<std::string>{"Inf&o über Zulbo...", "Hilfe\tF1"}));
}

TEST_F(MainFrameTest, CommandsCarryPromptAndTooltipAndOnlyUndoIsDisabled) {
  const std::pair<int, const char*> texts[] = {
      {CmdApplyFilter, "Filter anwenden (Dateien umbenennen)\nFilter anwenden"},
      {CmdAddFiles, "Datei(en) hinzufügen\nDatei(en) hinzufügen"},
      {CmdEditFilter, "Filter bearbeiten\nFilter bearbeiten"},
      {CmdHelp, "Öffnet die Hilfe-Datei\nHilfe"},
      {CmdAddFolder, "Ordner hinzufügen\nOrdner hinzufügen"},
      {CmdSettings, "Einstellungen bearbeiten\nEinstellungen"},
      {CmdFileOpen, "Öffnet ein bestehenden Filter.\nFilter Öffnen"},
      {CmdFileSave, "Speichert den aktuellen Filter.\nFilter Speichern"},
      {CmdFileSaveAs, "Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter"},
      {CmdUndo, "Macht die letzte Aktion rückgängig.\nRückgängig"},
      {CmdAbout, "Zeigt Programm-Informationen, Versionsnummer und Copyright an.\nInfo"},
      {CmdExit, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},
      {CmdViewToolBar, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"},
      {CmdViewStatusBar, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"},
      {CmdNextConflict,
       "Wählt die nächste Zeile mit einem Konflikt oder einer Warnung aus und zeigt sie "
       "an.\nNächster Konflikt"},
  };
  for (const auto& [command, text] : texts) {
    QAction* action = frame.Action(command);
    ASSERT_NE(action, nullptr) << command;
    EXPECT_EQ(action->statusTip() + "\n" + action->toolTip(), QString::fromUtf8(text));
    EXPECT_EQ(action->isEnabled(), command != CmdUndo) << command;
  }
}

TEST_F(MainFrameTest, ToolbarHasNineButtonsWithTheirPictures) {
  std::vector<std::string> tips;
  int withPictures = 0;
  for (QAction* action : frame.ToolBar()->actions()) {
    if (action->isSeparator()) {
      tips.push_back("-");
      continue;
    }
    tips.push_back(action->toolTip().toStdString());
    const QIcon icon = action->icon();
    const QSize size(kButtonSize, kButtonSize);
    const QImage normal = icon.pixmap(size, QIcon::Normal).toImage();
    const QImage hot = icon.pixmap(size, QIcon::Active).toImage();
    const QImage disabled = icon.pixmap(size, QIcon::Disabled).toImage();
    if (!normal.isNull() && normal != hot && normal != disabled) ++withPictures;
  }
  EXPECT_EQ(tips, (std::vector<std::string>{"Datei(en) hinzufügen", "Ordner hinzufügen", "-",
                                            "Filter Öffnen", "Filter Speichern", "-",
                                            "Einstellungen", "-", "Filter anwenden",
                                            "Filter bearbeiten", "-", "Info", "Hilfe"}));
  EXPECT_EQ(withPictures, 9);
  EXPECT_EQ(frame.ToolBar()->iconSize(), QSize(32, 32));
}

TEST_F(MainFrameTest, StatusBarShowsBereitAndPrompts) {
  frame.show();
  EXPECT_EQ(frame.MessagePane()->text(), "Bereit");
  EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
  frame.Action(CmdFileOpen)->showStatusText(&frame);
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Öffnet ein bestehenden Filter.");
  EXPECT_FALSE(frame.MessagePane()->isVisible());
  QStatusTipEvent leave{QString()};
  QApplication::sendEvent(&frame, &leave);
  EXPECT_TRUE(frame.MessagePane()->isVisible());

  // A highlighted entry of an open menu, and a toolbar button under the mouse.
  QMenu* file = frame.menuBar()->actions()[0]->menu();
  frame.menuBar()->setActiveAction(file->menuAction());
  ASSERT_TRUE(file->isVisible());
  file->setActiveAction(frame.Action(CmdFileSave));
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Speichert den aktuellen Filter.");
  file->hide();
  EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
  QWidget* button = frame.ToolBar()->widgetForAction(frame.Action(CmdSettings));
  EXPECT_EQ(button->toolTip(), "Einstellungen");
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(button, &enter);
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Einstellungen bearbeiten");
  // The offscreen platform tells no lock state: the panes stay empty.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(frame.LockPane(i)->text(), "");
}

TEST_F(MainFrameTest, StatusBarCountsTheConflictsAndF8GoesToThem) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) frame.View().AddFile(folder.Put(name, name));
  frame.m_filter.mask = "gleich";
  frame.View().RecomputeNewNames();
  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  frame.View().setFocus();
  frame.View().RecheckPlan();
  EXPECT_EQ(frame.MessagePane()->text(), "3 Konflikte: 3 × Doppelter Name");
  QTest::keyClick(&frame.View(), Qt::Key_F8);
  EXPECT_EQ(frame.View().currentIndex().row(), 0);
  QTest::keyClick(&frame.View(), Qt::Key_F8);
  EXPECT_EQ(frame.View().currentIndex().row(), 1);

  frame.m_filter.mask = "[index].txt";
  frame.View().RecomputeNewNames();
  frame.View().RecheckPlan();
  EXPECT_EQ(frame.MessagePane()->text(), "Bereit");
}

TEST_F(MainFrameTest, ACancelledScanSaysHowManyFilesItAdded) {
  frame.show();
  folder.Put("a.txt", "a");
  folder.Put("b.txt", "b");
  prompter.chosenFolders = {folder.Path()};
  prompter.cancelProgressAt = {1};
  frame.Action(CmdAddFolder)->trigger();
  EXPECT_EQ(frame.View().RowCount(), 1);
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Hinzufügen abgebrochen: 1 Datei hinzugefügt.");
}

TEST_F(MainFrameTest, ViewMenuTogglesTheBarsWithCheckMarks) {
  frame.show();
  QAction* toolBar = frame.Action(CmdViewToolBar);
  QAction* statusBar = frame.Action(CmdViewStatusBar);
  EXPECT_TRUE(toolBar->isChecked());
  EXPECT_TRUE(statusBar->isChecked());
  toolBar->trigger();
  statusBar->trigger();
  EXPECT_FALSE(frame.ToolBar()->isVisible());
  EXPECT_FALSE(frame.statusBar()->isVisible());
  EXPECT_FALSE(toolBar->isChecked());
  EXPECT_FALSE(statusBar->isChecked());
  toolBar->trigger();
  statusBar->trigger();
  EXPECT_TRUE(frame.ToolBar()->isVisible());
  EXPECT_TRUE(frame.statusBar()->isVisible());
  EXPECT_TRUE(toolBar->isChecked());
}

TEST_F(MainFrameTest, OnlyTheAcceleratorsActEvenWithTheToolbarHidden) {
  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  frame.Action(CmdViewToolBar)->trigger();
  ASSERT_FALSE(frame.ToolBar()->isVisible());
  frame.View().setFocus();

  prompter.chosenPaths = {"", ""};
  QTest::keyClick(&frame.View(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(prompter.choosers.size(), 1u);
  EXPECT_EQ(prompter.choosers[0].caption, "Öffnen");
  QTest::keyClick(&frame.View(), Qt::Key_S, Qt::ControlModifier);  // a new Filter: save-as
  EXPECT_EQ(prompter.choosers.size(), 2u);

  frame.m_filter.mask = "bleibt";
  QTest::keyClick(&frame.View(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&frame.View(), Qt::Key_F1);
  EXPECT_EQ(services.opener.opened.size(), 1) << "F1 opens the help page";
  EXPECT_EQ(frame.m_filter.mask, "bleibt");
  EXPECT_EQ(prompter.choosers.size(), 2u);
  EXPECT_EQ(prompter.dialogsRun, 0);
  EXPECT_TRUE(prompter.messages.empty());
}

// Dropped through the window, as the system hands it over, so that Qt itself picks the widget
// under the pointer: none of them may take the files for itself.
TEST_F(MainFrameTest, FilesDroppedAnywhereOnTheWindowReachTheList) {
  frame.resize(800, 600);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  QWidget* list = frame.View().viewport();
  const std::vector<QWidget*> widgets = {list, frame.View().horizontalHeader(), frame.ToolBar(),
                                         frame.statusBar(), frame.menuBar()};
  for (QWidget* widget : widgets) {
    const int rows = frame.View().RowCount();
    QMimeData data;
    const std::string file = folder.Put("datei" + std::to_string(rows) + ".txt", "x");
    data.setUrls({QUrl::fromLocalFile(TextOf(file))});
    const QPoint at = widget->mapTo(&frame, widget->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.windowHandle(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(frame.View().RowCount(), rows + 1) << widget->metaObject()->className();
  }
}

TEST_F(MainFrameTest, ExitClosesWithoutAskingAfterTheFilterChanged) {
  frame.show();
  frame.m_filter.mask = "geändert";
  frame.Action(CmdExit)->trigger();
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, DocumentCommandsOpenAndSaveAndMendThePath) {
  FilterSettings stored;
  stored.mask = "[name]_x.[typ]";
  const std::string filterPath = folder.PutFilter("x.fil", stored);
  const std::string picture = folder.Put("bild.png", "\x89PNG\r\n");
  prompter.chosenPaths = {filterPath, picture, folder.Path("neu")};
  frame.Action(CmdFileOpen)->trigger();
  EXPECT_EQ(frame.m_filter.mask, "[name]_x.[typ]");
  EXPECT_EQ(frame.windowTitle(), "Zul - x.fil");
  frame.Action(CmdFileOpen)->trigger();
  ASSERT_EQ(frame.View().RowCount(), 1);
  EXPECT_EQ(frame.View().Text(0, ColNewName), "bild_x.png");
  EXPECT_EQ(frame.windowTitle(), "Zul - x.fil");
  EXPECT_EQ(frame.Doc().PathName(), filterPath);

  frame.m_filter.mask = "anders";
  frame.Action(CmdFileSave)->trigger();  // to x.fil, without asking
  frame.Action(CmdFileSaveAs)->trigger();
  EXPECT_EQ(frame.windowTitle(), "Zul - neu.fil");
  ASSERT_EQ(prompter.choosers.size(), 3u);
  EXPECT_EQ(prompter.choosers[2].folder, filterPath);
  ASSERT_TRUE(frame.Doc().Open(filterPath));
  EXPECT_EQ(frame.m_filter.mask, "anders");
}

// A run that renames the open filter file takes the document along: caption and "Filter
// Speichern" follow the file, and the file that took its old name stays as it is.
TEST_F(MainFrameTest, TheDocumentFollowsItsFileThroughARun) {
  FilterSettings first;
  first.mask = "eins";
  FilterSettings second;
  second.mask = "zwei";
  const std::string one = folder.PutFilter("1.fil", first);
  folder.PutFilter("2.fil", second);
  ASSERT_TRUE(frame.Doc().Open(one));
  frame.View().AddFile(one);
  frame.View().AddFile(folder.Path("2.fil"));
  frame.View().Model().SetNewName(0, "0.fil");
  frame.View().Model().SetNewName(1, "1.fil");
  frame.View().RenameAll();
  EXPECT_EQ(frame.windowTitle(), "Zul - 0.fil");
  frame.m_filter.mask = "neu";
  frame.Action(CmdFileSave)->trigger();
  EXPECT_TRUE(prompter.messages.empty());
  std::string bytes;
  FilterSettings expected = first;
  expected.mask = "neu";
  WriteTo(expected, bytes);
  EXPECT_EQ(folder.Read("0.fil"), bytes);
  bytes.clear();
  WriteTo(second, bytes);
  EXPECT_EQ(folder.Read("1.fil"), bytes);
}

TEST_F(MainFrameTest, ListCommandsReachTheView) {
  prompter.chosenFiles = {{}};
  prompter.chosenFolders = {""};
  frame.Action(CmdAddFiles)->trigger();
  frame.Action(CmdAddFolder)->trigger();
  EXPECT_EQ(prompter.choosers.size(), 2u);
  prompter.dialogActions = {[](QDialog&) { return 0; }, [](QDialog&) { return 0; }};
  frame.Action(CmdEditFilter)->trigger();
  frame.Action(CmdSettings)->trigger();
  EXPECT_EQ(prompter.dialogsRun, 2);
}

TEST_F(MainFrameTest, CaptionShowsTheTitleAsWritten) {
  EXPECT_EQ(frame.windowTitle(), "Zul - Umbennenungstool");
  const std::string path = folder.PutFilter("a[*]b.fil", FilterSettings());
  ASSERT_TRUE(frame.Doc().Open(path));
  frame.show();
  EXPECT_EQ(frame.windowTitle(), "Zul - a[*][*]b.fil");
  EXPECT_EQ(frame.windowHandle()->title(), "Zul - a[*]b.fil");
}

TEST_F(MainFrameTest, DroppedFilesAreOpenedOneAfterTheOther) {
  FilterSettings stored;
  stored.mask = "[name]-neu.[typ]";
  const std::string filterPath = folder.PutFilter("d.fil", stored);
  folder.Put("eins.jpg", "1");
  folder.Put(std::string("zwei\xE4.jpg"), "2");  // not valid UTF-8: must arrive byte for byte
  const QString base = "file://" + QString::fromUtf8(QUrl::toPercentEncoding(
                                       QString::fromStdString(folder.Path("")), "/"));
  prompter.answers = {Prompter::Answer::Ok};
  // A file that cannot be opened gets its message; the files after it are still opened.
  Drop({QUrl(base + "fehlt.jpg"), QUrl(base + "eins.jpg"),
        QUrl::fromEncoded((base + "zwei%E4.jpg").toLatin1()), QUrl("https://example.org/x.jpg"),
        // Another machine's file, although one lies at the same path here.
        QUrl("file://anderer-rechner" + base.mid(7) + "eins.jpg"),
        QUrl::fromLocalFile(QFile::decodeName(filterPath.c_str()))});
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.endsWith("fehlt.jpg“ wurde nicht gefunden."));
  ASSERT_EQ(frame.View().RowCount(), 2);
  EXPECT_EQ(frame.View().Text(0, ColOldName), "eins.jpg");
  EXPECT_EQ(frame.View().Text(1, ColOldName), "zwei\xE4.jpg");
  EXPECT_EQ(frame.View().Text(1, ColNewName), "zwei\xE4.jpg");  // computed before d.fil came
  EXPECT_EQ(frame.m_filter.mask, "[name]-neu.[typ]");
  EXPECT_EQ(frame.windowTitle(), "Zul - d.fil");

  // Dropping the document's own file again does not reread it.
  frame.m_filter.mask = "behalten";
  Drop({QUrl::fromLocalFile(QFile::decodeName(filterPath.c_str()))});
  EXPECT_EQ(frame.m_filter.mask, "behalten");
  EXPECT_EQ(prompter.messages.size(), 1u);
}

}  // namespace zul
