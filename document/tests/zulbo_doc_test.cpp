#include "document/zulbo_doc.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/filter_file.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/temp_folder.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

std::string FilterFileText(const FilterSettings& filter) {
  std::string text;
  WriteTo(filter, text);
  return text;
}

class ZulboDocTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.IsValid()); }

  std::string PathOf(const std::string& name) const { return dir.Path(name); }
  std::string Put(const std::string& name, const std::string& bytes) const {
    return dir.Put(name, bytes);
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  TempFolder dir;
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  FilterSettings filter;
  CZulboView view{filter, services};
  CZulboDoc doc{filter, view, services, nullptr};
  QSignalSpy titles{&doc, &CZulboDoc::TitleChanged};
};

FilterSettings Edited() {
  FilterSettings f;
  f.mask = "Urlaub_[index].[typ]";
  f.start = 10;
  f.digits = 3;
  return f;
}

}  // namespace

TEST_F(ZulboDocTest, OpeningAFilterFileMakesItCurrentAndTheDocumentsPath) {
  const std::string path = Put("urlaub.fil", FilterFileText(Edited()));
  EXPECT_EQ(doc.Title(), "Umbennenungstool");
  EXPECT_TRUE(doc.Open(path));
  EXPECT_EQ(filter.mask, "Urlaub_[index].[typ]");
  EXPECT_EQ(filter.start, 10);
  EXPECT_EQ(doc.PathName(), path);
  EXPECT_EQ(doc.Title(), "urlaub.fil");
  ASSERT_EQ(titles.count(), 1);
  EXPECT_EQ(titles[0][0].toString(), "urlaub.fil");
  EXPECT_EQ(view.RowCount(), 0);
}

TEST_F(ZulboDocTest, OtherFilesGoToTheListAndNeverBecomeThePath) {
  const std::string filterPath = Put("a.fil", FilterFileText(Edited()));
  ASSERT_TRUE(doc.Open(filterPath));
  filter.mask = "neu_[name].[typ]";

  const std::string picture = Put("bild.jpg", "\xFF\xD8\xFF\xE0 JFIF");
  const std::string lowerCase = Put("klein.fil", "filter-datei\n100\n[name]\n");
  const std::string otherVersion = Put("v101.fil", "FILTER-DATEI\n101\nX\n");
  for (const std::string& path : {picture, lowerCase, otherVersion}) EXPECT_TRUE(doc.Open(path));

  ASSERT_EQ(view.RowCount(), 3);
  EXPECT_EQ(view.Text(0, ColOldName), "bild.jpg");
  EXPECT_EQ(view.Text(0, ColNewName), "neu_bild.jpg");  // recomputed at once
  EXPECT_EQ(view.Text(1, ColNewName), "neu_klein.fil");
  EXPECT_EQ(view.Text(2, ColOldName), "v101.fil");
  EXPECT_EQ(filter.mask, "neu_[name].[typ]");
  EXPECT_EQ(doc.PathName(), filterPath);
  EXPECT_EQ(doc.Title(), "a.fil");

  // So saving still writes the filter file, and the picture keeps its bytes.
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_EQ(Contents(picture), "\xFF\xD8\xFF\xE0 JFIF");
  FilterSettings saved;
  StringLineSource source(Contents(filterPath));
  EXPECT_EQ(ReadFrom(saved, source), ReadOk);
  EXPECT_EQ(saved.mask, "neu_[name].[typ]");
}

TEST_F(ZulboDocTest, TheCurrentPathIsNotOpenedAgain) {
  const std::string path = Put("a.fil", FilterFileText(Edited()));
  ASSERT_TRUE(doc.Open(path));
  filter.mask = "geändert";
  EXPECT_TRUE(doc.Open(PathOf("./a.fil")));
  EXPECT_EQ(filter.mask, "geändert");
}

TEST_F(ZulboDocTest, EmptyFileIsNotReadButTakesThePath) {
  filter = Edited();
  const std::string path = Put("leer.fil", "");
  EXPECT_TRUE(doc.Open(path));
  EXPECT_EQ(filter.mask, Edited().mask);
  EXPECT_EQ(view.RowCount(), 0);
  EXPECT_EQ(doc.PathName(), path);
  EXPECT_EQ(doc.Title(), "leer.fil");
}

// An empty file not named as a filter file is a file to rename like any other: it never becomes
// the document's path, which the next "Filter Speichern" would write over.
TEST_F(ZulboDocTest, OtherEmptyFilesGoToTheList) {
  filter = Edited();
  for (const char* name : {"leer.txt", "__init__.py", "fil"}) {
    EXPECT_TRUE(doc.Open(Put(name, "")));
    EXPECT_EQ(view.Text(view.RowCount() - 1, ColOldName), name);
  }
  EXPECT_EQ(view.RowCount(), 3);
  EXPECT_EQ(doc.PathName(), "");
  EXPECT_EQ(titles.count(), 0);
  EXPECT_EQ(filter.mask, Edited().mask);
}

// "Filter Speichern" replaces only the file the document opened or saved last. Where another file
// has taken its path, it asks as "Speichern unter" does; No leads to "Speichern unter".
TEST_F(ZulboDocTest, SaveAsksBeforeReplacingAnotherFileAtItsPath) {
  const std::string path = Put("a.fil", FilterFileText(FilterSettings()));
  ASSERT_TRUE(doc.Open(path));
  filter = Edited();
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_TRUE(doc.OnFileSave());  // its own file, although each save writes a new one
  EXPECT_TRUE(prompter.messages.empty());

  ASSERT_EQ(::rename(path.c_str(), PathOf("b.fil").c_str()), 0);
  Put("a.fil", "kostbar");
  prompter.answers = {Prompter::Answer::No};
  prompter.chosenPaths = {""};
  EXPECT_FALSE(doc.OnFileSave());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "Filter Speichern");
  EXPECT_EQ(
      prompter.messages[0].text,
      QString::fromStdString("„" + path + "“ existiert bereits.\nSoll die Datei ersetzt werden?"));
  EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(prompter.choosers.size(), 1u);
  EXPECT_EQ(Contents(path), "kostbar");

  prompter.answers = {Prompter::Answer::Yes};
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_EQ(Contents(path), FilterFileText(Edited()));
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_EQ(prompter.messages.size(), 2u);
}

// The document follows its file through the list's renames and their roll-back, by name and
// identity: a file of the same name elsewhere is not its file.
TEST_F(ZulboDocTest, FollowsItsFileThroughRenames) {
  const std::string path = Put("1.fil", FilterFileText(Edited()));
  ASSERT_TRUE(doc.Open(path));
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(PathOf("anders"))));
  Put("anders/1.fil", "x");
  Put("anders/0.fil", "y");
  const RenamePlan plan = {{PathOf("anders"), "1.fil", "0.fil"},
                           {dir.Path(), "1.fil", "0.fil"},
                           {dir.Path(), "2.fil", "1.fil"}};
  ASSERT_EQ(::rename(path.c_str(), PathOf("0.fil").c_str()), 0);
  Put("1.fil", "former 2.fil");
  doc.FollowRenames(plan, {0, 1, 2}, false);
  EXPECT_EQ(doc.PathName(), PathOf("0.fil"));
  EXPECT_EQ(doc.Title(), "0.fil");
  EXPECT_EQ(titles.count(), 2);

  // The roll-back, last rename first.
  ASSERT_EQ(::rename(path.c_str(), PathOf("2.fil").c_str()), 0);
  ASSERT_EQ(::rename(PathOf("0.fil").c_str(), path.c_str()), 0);
  doc.FollowRenames(plan, {2, 1}, true);
  EXPECT_EQ(doc.PathName(), path);
  EXPECT_EQ(doc.Title(), "1.fil");
}

TEST_F(ZulboDocTest, UnreadableFilesGiveTheGermanMessageAndChangeNothing) {
  filter = Edited();
  prompter.answers = {Prompter::Answer::Ok, Prompter::Answer::Ok};
  EXPECT_FALSE(doc.Open(PathOf("fehlt.fil")));
  EXPECT_FALSE(doc.Open(dir.Path()));
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, QString("Fehler beim Öffnen des Dokuments.\n„%1/fehlt.fil“ "
                                               "wurde nicht gefunden.")
                                           .arg(QString::fromStdString(dir.Path())));
  EXPECT_EQ(prompter.messages[0].title, "");
  EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::Ok);
  EXPECT_TRUE(prompter.messages[1].text.endsWith("ist ein Verzeichnis."));
  EXPECT_EQ(filter.mask, Edited().mask);
  EXPECT_EQ(view.RowCount(), 0);
  EXPECT_EQ(doc.PathName(), "");
  EXPECT_EQ(titles.count(), 0);
}

TEST_F(ZulboDocTest, OpenCommandUsesTheChooserWithBothFileTypes) {
  const std::string path = Put("b.fil", FilterFileText(Edited()));
  prompter.chosenPaths = {"", path};
  EXPECT_FALSE(doc.OnFileOpen());
  EXPECT_TRUE(doc.OnFileOpen());
  ASSERT_EQ(prompter.choosers.size(), 2u);
  EXPECT_EQ(prompter.choosers[0].filters, CZulboDoc::FileFilters());
  EXPECT_EQ(filter.mask, Edited().mask);
}

TEST_F(ZulboDocTest, DialogsShowTheDescriptionsOfBothFileTypes) {
  QFileDialog dialog;
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(CZulboDoc::FileFilters().split(";;"));
  auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(types, nullptr);
  ASSERT_EQ(types->count(), 2);
  EXPECT_EQ(types->itemText(0), ".fil");
  EXPECT_EQ(types->itemText(1), "Alle Dateien (*.*)");
}

TEST_F(ZulboDocTest, AppendedExtensionNeverReplacesAFileUnasked) {
  const std::string existing = Put("da.fil", "kostbar");
  prompter.chosenPaths = {PathOf("da"), PathOf("da")};
  prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
  EXPECT_TRUE(doc.OnFileSaveAs());
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].title, "Speichern unter");
  EXPECT_EQ(prompter.messages[0].text,
            QString::fromStdString("„" + existing +
                                   "“ existiert bereits.\nSoll die Datei ersetzt werden?"));
  // After No the dialog comes again, proposing the name with its extension.
  ASSERT_EQ(prompter.choosers.size(), 2u);
  EXPECT_EQ(prompter.choosers[1].folder, existing);
  EXPECT_EQ(Contents(existing), FilterFileText(FilterSettings()));
  EXPECT_EQ(doc.PathName(), existing);

  prompter.chosenPaths = {PathOf("da"), ""};
  prompter.answers = {Prompter::Answer::No};
  filter = Edited();
  EXPECT_FALSE(doc.OnFileSaveAs());
  EXPECT_EQ(Contents(existing), FilterFileText(FilterSettings()));
}

TEST_F(ZulboDocTest, SaveWithoutPathAsksAndAppendsTheExtension) {
  filter = Edited();
  prompter.chosenPaths = {PathOf("meiner")};
  EXPECT_TRUE(doc.OnFileSave());
  ASSERT_EQ(prompter.choosers.size(), 1u);
  EXPECT_EQ(prompter.choosers[0].caption, "Speichern unter");
  EXPECT_EQ(prompter.choosers[0].folder, "Umbennenungstool.fil");
  EXPECT_EQ(prompter.choosers[0].filters, CZulboDoc::FileFilters());
  EXPECT_EQ(doc.PathName(), PathOf("meiner.fil"));
  EXPECT_EQ(doc.Title(), "meiner.fil");
  EXPECT_EQ(Contents(PathOf("meiner.fil")), FilterFileText(Edited()));

  // Saving again writes to the path without asking.
  filter.mask = "zwei";
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_EQ(prompter.choosers.size(), 1u);
  EXPECT_NE(Contents(PathOf("meiner.fil")).find("\nzwei\n"), std::string::npos);
}

TEST_F(ZulboDocTest, SaveAsProposesTheTitleCutAtTheFirstSeparator) {
  EXPECT_EQ(CZulboDoc::ProposedFileName("Umbennenungstool"), "Umbennenungstool.fil");
  EXPECT_EQ(CZulboDoc::ProposedFileName("mein filter.fil"), "mein.fil");
  for (const char* title : {"a#b", "a%b", "a;b", "a/b", "a\\b"})
    EXPECT_EQ(CZulboDoc::ProposedFileName(title), "a.fil") << title;
  EXPECT_EQ(CZulboDoc::ProposedFileName("urlaub.fil"), "urlaub.fil.fil");

  prompter.chosenPaths = {PathOf("x.txt"), ""};
  EXPECT_TRUE(doc.OnFileSaveAs());
  EXPECT_EQ(doc.PathName(), PathOf("x.txt"));               // a typed extension stays
  EXPECT_FALSE(doc.OnFileSaveAs());                         // cancelled
  EXPECT_EQ(prompter.choosers[1].folder, PathOf("x.txt"));  // its own file
  EXPECT_EQ(doc.PathName(), PathOf("x.txt"));
}

TEST_F(ZulboDocTest, ReadOnlyFileIsSavedUnderANewName) {
  const std::string locked = Put("fest.fil", FilterFileText(FilterSettings()));
  ASSERT_TRUE(doc.Open(locked));
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  filter = Edited();
  prompter.chosenPaths = {PathOf("frei.fil")};
  EXPECT_TRUE(doc.OnFileSave());
  EXPECT_EQ(prompter.choosers.size(), 1u);
  EXPECT_EQ(Contents(locked), FilterFileText(FilterSettings()));
  EXPECT_EQ(Contents(PathOf("frei.fil")), FilterFileText(Edited()));
  EXPECT_EQ(doc.PathName(), PathOf("frei.fil"));
}

TEST_F(ZulboDocTest, FailedSaveKeepsPathAndShowsTheGermanMessage) {
  const std::string first = Put("erst.fil", FilterFileText(FilterSettings()));
  ASSERT_TRUE(doc.Open(first));
  prompter.chosenPaths = {PathOf("kein/ordner.fil")};
  prompter.answers = {Prompter::Answer::Ok};
  EXPECT_FALSE(doc.OnFileSaveAs());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.startsWith("Fehler beim Speichern des Dokuments.\n„"));
  EXPECT_TRUE(prompter.messages[0].text.endsWith("kein/ordner.fil“ wurde nicht gefunden."));
  EXPECT_EQ(doc.PathName(), first);
}

TEST_F(ZulboDocTest, SavingReplacesTheFileWholeAndKeepsItsMode) {
  const std::string path = Put("alt.fil", std::string(5000, 'x'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  prompter.chosenPaths = {path};
  EXPECT_TRUE(doc.OnFileSaveAs());
  EXPECT_EQ(Contents(path), FilterFileText(FilterSettings()));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).size(),
            1);  // no temporary file left
}

TEST_F(ZulboDocTest, HugeFileWithoutLineEndGoesToTheList) {
  // A gigabyte without a line feed (sparse, so it costs no disk), starting like a filter file.
  const std::string path = Put("riesig.bin", "FILTER-DATEI");
  ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 30), 0);
  filter = Edited();
  EXPECT_TRUE(doc.Open(path));
  EXPECT_EQ(view.RowCount(), 1);
  EXPECT_EQ(filter.mask, Edited().mask);
  EXPECT_EQ(doc.PathName(), "");
}

TEST_F(ZulboDocTest, DotDotAfterALinkLeadsWhereTheSystemSays) {
  // "link/../x" is real/x for the system, not x beside the link.
  ASSERT_EQ(::mkdir(PathOf("real").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(PathOf("real/sub").c_str(), 0755), 0);
  ASSERT_EQ(::symlink(PathOf("real/sub").c_str(), PathOf("link").c_str()), 0);
  Put("real/bild.jpg", "echt");
  Put("bild.jpg", "falsch");
  Put("real/a.fil", FilterFileText(Edited()));
  Put("a.fil", "FILTER-DATEI\n100\nfalsch\n");
  const std::string real = std::filesystem::canonical(PathOf("real")).string();

  EXPECT_TRUE(doc.Open(PathOf("link/../bild.jpg")));
  ASSERT_EQ(view.RowCount(), 1);
  EXPECT_EQ(view.Text(0, ColDirectory), real);
  EXPECT_EQ(view.Text(0, ColOldName), "bild.jpg");

  EXPECT_TRUE(doc.Open(PathOf("link/../a.fil")));
  EXPECT_EQ(filter.mask, Edited().mask);
  EXPECT_EQ(doc.PathName(), real + "/a.fil");
}

namespace {

struct WriteFailure {
  int error;
  const char* reason;
};

class ZulboDocWriteFailure : public ZulboDocTest,
                             public ::testing::WithParamInterface<WriteFailure> {};

// Whatever stops the write (a full disk, a folder that became read-only, the temporary file that
// cannot take the file's place), the file keeps its old content and the message says why.
TEST_P(ZulboDocWriteFailure, KeepsTheOldFileAndSaysWhy) {
  const std::string path = Put("alt.fil", FilterFileText(FilterSettings()));
  ASSERT_TRUE(doc.Open(path));
  filter = Edited();
  services.files.FailAll(FakeFileSystem::Op::WriteFileAtomically, GetParam().error);
  prompter.answers = {Prompter::Answer::Ok};
  EXPECT_FALSE(doc.OnFileSave());
  EXPECT_EQ(Contents(path), FilterFileText(FilterSettings()));
  EXPECT_EQ(doc.PathName(), path);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            QStringLiteral("Fehler beim Speichern des Dokuments.\n") +
                QString::fromUtf8(GetParam().reason).arg(QString::fromStdString(path)));
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ZulboDocWriteFailure,
    ::testing::Values(
        WriteFailure{ENOSPC, "Der Datenträger ist voll; „%1“ konnte nicht geschrieben werden."},
        WriteFailure{EROFS, "„%1“ liegt auf einem schreibgeschützten Datenträger."},
        WriteFailure{EACCES, "Zugriff auf „%1“ verweigert."},
        WriteFailure{EXDEV, "„%1“ liegt auf einem anderen Datenträger."}));

}  // namespace

}  // namespace zul
