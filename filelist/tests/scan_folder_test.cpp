#include <algorithm>

#include <gtest/gtest.h>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>

#include "engine/clock.h"
#include "engine/gcc_restrict_bug.h"
#include "engine/random.h"
#include "filelist/tests/scan_test_view.h"
#include "filelist/tests/scan_tree_file_system.h"

namespace zul {

using Paths = std::vector<std::string>;

namespace {

// f1, sub/{g1, deeper/{h1}}, .git/{x}, .dotfile, f2, with a file link and a folder link elsewhere.
void BuildTree(ScanTreeFileSystem& fs) {
  fs.File("/t", "f1");
  fs.Sub("/t", "sub");
  fs.File("/t/sub", "g1");
  fs.Sub("/t/sub", "deeper");
  fs.File("/t/sub/deeper", "h1");
  fs.Sub("/t", ".git");
  fs.File("/t/.git", "x");
  fs.File("/t", ".dotfile");
  fs.File("/t", "f2");
}

}  // namespace

TEST(ScanFolder, WithoutSubfoldersAddsOnlyTheFolderOwnVisibleFiles) {
  ScanTreeFileSystem fs;
  BuildTree(fs);
  ScanTestView t(fs);
  t.view.ScanFolder("/t");
  EXPECT_EQ(t.Paths(), (Paths{"/t/f1", "/t/f2"}));
  EXPECT_EQ(fs.listed, (Paths{"/t"}));
}

TEST(ScanFolder, SubfoldersComeWhereTheirNameFallsAndDotFoldersAreNeverEntered) {
  ScanTreeFileSystem fs;
  BuildTree(fs);
  fs.File("/t", "Z");  // upper case comes first in byte order
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  t.view.ScanFolder("/t/");
  EXPECT_EQ(t.Paths(), (Paths{"/t/Z", "/t/f1", "/t/f2", "/t/sub/deeper/h1", "/t/sub/g1"}));
  EXPECT_EQ(fs.listed, (Paths{"/t", "/t/sub", "/t/sub/deeper"}));
  EXPECT_EQ(t.view.Text(4, ColDirectory), "/t/sub");
  EXPECT_EQ(t.view.Text(4, ColNewName), ".g1");  // recomputed with the default mask
}

// Links are rows like any file and are never followed: a link to a folder outside the chosen
// one must not bring in (and later rename) files from there.
TEST(ScanFolder, LinksAreRowsAndNeverFollowed) {
  ScanTreeFileSystem fs;
  fs.File("/t", "a");
  fs.File("/t", "filelink", /*isLink=*/true);
  fs.LinkToFolder("/t", "outside", "/o");  // not yet scanned: followed
  fs.File("/o", "o1");
  fs.LinkToFolder("/o", "back", "/t");  // loop back to the chosen folder
  fs.Sub("/t", "sub");
  fs.LinkToFolder("/t/sub", "self", "/t/sub");  // loop onto itself
  fs.LinkToFolder("/t/sub", "again", "/o");     // already scanned through "outside"
  fs.File("/t/sub", "s1");
  fs.LinkToFolder("/t", "dangling", "/missing");
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  t.view.ScanFolder("/t");
  EXPECT_EQ(t.Paths(), (Paths{"/t/a", "/t/dangling", "/t/filelink", "/t/outside", "/t/sub/again",
                              "/t/sub/s1", "/t/sub/self"}));
  EXPECT_EQ(fs.listed, (Paths{"/t", "/t/sub"}));
}

TEST(ScanFolder, UnreadableFolderAddsNothingAndTheScanGoesOn) {
  ScanTreeFileSystem fs;
  fs.File("/t", "f1");
  fs.Sub("/t", "locked");
  fs.File("/t/locked", "secret");
  fs.Unreadable("/t/locked");
  fs.File("/t", "f2");
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  t.view.ScanFolder("/t");
  EXPECT_EQ(t.Paths(), (Paths{"/t/f1", "/t/f2"}));

  // An unreadable or vanished chosen folder adds nothing but still refreshes the names.
  t.filter.mask = "n[index]";
  t.view.ScanFolder("/t/locked");
  t.view.ScanFolder("/gone");
  EXPECT_EQ(t.NewNames(), (Paths{"n1", "n2"}));
}

namespace {

// The per-folder recomputation exactly as written: every folder's scan ends with a full one.
void NaiveScan(FileSystem& files, CZulboView& view, std::string folder) {
  if (folder.back() != '/') folder += '/';
  std::vector<FolderEntry> entries;
  (void)files.ListFolder(folder, entries);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  for (const FolderEntry& entry : entries) {
    if (entry.name[0] == '.') continue;
    if (entry.kind == FolderEntry::Kind::Folder && !entry.isLink) {
      if (view.Options().includeSubfolders) NaiveScan(files, view, folder + entry.name);
    } else {
      view.AddFile(folder + entry.name);
    }
  }
  view.RecomputeNewNames();
}

}  // namespace

ZUL_GCC_RESTRICT_BUG_BEGIN
TEST(ScanFolder, RandomNamesEqualThoseOfARecomputationAfterEveryFolder) {
  const ScopedClock clock([] { return LocalTime{2024, 2, 29, 13, 5, 9}; });
  ScanTreeFileSystem fs;
  for (int i = 0; i < 5; ++i) fs.File("/t", "top" + std::to_string(i));
  for (int s = 0; s < 4; ++s) {
    const std::string sub = "/t/s" + std::to_string(s);
    fs.Sub("/t", "s" + std::to_string(s));
    for (int i = 0; i < 3 + s; ++i) fs.File(sub, "f" + std::to_string(i));
    fs.Sub(sub, "empty");
    fs.Sub(sub, "inner");
    fs.File(sub + "/inner", "deep");
  }
  fs.File("/t", "last");

  auto scan = [&fs](bool naive, uint32_t& stateAfter) {
    ScanTestView t(fs);
    t.filter.mask = "[zufall]-[datum]";
    t.filter.step = 30000;
    t.view.Options().includeSubfolders = true;
    t.view.AddFile("/before/x");  // rows already listed take part in every recomputation
    SetRandomState(4711);
    if (naive) {
      NaiveScan(fs, t.view, "/t");
      NaiveScan(fs, t.view, "/t/s1");
    } else {
      t.view.ScanFolder("/t");
      t.view.ScanFolder("/t/s1");
    }
    stateAfter = RandomState();
    return t.NewNames();
  };
  uint32_t naiveState = 0;
  uint32_t scanState = 0;
  const Paths expected = scan(true, naiveState);
  const Paths names = scan(false, scanState);
  ASSERT_EQ(expected.size(), 1u + 5 + (3 + 4 + 5 + 6) + 4 + 1 + (4 + 1));
  EXPECT_EQ(names, expected);
  EXPECT_EQ(scanState, naiveState);
  EXPECT_NE(expected[0], expected[1]);
}
ZUL_GCC_RESTRICT_BUG_END

TEST(ScanFolder, CancellingKeepsTheRowsFoundAndRecomputesOnce) {
  ScanTreeFileSystem fs;
  fs.Sub("/t", "a");
  fs.File("/t/a", "a1");
  fs.File("/t/a", "a2");
  fs.File("/t", "f1");
  fs.File("/t", "f2");
  fs.File("/t", "f3");
  ScanTestView t(fs, /*cancelAfter=*/3);
  t.filter.mask = "n[index]";
  t.view.Options().includeSubfolders = true;
  SetRandomState(1);
  QSignalSpy said(&t.view, &CZulboView::StatusMessage);
  t.view.ScanFolder("/t");
  EXPECT_EQ(t.Paths(), (Paths{"/t/a/a1", "/t/a/a2", "/t/f1"}));
  ASSERT_EQ(said.count(), 1);
  EXPECT_EQ(said[0][0].toString(), "Hinzufügen abgebrochen: 3 Dateien hinzugefügt.");
  EXPECT_EQ(t.NewNames(), (Paths{"n1", "n2", "n3"}));
  // The finished folder's recomputation (2 rows) and the final one (3 rows).
  const uint32_t state = RandomState();
  SetRandomState(1);
  SkipRandom(5);
  EXPECT_EQ(state, RandomState());
}

TEST(ScanProgress, TellsTheFilesFoundSoFar) {
  ScanTreeFileSystem fs;
  fs.File("/t", "a");
  fs.File("/t", "b");
  ScanTestView t(fs);
  QSignalSpy said(&t.view, &CZulboView::StatusMessage);
  t.view.ScanFolder("/t");
  EXPECT_EQ(said.count(), 0) << "a finished scan says nothing";
  ASSERT_EQ(t.prompter.progressStarted.size(), 1u);
  EXPECT_EQ(t.prompter.progressStarted[0].first,
            QStringLiteral("Dateien werden hinzugefügt...\n0 Dateien gefunden"));
  EXPECT_EQ(t.prompter.progressDone.back(), 2);
}

TEST(ScanFolder, HandsTheRowsToTheListInFewChunks) {
  ScanTreeFileSystem fs;
  for (int s = 0; s < 10; ++s) {
    fs.Sub("/t", "s" + std::to_string(s));
    for (int i = 0; i < 1000; ++i) fs.File("/t/s" + std::to_string(s), std::to_string(i));
  }
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  std::vector<std::pair<int, int>> inserted;
  QObject::connect(&t.view.Model(), &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int first, int last) {
                     inserted.push_back({first, last});
                   });
  t.view.ScanFolder("/t");
  ASSERT_EQ(t.view.RowCount(), 10'000);
  Paths names;
  for (int i = 0; i < 1000; ++i) names.push_back(std::to_string(i));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(t.Paths()[4321], "/t/s4/" + names[321]);
  EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{0, 4095}, {4096, 8191}, {8192, 9999}}));
}

}  // namespace zul
