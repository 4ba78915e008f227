#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "filelist/tests/scan_test_view.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

using Paths = std::vector<std::string>;

namespace {

// root: a.txt, noext, .hidden, filelink -> a.txt, an invalid UTF-8 name with "%" and a newline,
// sub/{g1, up -> root, .cache/{x}}.
struct RealTree {
  RealTree() {
    root = dir.Path();
    for (const char* file :
         {"/a.txt", "/noext", "/.hidden", "/bad\xff%\nname", "/sub/g1", "/sub/.cache/x"}) {
      const std::string path = root + file;
      std::filesystem::create_directories(std::filesystem::path(path).parent_path());
      std::ofstream(path) << "x";
    }
    EXPECT_EQ(symlink("a.txt", (root + "/filelink").c_str()), 0);
    EXPECT_EQ(symlink("..", (root + "/sub/up").c_str()), 0);
  }

  // The visible files of `folder` in the order the system lists them, descending into real
  // subfolders where they are listed.
  Paths Expected(const std::string& folder, bool subfolders) const {
    std::vector<FolderEntry> entries;
    EXPECT_FALSE(SystemFileSystem().ListFolder(folder, entries));
    Paths paths;
    for (const FolderEntry& entry : entries) {
      if (entry.name[0] == '.') continue;
      if (entry.kind != FolderEntry::Kind::Folder) {
        paths.push_back(folder + "/" + entry.name);
      } else if (subfolders && !entry.isLink) {
        const Paths inner = Expected(folder + "/" + entry.name, true);
        paths.insert(paths.end(), inner.begin(), inner.end());
      }
    }
    return paths;
  }

  TempFolder dir;
  std::string root;
};

}  // namespace

TEST(ScanRealFolder, ListsInReaddirOrderAndEndsTheLinkLoop) {
  RealTree tree;
  ScanTestView flat;
  flat.view.ScanFolder(tree.root);
  EXPECT_EQ(flat.Paths(), tree.Expected(tree.root, false));
  EXPECT_EQ(flat.view.RowCount(), 4);

  ScanTestView deep;
  deep.view.Options().includeSubfolders = true;
  deep.view.ScanFolder(tree.root + "/");
  const Paths paths = deep.Paths();
  EXPECT_EQ(paths, tree.Expected(tree.root, true));
  EXPECT_EQ(paths.size(), 5u);
  EXPECT_NE(std::find(paths.begin(), paths.end(), tree.root + "/filelink"), paths.end());
  EXPECT_NE(std::find(paths.begin(), paths.end(), tree.root + "/bad\xff%\nname"), paths.end());
  EXPECT_FALSE(deep.view.Text(0, ColModified).empty());
}

TEST(ScanRealFolder, AFolderThatCannotBeReadAddsNothingAndTheScanGoesOn) {
  RealTree tree;
  FakeFileSystem fs;
  fs.FailNth(FakeFileSystem::Op::ListFolder, 2, EACCES);  // the subfolder
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  t.view.ScanFolder(tree.root);
  EXPECT_EQ(t.Paths(), tree.Expected(tree.root, false));
  EXPECT_EQ(fs.Calls(FakeFileSystem::Op::ListFolder), 2);
}

}  // namespace zul
