#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// One suite for the real file system and for every double the other tests use, so that no double
// promises what the real one does not do.

namespace {

// A folder to test in, on one of the file systems.
class World {
 public:
  virtual ~World() = default;
  virtual FileSystem& Files() = 0;
  virtual std::string Folder() const = 0;
  virtual void MakeFile(const std::string& name, const std::string& content) = 0;
  virtual void MakeFolder(const std::string& name) = 0;
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }
  std::string Content(const std::string& name) {
    auto input = Files().OpenInput(Path(name));
    if (!input) return "<missing>";
    std::string bytes;
    char buffer[7];  // small, so that reads in several pieces are tested too
    for (;;) {
      const Result<size_t> count = (*input)->Read(buffer, sizeof buffer);
      if (!count || *count == 0) break;
      bytes.append(buffer, *count);
    }
    return bytes;
  }
};

class DiskWorld : public World {
 public:
  FileSystem& Files() override { return SystemFileSystem(); }
  std::string Folder() const override { return m_temp.Path(); }
  void MakeFile(const std::string& name, const std::string& content) override {
    m_temp.Put(name, content);
  }
  void MakeFolder(const std::string& name) override { mkdir(Path(name).c_str(), 0755); }

 private:
  TempFolder m_temp;
};

class MemoryWorld : public World {
 public:
  MemoryWorld() { m_memory.AddFolder("/work/here"); }
  FileSystem& Files() override { return m_memory; }
  std::string Folder() const override { return "/work/here"; }
  void MakeFile(const std::string& name, const std::string& content) override {
    m_memory.AddFile(Path(name), content, {946684799, 1078099205});
  }
  void MakeFolder(const std::string& name) override { m_memory.AddFolder(Path(name)); }

 protected:
  MemoryFileSystem m_memory;
};

// The fault injector, passing everything on.
class FakeWorld : public MemoryWorld {
 public:
  FileSystem& Files() override { return m_fake; }

 private:
  FakeFileSystem m_fake{m_memory};
};

struct Backend {
  const char* name;
  std::function<std::unique_ptr<World>()> make;
};

class FileSystemContract : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    m_world = GetParam().make();
    m_folder = Files().OpenFolder(m_world->Folder()).value();
  }
  void TearDown() override { Files().CloseFolder(m_folder); }
  FileSystem& Files() { return m_world->Files(); }
  int Errno(std::error_code code) const { return code.value(); }

  std::unique_ptr<World> m_world;
  int m_folder = -1;
};

TEST_P(FileSystemContract, RenameNeverReplacesAndReportsWhy) {
  m_world->MakeFile("a", "A");
  m_world->MakeFile("b", "B");
  EXPECT_EQ(Errno(Files().RenameInFolder(m_folder, "a", "b")), EEXIST);
  EXPECT_EQ(Errno(Files().RenameInFolder(m_folder, "missing", "c")), ENOENT);
  EXPECT_EQ(Errno(Files().RenameInFolder(m_folder, "a", std::string(256, 'n'))), ENAMETOOLONG);
  EXPECT_EQ(m_world->Content("a"), "A");
  EXPECT_EQ(m_world->Content("b"), "B");

  EXPECT_FALSE(Files().RenameInFolder(m_folder, "a", "c"));
  EXPECT_EQ(m_world->Content("a"), "<missing>");
  EXPECT_EQ(m_world->Content("c"), "A");
}

TEST_P(FileSystemContract, RenameToItselfSucceedsOnlyWhenTheFileExists) {
  m_world->MakeFile("a", "A");
  EXPECT_FALSE(Files().RenameInFolder(m_folder, "a", "a"));
  EXPECT_EQ(m_world->Content("a"), "A");
  EXPECT_EQ(Errno(Files().RenameInFolder(m_folder, "gone", "gone")), ENOENT);
}

TEST_P(FileSystemContract, NamesAreBytesAndCaseCountsInAnOrdinaryFolder) {
  m_world->MakeFile("a", "lower");
  m_world->MakeFile("A", "upper");
  m_world->MakeFile("x\xff", "bytes");
  EXPECT_FALSE(Files().IgnoresCase(m_folder));
  EXPECT_EQ(Errno(Files().RenameInFolder(m_folder, "a", "A")), EEXIST);
  EXPECT_EQ(m_world->Content("a"), "lower");
  EXPECT_EQ(m_world->Content("A"), "upper");
  EXPECT_FALSE(Files().RenameInFolder(m_folder, "x\xff", "X\xfe"));
  EXPECT_EQ(m_world->Content("X\xfe"), "bytes");
  EXPECT_EQ(m_world->Content("x\xff"), "<missing>");
}

TEST_P(FileSystemContract, LooksUpEntriesOfAnOpenedFolder) {
  m_world->MakeFile("a", "A");
  const Result<FileIdentity> inFolder = Files().IdentifyInFolder(m_folder, "a");
  ASSERT_TRUE(inFolder);
  const Result<FileStatus> byPath = Files().Examine(m_world->Path("a"));
  ASSERT_TRUE(byPath);
  EXPECT_EQ(*inFolder, byPath->identity);
  EXPECT_EQ(byPath->kind, FileKind::File);
  EXPECT_EQ(byPath->size, 1u);
  EXPECT_EQ(Errno(Files().IdentifyInFolder(m_folder, "b").error()), ENOENT);
  EXPECT_EQ(Errno(Files().Examine(m_world->Path("b")).error()), ENOENT);
  EXPECT_EQ(Files().MaxNameLength(m_folder), 255u);
}

TEST_P(FileSystemContract, ReadsTheTimesInAnOpenedFolderAsByPath) {
  m_world->MakeFile("a", "A");
  m_world->MakeFolder("sub");
  for (const char* name : {"a", "sub"}) {
    const Result<FileTimes> inFolder = Files().ReadTimesInFolder(m_folder, name);
    const Result<FileTimes> byPath = Files().ReadTimes(m_world->Path(name));
    ASSERT_TRUE(inFolder) << name;
    ASSERT_TRUE(byPath) << name;
    EXPECT_EQ(inFolder->created, byPath->created) << name;
    EXPECT_EQ(inFolder->modified, byPath->modified) << name;
  }
  EXPECT_EQ(Errno(Files().ReadTimesInFolder(m_folder, "missing").error()), ENOENT);
}

TEST_P(FileSystemContract, OpenFolderAndListFolderReportWhy) {
  m_world->MakeFile("file", "");
  m_world->MakeFolder("sub");
  EXPECT_EQ(Errno(Files().OpenFolder(m_world->Path("missing")).error()), ENOENT);
  EXPECT_EQ(Errno(Files().OpenFolder(m_world->Path("file")).error()), ENOTDIR);
  EXPECT_EQ(Files().Examine(m_world->Path("sub"))->kind, FileKind::Folder);

  std::vector<FolderEntry> entries;
  EXPECT_FALSE(Files().ListFolder(m_world->Folder(), entries));
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "file");
  EXPECT_EQ(entries[0].kind, FileKind::File);
  EXPECT_EQ(entries[1].name, "sub");
  EXPECT_EQ(entries[1].kind, FileKind::Folder);
  EXPECT_EQ(entries[0].inode, Files().IdentifyInFolder(m_folder, "file")->inode);

  std::vector<FolderEntry> none;
  EXPECT_EQ(Errno(Files().ListFolder(m_world->Path("missing"), none)), ENOENT);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(Errno(Files().ReadTimes(m_world->Path("missing")).error()), ENOENT);
}

TEST_P(FileSystemContract, ListsTheNamesOfAnOpenedFolderUpToALimit) {
  m_world->MakeFile("a", "");
  m_world->MakeFile("x\xff\n", "");  // not UTF-8, with a line break
  m_world->MakeFolder("sub");
  std::vector<std::string> names;
  EXPECT_FALSE(Files().ListNamesInFolder(m_folder, 3, names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a", "sub", "x\xff\n"}));

  std::vector<std::string> cut;
  EXPECT_EQ(Errno(Files().ListNamesInFolder(m_folder, 2, cut)), EOVERFLOW);
  EXPECT_EQ(cut.size(), 2u);
}

TEST_P(FileSystemContract, InputReadsTheWholeFileAndRefusesFolders) {
  const std::string content = "FILTER-DATEI\n100\n\xe4\n";
  m_world->MakeFile("f.fil", content);
  m_world->MakeFolder("sub");
  auto input = Files().OpenInput(m_world->Path("f.fil"));
  ASSERT_TRUE(input);
  EXPECT_EQ((*input)->Status().size, content.size());
  EXPECT_EQ(m_world->Content("f.fil"), content);
  EXPECT_EQ(Errno(Files().OpenInput(m_world->Path("sub")).error()), EISDIR);
  EXPECT_EQ(Errno(Files().OpenInput(m_world->Path("missing")).error()), ENOENT);
}

TEST_P(FileSystemContract, AtomicWriteCreatesAndReplacesEvenAtTheNameLimit) {
  EXPECT_FALSE(Files().WriteFileAtomically(m_world->Path("new.fil"), "one"));
  EXPECT_EQ(m_world->Content("new.fil"), "one");
  EXPECT_FALSE(Files().WriteFileAtomically(m_world->Path("new.fil"), "two"));
  EXPECT_EQ(m_world->Content("new.fil"), "two");
  // A temporary name made from the target's would not fit beside a name of 255 bytes.
  const std::string longest = std::string(251, 'l') + ".fil";
  EXPECT_FALSE(Files().WriteFileAtomically(m_world->Path(longest), "long"));
  EXPECT_EQ(m_world->Content(longest), "long");
  m_world->MakeFolder("sub");
  EXPECT_EQ(Errno(Files().WriteFileAtomically(m_world->Path("sub"), "x")), EISDIR);

  std::vector<FolderEntry> entries;
  Files().ListFolder(m_world->Folder(), entries);
  EXPECT_EQ(entries.size(), 3u) << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Backends, FileSystemContract,
    ::testing::Values(Backend{"Disk", [] { return std::make_unique<DiskWorld>(); }},
                      Backend{"Memory", [] { return std::make_unique<MemoryWorld>(); }},
                      Backend{"FakeOverMemory", [] { return std::make_unique<FakeWorld>(); }}),
    [](const ::testing::TestParamInfo<Backend>& info) { return info.param.name; });

}  // namespace

}  // namespace zul
