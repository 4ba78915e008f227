#include "core/unique_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/testing/fake_capture_reader.h"
#include "core/file_rows.h"
#include "core/plan_check.h"
#include "core/rename_plan.h"
#include "engine/random.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

// "[eindeutig]" numbers only the names that would collide, in display order, against the rows
// before and the disk; the check then finds no conflict where a name was made unique.

namespace {

struct UniqueCase {
  const char* title;
  std::vector<std::string> rows;    // "folder/name"
  std::vector<std::string> onDisk;  // other files, "folder/name"
  const char* mask;
  std::vector<std::string> expected;
};

class UniqueNames : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(UniqueNames, NumberOnlyWhatCollides) {
  const UniqueCase& test = GetParam();
  const ScopedRandomState random{1};
  MemoryFileSystem disk;
  disk.AddFolder("/a");
  disk.AddFolder("/b");
  disk.AddFolder("/ci", /*ignoresCase=*/true);
  FileRows rows;
  for (const std::string& path : test.rows) {
    disk.AddFile("/" + path);
    const size_t slash = path.find('/');
    rows.Append("/" + path.substr(0, slash), path.substr(slash + 1), FileTimes{0, 1551364259});
  }
  for (const std::string& path : test.onDisk) disk.AddFile("/" + path);
  FilterSettings filter;
  filter.mask = test.mask;
  const FakeCaptureReader noMetadata;
  rows.ComputeNewNames(filter, noMetadata);
  MakeNamesUnique(rows, disk);
  std::vector<std::string> names;
  for (int i = 0; i < rows.Count(); ++i) names.push_back(rows.Text(i, ColNewName));
  EXPECT_EQ(names, test.expected);
  for (const StepIssue issue : CheckPlan(MakePlan(rows), disk))
    EXPECT_FALSE(IsConflict(issue)) << static_cast<int>(issue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UniqueNames,
    ::testing::Values(UniqueCase{"BurstOfOneSecond",
                                 {"a/1.jpg", "a/2.jpg", "a/3.jpg"},
                                 {},
                                 "[ajjjj]-[amm]-[att]_[ah]-[am]-[as][eindeutig].[typ]",
                                 {"2019-02-28_14-30-59.jpg", "2019-02-28_14-30-59-2.jpg",
                                  "2019-02-28_14-30-59-3.jpg"}},
                      UniqueCase{"AFileOnDiskTakesTheFirstName",
                                 {"a/1.jpg", "a/2.jpg"},
                                 {"a/x.jpg"},
                                 "x[unique].[typ]",
                                 {"x-2.jpg", "x-3.jpg"}},
                      UniqueCase{"FoldersCountApart",
                                 {"a/1.jpg", "b/2.jpg", "a/3.jpg"},
                                 {},
                                 "x[eindeutig].[typ]",
                                 {"x.jpg", "x.jpg", "x-2.jpg"}},
                      UniqueCase{"AFileRenamedAwayEarlierFreesItsName",
                                 {"a/y.jpg", "a/z.jpg"},
                                 {},
                                 "y[eindeutig].[typ]",
                                 // y.jpg keeps its name; z.jpg would collide with it.
                                 {"y.jpg", "y-2.jpg"}},
                      UniqueCase{"AnEarlierRowsOldNameFreedByItsRename",
                                 {"a/2.txt", "a/z.txt"},
                                 {},
                                 "[index][eindeutig].[typ]",
                                 {"1.txt", "2.txt"}},
                      UniqueCase{"TheSlotCanStandAnywhereAndTwice",
                                 {"a/1.jpg", "a/2.jpg"},
                                 {},
                                 "[eindeutig]a[eindeutig].[typ]",
                                 {"a.jpg", "-2a-2.jpg"}},
                      UniqueCase{"LetterCaseWhereTheFolderIgnoresIt",
                                 {"ci/1.JPG", "ci/2.jpg"},
                                 {"ci/X.jpg"},
                                 "x[eindeutig].jpg",
                                 {"x-2.jpg", "x-3.jpg"}},
                      UniqueCase{"AFileRenamedOnlyLaterStillStandsInTheWay",
                                 {"a/1.jpg", "a/x.jpg"},
                                 {},
                                 "x[eindeutig].[typ]",
                                 {"x-2.jpg", "x.jpg"}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(EmptyTagWarning, MarksRowsWhoseMetadataPlaceholderCameOutEmpty) {
  const ScopedRandomState random{1};
  MemoryFileSystem disk;
  disk.AddFolder("/m");
  FileRows rows;
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
    disk.AddFile(std::string("/m/") + name);
    rows.Append("/m", name, FileTimes{});
  }
  FakeCaptureReader reader;
  reader.tags["/m/a.mp3"].artist = "AC/DC";
  reader.tags["/m/a.mp3"].track = 7;
  reader.tags["/m/b.mp3"].track = 8;  // no artist
  FilterSettings filter;
  filter.mask = "[spur] - [interpret][eindeutig].[typ]";
  rows.ComputeNewNames(filter, reader);
  MakeNamesUnique(rows, disk);
  EXPECT_EQ(rows.Text(0, ColNewName), "07 - AC-DC.mp3");
  EXPECT_EQ(rows.Text(1, ColNewName), "08 - .mp3");
  EXPECT_EQ(rows.Text(2, ColNewName), " - .mp3");
  const std::vector<StepIssue> issues = CheckPlan(MakePlan(rows), disk);
  EXPECT_EQ(issues,
            (std::vector<StepIssue>{StepIssue::None, StepIssue::EmptyTag, StepIssue::EmptyTag}));
  EXPECT_FALSE(IsConflict(StepIssue::EmptyTag));
  EXPECT_EQ(reader.askedTags.size(), 3u);

  // Read once per row; a filter without metadata placeholders clears the warning.
  rows.ComputeNewNames(filter, reader);
  EXPECT_EQ(reader.askedTags.size(), 3u);
  filter.mask = "[name]-[index].[typ]";
  rows.ComputeNewNames(filter, reader);
  for (const StepIssue issue : CheckPlan(MakePlan(rows), disk)) EXPECT_EQ(issue, StepIssue::None);
}

}  // namespace

}  // namespace zul
