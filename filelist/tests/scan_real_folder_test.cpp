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

  // The visible entries of the root in byte order of their names, and with `subfolders` those
  // of sub where its name falls; links are rows of their own and never followed.
  Paths Expected(bool subfolders) const {
    Paths paths = {root + "/a.txt", root + "/bad\xff%\nname", root + "/filelink", root + "/noext"};
    if (subfolders) paths.insert(paths.end(), {root + "/sub/g1", root + "/sub/up"});
    return paths;
  }

  TempFolder dir;
  std::string root;
};

}  // namespace

TEST(ScanRealFolder, ListsInByteOrderAndNeverFollowsALinkToAFolder) {
  RealTree tree;
  ScanTestView flat;
  flat.view.ScanFolder(tree.root);
  EXPECT_EQ(flat.Paths(), tree.Expected(false));

  ScanTestView deep;
  deep.view.Options().includeSubfolders = true;
  deep.view.ScanFolder(tree.root + "/");
  EXPECT_EQ(deep.Paths(), tree.Expected(true));
  EXPECT_FALSE(deep.view.Text(0, ColModified).empty());
}

TEST(ScanRealFolder, AFolderThatCannotBeReadAddsNothingAndTheScanGoesOn) {
  RealTree tree;
  FakeFileSystem fs;
  fs.FailNth(FakeFileSystem::Op::ListFolder, 2, EACCES);  // the subfolder
  ScanTestView t(fs);
  t.view.Options().includeSubfolders = true;
  t.view.ScanFolder(tree.root);
  EXPECT_EQ(t.Paths(), tree.Expected(false));
  EXPECT_EQ(fs.Calls(FakeFileSystem::Op::ListFolder), 2);
}

}  // namespace zul
