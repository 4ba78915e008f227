#include "core/file_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "capture/testing/fake_capture_reader.h"
#include "core/date_text.h"
#include "core/folder_cache.h"
#include "engine/gcc_restrict_bug.h"
#include "engine/random.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

// Strings built from short literals all through these tests.
ZUL_GCC_RESTRICT_BUG_BEGIN

namespace {

FileRecord Row(const std::string& name, std::optional<FileTimes> times = std::nullopt) {
  return {"/d", name, times};
}

std::vector<std::string> Names(const FileRows& rows) {
  std::vector<std::string> names;
  for (int i = 0; i < rows.Count(); ++i) names.push_back(rows.Text(i, ColOldName));
  return names;
}

TEST(FileRows, SortsAsAHeaderClickDoesStableAndByBytes) {
  FileRows rows;
  for (const char* name : {"b.txt", "C.txt", "\xc3\xa4.txt", "a.txt", "b.txt"})
    rows.Append(Row(name));
  rows.SetNewName(4, "second b");
  rows.Sort(ColOldName, true);
  EXPECT_EQ(Names(rows),
            (std::vector<std::string>{"C.txt", "a.txt", "b.txt", "b.txt", "\xc3\xa4.txt"}));
  EXPECT_EQ(rows.Text(3, ColNewName), "second b") << "equal keys keep their order";
  rows.Sort(ColOldName, false);
  EXPECT_EQ(rows.Text(0, ColOldName), "\xc3\xa4.txt");
  EXPECT_EQ(rows.Text(1, ColNewName), "b.txt") << "also when descending";
}

TEST(FileRows, DateColumnsSortChronologicallyAndOddYearsByTheirTexts) {
  FileRows rows;
  rows.Append(Row("new", FileTimes{1167609600, 0}));      // 01.01.2007   00:00:00
  rows.Append(Row("old", FileTimes{1167609599, 0}));      // 31.12.2006   23:59:59
  rows.Append(Row("unknown"));                            // no text
  rows.Append(Row("999", FileTimes{-30610224002, 0}));    // 31.12.999   23:59:58
  rows.Append(Row("10000", FileTimes{253402300800, 0}));  // 01.01.10000   00:00:00
  rows.Sort(ColCreated, true);
  // Keys "", "100001010   00:00:00", "20061231...", "20070101...", "999 1231  23:59:58".
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"unknown", "10000", "old", "new", "999"}));
}

// The order of the date texts' keys, as a column of texts sorted: year from position 6 (four
// characters), month from 3, day from 0, the rest from 10; ties keep their order.
std::vector<int> OrderOfTheTexts(const std::vector<std::string>& texts, bool ascending) {
  std::vector<std::string> keys;
  for (const std::string& text : texts) {
    std::string key;
    for (const auto& [pos, count] : {std::pair<size_t, size_t>{6, 4}, {3, 2}, {0, 2}, {10, 99}})
      if (pos < text.size()) key += text.substr(pos, count);
    keys.push_back(key);
  }
  std::vector<int> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return ascending ? keys[a] < keys[b] : keys[b] < keys[a]; });
  return order;
}

TEST(FileRows, DateColumnsSortAsTheirTextsWhateverTheTimes) {
  // Around the epoch, the years 1000 and 10000 (where the year's digits change), the years 0 and
  // -1, beyond the calendar, and none.
  const int64_t year1000 = -30610224000;
  const int64_t year10000 = 253402300800;
  const std::vector<std::optional<int64_t>> times = {
      0,          -1,           1167609600,   1167609599,
      1700000000, year1000,     year1000 - 1, year10000 - 1,
      year10000,  -62167219200, -62198755200, INT64_MAX,
      INT64_MIN,  std::nullopt};
  std::mt19937 random(4711);
  FileRows rows;
  for (int i = 0; i < 300; ++i) {
    const std::optional<int64_t> a = times[random() % times.size()];
    const std::optional<int64_t> b = times[random() % times.size()];
    std::optional<FileTimes> fileTimes;
    if (a && b) fileTimes = FileTimes{*a, *b};
    rows.Append(Row("r" + std::to_string(i), fileTimes));
    EXPECT_EQ(rows.Text(i, ColCreated), fileTimes ? DateText(*a) : "");
    EXPECT_EQ(rows.Text(i, ColModified), fileTimes ? DateText(*b) : "");
  }
  for (const int column : {ColCreated, ColModified, ColCreated}) {
    for (const bool ascending : {true, false}) {
      std::vector<std::string> names;
      std::vector<std::string> texts;
      for (int i = 0; i < rows.Count(); ++i) {
        names.push_back(rows.Text(i, ColOldName));
        texts.push_back(rows.Text(i, column));
      }
      const std::vector<int> order = OrderOfTheTexts(texts, ascending);
      const std::vector<int> moved = rows.Sort(column, ascending);
      for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(rows.Text(int(i), ColOldName), names[order[i]]) << column << ascending << i;
        ASSERT_EQ(moved[order[i]], int(i));
      }
    }
  }
}

TEST(FileRows, RemovesSwapsAndReorders) {
  FileRows rows;
  for (const char* name : {"r0", "r1", "r2", "r3", "r4"}) rows.Append(Row(name));
  rows.Remove({1, 3});
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"r0", "r2", "r4"}));
  rows.Swap(0, 2);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"r4", "r2", "r0"}));
  for (const char* name : {"r5", "r6", "r7"}) rows.Append(Row(name));
  // In place: two cycles of positions, 0 <- 3 <- 5 <- 1 <- 0 and 2 <- 4 <- 2.
  rows.Reorder({3, 0, 4, 5, 2, 1});
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"r5", "r4", "r6", "r7", "r0", "r2"}));
}

TEST(FileRows, NewNamesAreEvaluatedPerRowAndSetOneByOne) {
  FileRows rows;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) rows.Append(Row(name));
  FilterSettings filter;
  filter.mask = "[index]-[name].[typ]";
  const ScopedRandomState random(1);
  rows.ComputeNewNames(filter, FakeCaptureReader());
  EXPECT_EQ(rows.Text(2, ColNewName), "3-c.jpg");
  EXPECT_EQ(RandomState(), [] {
    const ScopedRandomState again(1);
    SkipRandom(3);
    return RandomState();
  }());
  // Back to the old name, away from it, and to an empty one.
  rows.SetNewName(2, "c.jpg");
  rows.SetNewName(1, "");
  EXPECT_EQ(rows.Row(2).newName, "c.jpg");
  EXPECT_EQ(rows.Row(1).newName, "");
  EXPECT_EQ(rows.Row(1).oldName, "b.jpg");
  EXPECT_EQ(rows.Row(0).newName, "1-a.jpg");
}

TEST(FileRows, AppendingRowsKeepsEachRowsFolder) {
  FileRows rows;
  rows.Append({"/x", "a", std::nullopt});
  FileRows more;
  more.Append({"/y", "b", std::nullopt});
  more.Append({"/x", "c", std::nullopt});
  more.Append({"", "d", std::nullopt});
  rows.Append(std::move(more));
  EXPECT_EQ(more.Count(), 0);
  ASSERT_EQ(rows.Count(), 4);
  EXPECT_EQ(rows.Text(1, ColDirectory), "/y");
  EXPECT_EQ(rows.Text(2, ColDirectory), "/x");
  EXPECT_EQ(rows.Text(3, ColDirectory), "");
  rows.Sort(ColDirectory, true);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"d", "a", "c", "b"}));
  rows.Remove({0, 1, 2, 3});
  rows.Append({"/z", "e", std::nullopt});
  EXPECT_EQ(rows.Text(0, ColDirectory), "/z");
}

TEST(MakeRecord, SplitsThePathKeepsTheBytesAndReadsTheTimesInTheFolder) {
  MemoryFileSystem disk;
  disk.AddFolder("/fotos");
  const std::string name =
      "Gr\xf6\xdf"
      "e.jpg";
  disk.AddFile("/fotos/" + name, "", {946684799, 1078099205});
  disk.AddFile("/fotos/b.jpg", "", {1, 2});
  FakeFileSystem files(disk);
  FolderCache folders(files);
  const FileRecord record = MakeRecord(folders, "/fotos/" + name);
  EXPECT_EQ(record.name, name);
  EXPECT_EQ(record.directory, "/fotos");
  ASSERT_TRUE(record.times);
  EXPECT_EQ(record.times->created, 946684799);
  EXPECT_EQ(record.times->modified, 1078099205);
  EXPECT_EQ(MakeRecord(folders, "/fotos/b.jpg").times->modified, 2);
  EXPECT_EQ(files.Calls(FakeFileSystem::Op::OpenFolder), 1) << "the folder stays open";
  EXPECT_EQ(files.Calls(FakeFileSystem::Op::ReadTimes), 0);

  files.FailAll(FakeFileSystem::Op::ReadTimesInFolder, EACCES);
  EXPECT_FALSE(MakeRecord(folders, "/fotos/" + name).times);
  EXPECT_FALSE(MakeRecord(folders, "/missing/" + name).times);
  EXPECT_EQ(MakeRecord(folders, "/root.txt").directory, "");
  // A path that ends in '/' names no file in a folder: it is looked up as it is.
  const FileRecord folder = MakeRecord(folders, "/fotos/");
  EXPECT_EQ(folder.name, "");
  EXPECT_EQ(folder.directory, "/fotos");
  EXPECT_TRUE(folder.times);
}

}  // namespace

ZUL_GCC_RESTRICT_BUG_END

}  // namespace zul
