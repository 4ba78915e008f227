#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "capture/tests/pinned_time_zone.h"
#include "core/date_text.h"
#include "filelist/tests/rename_fixture.h"
#include "platform/testing/fake_file_system.h"

namespace zul {

namespace {

TEST(DateTextTest, FormatsUtcWithFixedPositions) {
  EXPECT_EQ(DateText(946684799), "31.12.1999   23:59:59");
  EXPECT_EQ(DateText(1078099205), "01.03.2004   00:00:05");
  EXPECT_EQ(DateText(1167987787), "05.01.2007   09:03:07");
  EXPECT_EQ(DateText(-1), "31.12.1969   23:59:59");
  EXPECT_EQ(DateText(951782400), "29.02.2000   00:00:00");
  // The year is plain decimal, not a fixed four digits.
  EXPECT_EQ(DateText(-30610224002), "31.12.999   23:59:58");
  EXPECT_EQ(DateText(253402300800), "01.01.10000   00:00:00");
  EXPECT_EQ(DateText(INT64_MAX), "");
  EXPECT_EQ(DateText(INT64_MIN), "");
}

using AddFileTest = ListOnDisk;

TEST_F(AddFileTest, SplitsThePathAndKeepsTheBytes) {
  const std::string names[] = {"Müller Ä.txt", "bad\xff\xfe.txt", "new\nline", "100%.txt", "noext"};
  for (const std::string& name : names) {
    Make(name);
    m_view.AddFile(Path(name));
  }
  ASSERT_EQ(m_view.RowCount(), 5);
  for (int i = 0; i < 5; ++i) {
    const FileEntry& row = m_view.Model().Row(i);
    EXPECT_EQ(row.oldName, names[i]);
    EXPECT_EQ(row.newName, names[i]);
    EXPECT_EQ(row.directory, m_dir);
    EXPECT_EQ(row.created.size(), 21u);
    EXPECT_EQ(row.modified.size(), 21u);
  }
}

TEST_F(AddFileTest, ShowsTheTimesAsLocalText) {
  const PinnedTimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
  Make("a.txt");
  const timespec times[2] = {{0, UTIME_OMIT}, {946684799, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Path("a.txt").c_str(), times, 0), 0);
  m_view.AddFile(Path("a.txt"));
  const FileEntry& row = m_view.Model().Row(0);
  EXPECT_EQ(row.modified, "01.01.2000   00:59:59");
  const auto read = SystemFileSystem().ReadTimes(Path("a.txt"));
  ASSERT_TRUE(read);
  EXPECT_EQ(row.created, DateText(LocalSeconds(read->created)));
}

TEST_F(AddFileTest, AFileThatCannotBeExaminedIsAddedWithEmptyDates) {
  m_view.AddFile(Path("missing.txt"));
  {
    Make("locked.txt");
    FakeFileSystem& fake = FreshFake();
    fake.FailAll(FakeFileSystem::Op::ReadTimesInFolder, EACCES);
    m_view.AddFile(Path("locked.txt"));
  }
  ASSERT_EQ(m_view.RowCount(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(m_view.Text(i, ColCreated), "");
    EXPECT_EQ(m_view.Text(i, ColModified), "");
  }
  EXPECT_EQ(m_view.Text(1, ColOldName), "locked.txt");
  m_view.RecomputeNewNames();
  EXPECT_EQ(m_view.Text(0, ColNewName), "missing.txt");
}

TEST_F(AddFileTest, FolderPartsOfRootAndRelativePaths) {
  m_view.AddFile("/x.jpg");
  EXPECT_EQ(m_view.Text(0, ColOldName), "x.jpg");
  EXPECT_EQ(m_view.Text(0, ColDirectory), "");

  m_view.AddFile("relative.txt");
  EXPECT_EQ(m_view.Text(1, ColOldName), "relative.txt");
  EXPECT_EQ(m_view.Text(1, ColDirectory), std::filesystem::current_path().native());
}

TEST_F(AddFileTest, TheSameFileTwiceGivesTwoRowsThatDifferAfterAnIndexedRecompute) {
  Make("b.txt");
  m_view.AddFile(Path("b.txt"));
  m_view.AddFile(Path("b.txt"));
  const FileEntry& first = m_view.Model().Row(0);
  const FileEntry& second = m_view.Model().Row(1);
  EXPECT_EQ(first.oldName, second.oldName);
  EXPECT_EQ(first.created, second.created);
  m_filter.mask = "[index]-[name].[typ]";
  m_view.RecomputeNewNames();
  EXPECT_EQ(m_view.Text(0, ColNewName), "1-b.txt");
  EXPECT_EQ(m_view.Text(1, ColNewName), "2-b.txt");
}

TEST_F(AddFileTest, RecomputeFillsEveryRowFromTheCurrentFilter) {
  m_view.RecomputeNewNames();  // empty list: nothing to do
  for (const char* name : {"a.txt", "b.jpg", "c.png"}) {
    Make(name);
    m_view.AddFile(Path(name));
  }
  m_view.RecomputeNewNames();
  EXPECT_EQ(m_view.Text(0, ColNewName), "a.txt");
  EXPECT_EQ(m_view.Text(2, ColNewName), "c.png");

  m_filter.mask = "[index]";
  m_filter.start = 0;
  m_filter.digits = 2;
  int changes = 0;
  QObject::connect(&m_view.Model(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
  m_view.RecomputeNewNames();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(m_view.Text(0, ColNewName), "00");
  EXPECT_EQ(m_view.Text(1, ColNewName), "01");
  EXPECT_EQ(m_view.Text(2, ColNewName), "02");
  EXPECT_EQ(m_view.Text(2, ColOldName), "c.png");
}

TEST_F(AddFileTest, InitialUpdateClearsTheSelectionAndKeepsTheRows) {
  Make("a.txt");
  m_view.AddFile(Path("a.txt"));
  m_view.AddFile(Path("a.txt"));
  m_view.selectAll();
  ASSERT_EQ(m_view.selectionModel()->selectedRows().size(), 2);
  m_view.OnInitialUpdate();
  EXPECT_TRUE(m_view.selectionModel()->selectedRows().isEmpty());
  EXPECT_EQ(m_view.RowCount(), 2);
}

}  // namespace

}  // namespace zul
