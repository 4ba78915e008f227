#include <sys/stat.h>
#include <utime.h>

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/zulren.h"
#include "document/filter_file.h"
#include "document/input_line_source.h"
#include "engine/clock.h"
#include "engine/random.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

using Names = std::vector<std::string>;

// A tree with subfolders where their names fall, names that are not UTF-8 and that sort
// differently as bytes than as text, different times, and capture times for some files.
struct Tree {
  TempFolder dir;
  std::string root = dir.Path("fotos");
  FakeCaptureReader captures;

  Tree() {
    const char* files[] = {"IMG_2.jpg",   "img_1.jpg",   "Zoo.png",     "\xc3\xa4rger.jpg",
                           "bad\xff.jpg", "b/inner.jpg", "b/deeper/x",  "a.txt",
                           "c/\xfe\xfe",  ".hidden",     ".git/config", "noext"};
    ::mkdir(root.c_str(), 0755);
    for (const char* sub : {"/b", "/b/deeper", "/c", "/.git"}) ::mkdir((root + sub).c_str(), 0755);
    int64_t written = 1'600'000'000;
    for (const char* file : files) {
      const std::string path = root + "/" + file;
      dir.Put("fotos/" + std::string(file), file);
      written += 86'400 + 3'607;
      const utimbuf times{written, written};
      ::utime(path.c_str(), &times);
    }
    captures.times[root + "/IMG_2.jpg"] = 1'500'000'000;
    captures.times[root + "/b/inner.jpg"] = 1'400'000'000;
  }
};

// The filter file both front ends read.
std::string WriteFilter(TempFolder& dir, const std::string& mask) {
  FilterSettings filter;
  filter.mask = mask;
  filter.start = 7;
  filter.step = 3;
  std::string bytes;
  WriteTo(filter, bytes);
  dir.Put("test.fil", bytes);
  return dir.Path("test.fil");
}

// The new names the window gives the folder added with its subfolders, sorted as asked.
Names WindowNames(Tree& tree, const std::string& filterFile, int sortColumn) {
  TestServices test;
  const Services services{test.files, test.prompter, test.opener, test.journals, tree.captures};
  FilterSettings filter;
  {
    Result<std::unique_ptr<InputFile>> input = test.files.OpenInput(filterFile);
    EXPECT_TRUE(input);
    if (!input) return {};
    InputLineSource source(**input);
    EXPECT_EQ(ReadFrom(filter, source), ReadOk);
  }
  CZulboView view(filter, services);
  view.Options().includeSubfolders = true;
  view.ScanFolder(tree.root);
  if (sortColumn >= 0) view.OnColumnClick(sortColumn);
  SetRandomState(4711);  // the scan drew once per folder; both start the names from here
  view.RecomputeNewNames();
  Names names;
  for (int row = 0; row < view.RowCount(); ++row)
    names.push_back(view.Text(row, ColDirectory) + "/" + view.Text(row, ColNewName));
  return names;
}

// The new names zulren gives the same folder with -r and the same sort, from its -0 list.
Names ZulrenNames(Tree& tree, const std::string& filterFile, Options::Sort sort) {
  TestServices services;
  Options options;
  options.filterFile = filterFile;
  options.paths = {tree.root};
  options.recursive = true;
  options.sort = sort;
  options.null = true;
  std::ostringstream out;
  std::ostringstream err;
  SetRandomState(4711);
  EXPECT_EQ(RunZulren(options, services.files, services.journals, tree.captures, {out, err}),
            kExitOk)
      << err.str();
  Names names;
  const std::string list = out.str();
  for (size_t start = 0, field = 0; start < list.size(); ++field) {
    const size_t end = list.find('\0', start);
    if (field % 2 == 1) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

struct SortCase {
  const char* name;
  int column;
  Options::Sort sort;
};

class WindowAndZulren : public ::testing::TestWithParam<SortCase> {};

// The same filter over the same files in the same order gives every file the same new name in
// the window and in zulren: the order of a folder's entries, where subfolders come, the dates,
// the capture dates, the counter and the generator all agree.
TEST_P(WindowAndZulren, GiveEveryFileTheSameNewName) {
  const ScopedClock clock([] { return LocalTime{2024, 2, 29, 13, 5, 9}; });
  const ScopedRandomState random(1);
  Tree tree;
  const std::string filter =
      WriteFilter(tree.dir, "[index]_[zufall]_[adatum]_[azeit]_[fdatum]_[fzeit]_[name].[typ]");
  const Names window = WindowNames(tree, filter, GetParam().column);
  const Names zulren = ZulrenNames(tree, filter, GetParam().sort);
  ASSERT_EQ(window.size(), 10u) << "the hidden ones and .git left out";
  EXPECT_EQ(window, zulren);
}

INSTANTIATE_TEST_SUITE_P(
    Sorts, WindowAndZulren,
    ::testing::Values(SortCase{"AsScanned", -1, Options::Sort::None},
                      SortCase{"ByName", ColOldName, Options::Sort::Name},
                      SortCase{"ByModified", ColModified, Options::Sort::Modified},
                      SortCase{"ByCaptured", ColCaptured, Options::Sort::Captured}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

}  // namespace

}  // namespace zul
