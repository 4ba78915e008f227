#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

class LinuxFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_temp.IsValid());
    m_dir = m_temp.Path();
  }
  void TearDown() override {
    if (m_folder >= 0) m_fs.CloseFolder(m_folder);
  }
  std::string Path(const std::string& name) const { return m_temp.Path(name); }
  void Write(const std::string& name, const std::string& content) const {
    m_temp.Put(name, content);
  }
  std::string Read(const std::string& name) const { return m_temp.Read(name); }
  int Folder() {
    if (m_folder < 0) m_folder = m_fs.OpenFolder(m_dir).value();
    return m_folder;
  }

  LinuxFileSystem m_fs;
  TempFolder m_temp;
  std::string m_dir;
  int m_folder = -1;
};

// Stands for a folder that ignores letter case, which this machine's file systems cannot give.
class CaseFoldingFileSystem : public LinuxFileSystem {
 public:
  bool IgnoresCase(int) override { return true; }
};

TEST_F(LinuxFileSystemTest, ReadTimesGivesLastWriteAndACreationTime) {
  Write("a.txt", "x");
  const timespec times[2] = {{0, UTIME_OMIT}, {946684799, 0}};  // 31.12.1999 23:59:59 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, Path("a.txt").c_str(), times, 0), 0);
  const auto read = m_fs.ReadTimes(Path("a.txt"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->modified, 946684799);
  struct statx info {};
  ASSERT_EQ(statx(AT_FDCWD, Path("a.txt").c_str(), 0, STATX_BTIME, &info), 0);
  EXPECT_EQ(read->created,
            (info.stx_mask & STATX_BTIME) ? int64_t(info.stx_btime.tv_sec) : read->modified);
  EXPECT_EQ(m_fs.ReadTimes("").error().value(), ENOENT);
}

// Two links of one file whose names differ only in case are two files to the user: a rename
// between them would do nothing, so it fails as any rename onto an existing name does. Only a
// folder that ignores case lets the spelling change.
TEST_F(LinuxFileSystemTest, CaseChangeBetweenLinksOfOneFileNeedsAFolderThatIgnoresCase) {
  Write("foto.JPG", "F");
  ASSERT_EQ(link(Path("foto.JPG").c_str(), Path("Foto.jpg").c_str()), 0);
  ASSERT_EQ(link(Path("foto.JPG").c_str(), Path("other").c_str()), 0);
  EXPECT_EQ(m_fs.RenameInFolder(Folder(), "foto.JPG", "Foto.jpg").value(), EEXIST);
  EXPECT_EQ(Read("foto.JPG"), "F");

  CaseFoldingFileSystem folding;
  const int folder = folding.OpenFolder(m_dir).value();
  EXPECT_FALSE(folding.RenameInFolder(folder, "foto.JPG", "Foto.jpg"));
  EXPECT_EQ(folding.RenameInFolder(folder, "Foto.jpg", "other").value(), EEXIST);
  folding.CloseFolder(folder);
  EXPECT_EQ(Read("Foto.jpg"), "F");
  EXPECT_EQ(Read("other"), "F");
}

TEST_F(LinuxFileSystemTest, ListFolderGivesKindsOfLinkTargets) {
  Write("file", "");
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("file", Path("toFile").c_str()), 0);
  ASSERT_EQ(symlink("sub", Path("toSub").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", Path("dangling").c_str()), 0);
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0644), 0);

  std::vector<FolderEntry> entries;
  ASSERT_FALSE(m_fs.ListFolder(m_dir, entries));
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
}

TEST_F(LinuxFileSystemTest, ExamineFollowsLinksAndIdentifyInFolderDoesNot) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub", Path("link").c_str()), 0);
  const auto direct = m_fs.Examine(Path("sub"));
  ASSERT_TRUE(direct);
  EXPECT_EQ(m_fs.Examine(Path("link"))->identity, direct->identity);
  EXPECT_NE(m_fs.IdentifyInFolder(Folder(), "link").value(), direct->identity);
  EXPECT_EQ(m_fs.IdentifyInFolder(Folder(), "sub").value(), direct->identity);
}

TEST_F(LinuxFileSystemTest, AFifoWithoutWriterReadsAsEmpty) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0644), 0);
  auto input = m_fs.OpenInput(Path("fifo"));
  ASSERT_TRUE(input);
  char buffer[16];
  EXPECT_EQ((*input)->Read(buffer, sizeof buffer).value(), 0u);
}

TEST_F(LinuxFileSystemTest, AtomicWriteKeepsModeAndLinksAndRefusesReadOnlyFiles) {
  Write("target.fil", "old");
  ASSERT_EQ(chmod(Path("target.fil").c_str(), 0640), 0);
  ASSERT_EQ(symlink("target.fil", Path("link.fil").c_str()), 0);
  EXPECT_FALSE(m_fs.WriteFileAtomically(Path("link.fil"), "new"));
  EXPECT_EQ(Read("target.fil"), "new");
  struct stat info {};
  ASSERT_EQ(lstat(Path("link.fil").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
  ASSERT_EQ(stat(Path("target.fil").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  Write("locked.fil", "keep");
  ASSERT_EQ(chmod(Path("locked.fil").c_str(), 0444), 0);
  EXPECT_EQ(m_fs.WriteFileAtomically(Path("locked.fil"), "x").value(), EACCES);
  EXPECT_EQ(Read("locked.fil"), "keep");
}

TEST_F(LinuxFileSystemTest, FolderLimitsAreAskedOfTheFolder) {
  EXPECT_EQ(m_fs.MaxNameLength(Folder()),
            static_cast<size_t>(pathconf(m_dir.c_str(), _PC_NAME_MAX)));
  EXPECT_FALSE(m_fs.IgnoresCase(Folder()));
}

}  // namespace

}  // namespace zul
