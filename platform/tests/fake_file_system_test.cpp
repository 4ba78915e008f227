#include <gtest/gtest.h>

#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"

namespace zul {

namespace {

using Op = FakeFileSystem::Op;

class FakeFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_memory.AddFolder("/d");
    m_memory.AddFile("/d/a", "A");
    m_memory.AddFile("/d/b", "B");
    m_folder = m_fake.OpenFolder("/d").value();
  }

  MemoryFileSystem m_memory;
  FakeFileSystem m_fake{m_memory};
  int m_folder = -1;
};

TEST_F(FakeFileSystemTest, FailsTheChosenCallWithoutPassingItOn) {
  m_fake.FailNth(Op::RenameInFolder, 2, EACCES);
  EXPECT_FALSE(m_fake.RenameInFolder(m_folder, "a", "a2"));
  EXPECT_EQ(m_fake.RenameInFolder(m_folder, "b", "b2").value(), EACCES);
  EXPECT_TRUE(m_memory.Exists("/d/b")) << "the failed call did not reach the file system";
  EXPECT_FALSE(m_fake.RenameInFolder(m_folder, "b", "b2"));
  EXPECT_EQ(m_fake.Calls(Op::RenameInFolder), 3);
  EXPECT_EQ(m_fake.Calls(Op::OpenFolder), 1);
}

TEST_F(FakeFileSystemTest, FailsByNameAndEveryCall) {
  m_fake.FailOn(Op::RenameInFolder, "b", EIO);
  m_fake.FailOn(Op::ReadTimes, "a", ENOENT);
  EXPECT_EQ(m_fake.RenameInFolder(m_folder, "b", "c").value(), EIO);
  EXPECT_FALSE(m_fake.RenameInFolder(m_folder, "a", "ab"));
  EXPECT_EQ(m_fake.ReadTimes("/d/a").error().value(), ENOENT);
  EXPECT_TRUE(m_fake.ReadTimes("/d/ab"));

  m_fake.FailAll(Op::OpenFolder, EACCES);
  EXPECT_EQ(m_fake.OpenFolder("/d").error().value(), EACCES);
  m_fake.FailAll(Op::OpenFolder, 0);
  EXPECT_TRUE(m_fake.OpenFolder("/d"));
}

TEST_F(FakeFileSystemTest, RunsItsHookBeforeEachRename) {
  std::vector<std::string> seen;
  m_fake.beforeRename = [&](const std::string& from, const std::string& to) {
    seen.push_back(from + ">" + to);
    m_memory.AddFile("/d/taken", "T");  // the disk changes under the run
  };
  EXPECT_FALSE(m_fake.RenameInFolder(m_folder, "a", "x"));
  EXPECT_EQ(m_fake.RenameInFolder(m_folder, "b", "taken").value(), EEXIST);
  EXPECT_EQ(seen, (std::vector<std::string>{"a>x", "b>taken"}));
}

TEST(MemoryFileSystem, AFolderThatIgnoresCaseFindsEverySpelling) {
  MemoryFileSystem memory;
  memory.AddFolder("/usb", /*ignoresCase=*/true, /*maxName=*/12);
  const uint64_t inode = memory.AddFile("/usb/Foto.jpg", "F");
  memory.AddFile("/usb/other", "O");
  const int folder = memory.OpenFolder("/usb").value();
  EXPECT_TRUE(memory.IgnoresCase(folder));
  EXPECT_EQ(memory.MaxNameLength(folder), 12u);
  EXPECT_EQ(memory.IdentifyInFolder(folder, "FOTO.JPG").value().inode, inode);
  EXPECT_EQ(memory.IdentifyInFolder(folder, "\xc3\xa4-too-long.txt").error().value(), ENAMETOOLONG);
  EXPECT_FALSE(memory.RenameInFolder(folder, "Foto.jpg", "FOTO.JPG"));
  EXPECT_EQ(memory.Names("/usb"), (std::vector<std::string>{"FOTO.JPG", "other"}));
  EXPECT_EQ(memory.RenameInFolder(folder, "other", "foto.jpg").value(), EEXIST);
}

}  // namespace

}  // namespace zul
