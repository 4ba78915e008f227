#include <gtest/gtest.h>

#include "engine/random.h"
#include "filelist/tests/scan_test_view.h"
#include "filelist/tests/scan_tree_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

using Paths = std::vector<std::string>;

TEST(AddFiles, AddsTheChosenFilesInOrderAndRecomputesOnce) {
  ScanTreeFileSystem fs;
  fs.File("/t", "b.txt");
  fs.File("/t", "noext");
  ScanTestView t(fs);
  ScriptedPrompter& prompter = t.prompter;
  t.filter.mask = "[index]_[name]";
  prompter.chosenFiles.push_back({"/t/b.txt", "/t/noext", "/t/b.txt"});
  t.view.OnAddFiles();
  ASSERT_EQ(prompter.choosers.size(), 1u);
  EXPECT_EQ(prompter.choosers[0].folder, "");
  EXPECT_EQ(prompter.choosers[0].filters, QStringLiteral("Alle Dateien *.* (*)"));
  EXPECT_EQ(t.Paths(), (Paths{"/t/b.txt", "/t/noext", "/t/b.txt"}));
  EXPECT_EQ(t.NewNames(), (Paths{"1_b", "2_", "3_b"}));
  EXPECT_EQ(t.view.Text(0, ColCreated), "31.12.1999   23:59:59");

  // Cancelled: nothing added, nothing recomputed (no random value drawn).
  const uint32_t state = RandomState();
  prompter.chosenFiles.push_back({});
  t.view.OnAddFiles();
  EXPECT_EQ(t.view.RowCount(), 3);
  EXPECT_EQ(RandomState(), state);
}

// The file dialog hands names over as text, so a name that is not valid UTF-8 comes back altered
// and names no file: it is not added, and the message says which names and what keeps them.
TEST(AddFiles, NamesTheDialogAlteredAreNotAddedButNamed) {
  TempFolder folder;
  ASSERT_TRUE(folder.IsValid());
  const std::string good = folder.Put("gut.txt", "1");
  folder.Put("bad\xFF.txt", "2");
  ScanTestView t;
  ScriptedPrompter& prompter = t.prompter;
  const std::string altered = folder.Path("bad\xEF\xBF\xBD.txt");
  const std::string gone = folder.Path("weg.txt");
  prompter.chosenFiles.push_back({altered, good, gone});
  prompter.answers = {Prompter::Answer::Ok};
  t.view.OnAddFiles();
  EXPECT_EQ(t.Paths(), (Paths{good}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  const ScriptedPrompter::Shown& shown = prompter.messages[0];
  EXPECT_EQ(shown.title, QStringLiteral("Datei(en) hinzufügen"));
  EXPECT_TRUE(shown.text.startsWith(QStringLiteral("2 Dateien konnten nicht hinzugefügt werden")));
  EXPECT_TRUE(shown.text.contains(QStringLiteral("„Verzeichnis hinzufügen...“")));
  EXPECT_EQ(shown.list,
            (QStringList{QString::fromStdString(altered), QString::fromStdString(gone)}));
  EXPECT_EQ(shown.icon, Prompter::Icon::Warning);
}

TEST(AddFolder, InstructionSaysWhetherSubfoldersAreIncluded) {
  ScanTestView t;
  ScriptedPrompter& prompter = t.prompter;
  prompter.chosenFolders = {"", ""};
  t.view.OnAddFolder();
  t.view.Options().includeSubfolders = true;
  t.view.OnAddFolder();
  ASSERT_EQ(prompter.choosers.size(), 2u);
  EXPECT_EQ(prompter.choosers[0].caption,
            QStringLiteral("Wählen Sie den Ordner, den Sie hinzufügen möchten (OHNE Unterordner)"));
  EXPECT_EQ(prompter.choosers[1].caption,
            QStringLiteral("Wählen Sie den Ordner, den Sie hinzufügen möchten "
                           "(Unterordner werden ebenfalls hinzugefügt)"));
}

TEST(AddFolder, BothDialogsStartInTheFolderAddedLast) {
  ScanTreeFileSystem fs;
  fs.File("/t", "a.txt");
  fs.Sub("/u", "empty");
  fs.File("/x", "other.txt");
  ScanTestView t(fs);
  ScriptedPrompter& prompter = t.prompter;
  t.filter.mask = "[zufall]";

  prompter.chosenFolders = {"", "/t", "/u/empty"};
  prompter.chosenFiles = {{"/x/other.txt"}, {}};
  t.view.OnAddFolder();  // cancelled: lastFolder stays empty
  EXPECT_EQ(t.view.Options().lastFolder, "");
  t.view.OnAddFolder();
  EXPECT_EQ(t.Paths(), (Paths{"/t/a.txt"}));
  EXPECT_EQ(t.view.Options().lastFolder, "/t");

  t.view.OnAddFiles();  // does not change lastFolder
  EXPECT_EQ(t.view.Options().lastFolder, "/t");
  t.view.OnAddFiles();

  // An empty folder adds nothing but still recomputes the rows listed: one draw per row.
  SetRandomState(99);
  t.view.OnAddFolder();
  const uint32_t after = RandomState();
  SetRandomState(99);
  SkipRandom(2);
  EXPECT_EQ(after, RandomState());
  EXPECT_EQ(t.view.RowCount(), 2);
  EXPECT_EQ(t.view.Options().lastFolder, "/u/empty");

  ASSERT_EQ(prompter.choosers.size(), 5u);
  EXPECT_EQ(prompter.choosers[0].folder, "");
  EXPECT_EQ(prompter.choosers[1].folder, "");
  EXPECT_EQ(prompter.choosers[2].folder, "/t");  // file dialog
  EXPECT_EQ(prompter.choosers[3].folder, "/t");  // file dialog again
  EXPECT_EQ(prompter.choosers[4].folder, "/t");  // folder browser
}

// The chosen folder's rows stay in the list when its scan is cancelled, so the folder counts as
// added: the next dialogs start there, e.g. to pick a smaller part of it.
TEST(AddFolder, ACancelledScanKeepsItsRowsAndTheFolder) {
  ScanTreeFileSystem fs;
  fs.File("/big", "a");
  fs.File("/big", "b");
  fs.File("/big", "c");
  ScanTestView t(fs, /*cancelAfter=*/2);
  ScriptedPrompter& prompter = t.prompter;
  prompter.chosenFolders = {"/big"};
  t.view.OnAddFolder();
  EXPECT_EQ(t.Paths(), (Paths{"/big/a", "/big/b"}));
  EXPECT_EQ(t.view.Options().lastFolder, "/big");
}

}  // namespace zul
