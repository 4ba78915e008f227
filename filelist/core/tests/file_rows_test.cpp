#include "filelist/core/file_rows.h"

#include <gtest/gtest.h>

#include "engine/random.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace {

FileEntry Row(const std::string& name, const std::string& created = "") {
  return {name, name, "/d", created, created};
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
  rows.SetText(4, ColNewName, "second b");
  rows.Reorder(rows.SortOrder(ColOldName, true));
  EXPECT_EQ(Names(rows),
            (std::vector<std::string>{"C.txt", "a.txt", "b.txt", "b.txt", "\xc3\xa4.txt"}));
  EXPECT_EQ(rows.Text(3, ColNewName), "second b") << "equal keys keep their order";
  rows.Reorder(rows.SortOrder(ColOldName, false));
  EXPECT_EQ(rows.Text(0, ColOldName), "\xc3\xa4.txt");
  EXPECT_EQ(rows.Text(1, ColNewName), "b.txt") << "also when descending";
}

TEST(FileRows, DateColumnsSortChronologicallyAndShortTextsGiveTheirPieces) {
  FileRows rows;
  rows.Append(Row("new", "01.01.2007   00:00:00"));
  rows.Append(Row("old", "31.12.2006   23:59:59"));
  rows.Append(Row("unknown", ""));
  rows.Append(Row("cut", "15.06."));
  rows.Reorder(rows.SortOrder(ColCreated, true));
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"unknown", "cut", "old", "new"}));
}

TEST(FileRows, RemovesAndSwapsInOnePass) {
  FileRows rows;
  for (const char* name : {"r0", "r1", "r2", "r3", "r4"}) rows.Append(Row(name));
  rows.Remove({1, 3});
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"r0", "r2", "r4"}));
  rows.Swap(0, 2);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"r4", "r2", "r0"}));
}

TEST(FileRows, EvaluatesEveryRowWithItsPositionAndOneDrawEach) {
  FileRows rows;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) rows.Append(Row(name));
  FilterSettings filter;
  filter.mask = "[index]-[name].[typ]";
  const ScopedRandomState random(1);
  rows.SetNewNames(rows.EvaluateNewNames(filter));
  EXPECT_EQ(rows.Text(2, ColNewName), "3-c.jpg");
  EXPECT_EQ(RandomState(), [] {
    const ScopedRandomState again(1);
    SkipRandom(3);
    return RandomState();
  }());
}

TEST(MakeEntry, SplitsThePathKeepsTheBytesAndFormatsTheTimes) {
  MemoryFileSystem disk;
  disk.AddFolder("/fotos");
  disk.AddFile(
      "/fotos/Gr\xf6\xdf"
      "e.jpg",
      "", {946684799, 1078099205});
  const FileEntry entry = MakeEntry(disk,
                                    "/fotos/Gr\xf6\xdf"
                                    "e.jpg");
  EXPECT_EQ(entry.oldName,
            "Gr\xf6\xdf"
            "e.jpg");
  EXPECT_EQ(entry.newName, entry.oldName);
  EXPECT_EQ(entry.directory, "/fotos");
  EXPECT_EQ(entry.created, "31.12.1999   23:59:59");
  EXPECT_EQ(entry.modified, "01.03.2004   00:00:05");

  FakeFileSystem failing(disk);
  failing.FailAll(FakeFileSystem::Op::ReadTimes, EACCES);
  const FileEntry locked = MakeEntry(failing,
                                     "/fotos/Gr\xf6\xdf"
                                     "e.jpg");
  EXPECT_EQ(locked.created, "");
  EXPECT_EQ(locked.modified, "");
  EXPECT_EQ(MakeEntry(disk, "/root.txt").directory, "");
}

}  // namespace
