#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/temp_folder.h"

namespace {

class LinuxFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_temp.IsValid());
    m_dir = m_temp.Path();
  }
  std::string Path(const std::string& name) const { return m_temp.Path(name); }
  void Write(const std::string& name, const std::string& content) const {
    m_temp.Put(name, content);
  }
  std::string Read(const std::string& name) const { return m_temp.Read(name); }

  FileSystem& m_fs = SystemFileSystem();
  TempFolder m_temp;
  std::string m_dir;
};

TEST_F(LinuxFileSystemTest, ReadTimesGivesLastWriteAndACreationTime) {
  Write("a.txt", "x");
  const timespec times[2] = {{0, UTIME_OMIT}, {946684799, 0}};  // 31.12.1999 23:59:59 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, Path("a.txt").c_str(), times, 0), 0);
  const auto read = m_fs.ReadTimes(Path("a.txt"));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->modified, 946684799);
  struct statx info {};
  ASSERT_EQ(statx(AT_FDCWD, Path("a.txt").c_str(), 0, STATX_BTIME, &info), 0);
  EXPECT_EQ(read->created,
            (info.stx_mask & STATX_BTIME) ? int64_t(info.stx_btime.tv_sec) : read->modified);

  EXPECT_FALSE(m_fs.ReadTimes(Path("missing")).has_value());
  EXPECT_FALSE(m_fs.ReadTimes("").has_value());
}

TEST_F(LinuxFileSystemTest, RenameNeverReplaces) {
  Write("a", "A");
  Write("b", "B");
  const int folder = m_fs.OpenFolder(m_dir);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "a", "b"), EEXIST);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "missing", "c"), ENOENT);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "a", std::string(300, 'n')), ENAMETOOLONG);
  EXPECT_EQ(Read("a"), "A");
  EXPECT_EQ(Read("b"), "B");

  EXPECT_EQ(m_fs.RenameInFolder(folder, "a", "c"), 0);
  EXPECT_EQ(Read("a"), "<missing>");
  EXPECT_EQ(Read("c"), "A");
  m_fs.CloseFolder(folder);
}

TEST_F(LinuxFileSystemTest, RenameToItselfSucceedsOnlyWhenTheFileExists) {
  Write("a", "A");
  const int folder = m_fs.OpenFolder(m_dir);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "a", "a"), 0);
  EXPECT_EQ(Read("a"), "A");
  EXPECT_EQ(m_fs.RenameInFolder(folder, "gone", "gone"), ENOENT);
  m_fs.CloseFolder(folder);
}

TEST_F(LinuxFileSystemTest, CaseChangeOfDistinctFilesStillNeverReplaces) {
  Write("a", "lower");
  Write("A", "upper");
  Write("x\xff", "bytes");  // invalid UTF-8 kept byte for byte
  const int folder = m_fs.OpenFolder(m_dir);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "a", "A"), EEXIST);
  EXPECT_EQ(Read("a"), "lower");
  EXPECT_EQ(Read("A"), "upper");
  EXPECT_EQ(m_fs.RenameInFolder(folder, "x\xff", "X\xfe"), 0);
  EXPECT_EQ(Read("X\xfe"), "bytes");
  m_fs.CloseFolder(folder);
}

// Two names of one inode stand in here for the two spellings of one file on a case-insensitive
// file system: only a change of letter case may pass the existing name, and nothing is lost.
TEST_F(LinuxFileSystemTest, CaseChangeOfTheSameFileSucceeds) {
  Write("foto.JPG", "F");
  ASSERT_EQ(link(Path("foto.JPG").c_str(), Path("Foto.jpg").c_str()), 0);
  ASSERT_EQ(link(Path("foto.JPG").c_str(), Path("other").c_str()), 0);
  const int folder = m_fs.OpenFolder(m_dir);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "foto.JPG", "Foto.jpg"), 0);
  EXPECT_EQ(m_fs.RenameInFolder(folder, "foto.JPG", "other"), EEXIST);
  EXPECT_EQ(Read("Foto.jpg"), "F");
  EXPECT_EQ(Read("other"), "F");
  m_fs.CloseFolder(folder);
}

TEST_F(LinuxFileSystemTest, OpenFolderReportsErrno) {
  Write("file", "");
  EXPECT_EQ(m_fs.OpenFolder(Path("missing")), -ENOENT);
  EXPECT_EQ(m_fs.OpenFolder(Path("file")), -ENOTDIR);
}

TEST_F(LinuxFileSystemTest, ListFolderGivesKindsOfLinkTargets) {
  Write("file", "");
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("file", Path("toFile").c_str()), 0);
  ASSERT_EQ(symlink("sub", Path("toSub").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", Path("dangling").c_str()), 0);
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0644), 0);

  std::vector<FolderEntry> entries;
  ASSERT_TRUE(m_fs.ListFolder(m_dir, entries));
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  using K = FolderEntry::Kind;
  const std::vector<std::tuple<std::string, K, bool>> expected = {
      {"dangling", K::Other, true}, {"fifo", K::Other, false}, {"file", K::File, false},
      {"sub", K::Folder, false},    {"toFile", K::File, true}, {"toSub", K::Folder, true}};
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].name, std::get<0>(expected[i]));
    EXPECT_EQ(entries[i].kind, std::get<1>(expected[i])) << entries[i].name;
    EXPECT_EQ(entries[i].isLink, std::get<2>(expected[i])) << entries[i].name;
  }

  std::vector<FolderEntry> none;
  EXPECT_FALSE(m_fs.ListFolder(Path("missing"), none));
  EXPECT_TRUE(none.empty());
}

TEST_F(LinuxFileSystemTest, IdentifyFolderFollowsLinks) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub", Path("link").c_str()), 0);
  Write("file", "");
  const auto direct = m_fs.IdentifyFolder(Path("sub"));
  ASSERT_TRUE(direct.has_value());
  EXPECT_EQ(m_fs.IdentifyFolder(Path("link")), direct);
  EXPECT_NE(m_fs.IdentifyFolder(m_dir), direct);
  EXPECT_FALSE(m_fs.IdentifyFolder(Path("file")).has_value());
  EXPECT_FALSE(m_fs.IdentifyFolder(Path("missing")).has_value());
}

TEST_F(LinuxFileSystemTest, FakeFailsTheChosenCallAndCountsAll) {
  Write("a", "A");
  Write("b", "B");
  FakeFileSystem fake;
  EXPECT_EQ(&CurrentFileSystem(), &fake);
  fake.FailNth(FakeFileSystem::Op::RenameInFolder, 2, EACCES);
  const int folder = CurrentFileSystem().OpenFolder(m_dir);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(CurrentFileSystem().RenameInFolder(folder, "a", "a2"), 0);
  EXPECT_EQ(CurrentFileSystem().RenameInFolder(folder, "b", "b2"), EACCES);
  EXPECT_EQ(CurrentFileSystem().RenameInFolder(folder, "b", "b2"), 0);
  CurrentFileSystem().CloseFolder(folder);
  EXPECT_EQ(Read("a2"), "A");
  EXPECT_EQ(Read("b2"), "B");
  EXPECT_EQ(fake.Calls(FakeFileSystem::Op::RenameInFolder), 3);
  EXPECT_EQ(fake.Calls(FakeFileSystem::Op::OpenFolder), 1);
  EXPECT_EQ(fake.Calls(FakeFileSystem::Op::CloseFolder), 1);

  fake.FailAll(FakeFileSystem::Op::OpenFolder, EACCES);
  EXPECT_EQ(CurrentFileSystem().OpenFolder(m_dir), -EACCES);
  fake.FailAll(FakeFileSystem::Op::ReadTimes, EIO);
  EXPECT_FALSE(CurrentFileSystem().ReadTimes(Path("a2")).has_value());
}

TEST(FakeFileSystemLifetime, RestoresTheRealFileSystem) {
  { FakeFileSystem fake; }
  EXPECT_EQ(&CurrentFileSystem(), &SystemFileSystem());
}

}  // namespace
