#include <sstream>

#include <gtest/gtest.h>

#include "capture/testing/fake_capture_reader.h"
#include "cli/zulren.h"
#include "document/filter_file.h"
#include "platform/linux_journal_folder.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/fake_journal_folder.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// zulren's run when the disk changes under it: what was renamed goes back, and what cannot go
// back is named, with the exit status saying which happened.

namespace {

using Op = FakeFileSystem::Op;

class ZulrenApply : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    FilterSettings filter;
    filter.mask = "neu_[name].[typ]";
    std::string bytes;
    WriteTo(filter, bytes);
    m_state.Put("f.fil", bytes);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) m_dir.Put(name, name);
    m_options.apply = true;
    m_options.filterFile = m_state.Path("f.fil");
    m_options.paths = {m_dir.Path("a.txt"), m_dir.Path("b.txt"), m_dir.Path("c.txt")};
  }
  int Run() { return RunZulren(m_options, m_files, m_journals, m_captures, {m_out, m_err, false}); }
  int Undo() {
    Options undo;
    undo.undo = true;
    return RunZulren(undo, m_files, m_journals, m_captures, {m_out, m_err, false});
  }

  TempFolder m_dir;
  TempFolder m_state;
  LinuxJournalFolder m_realJournals{m_state.Path("zul")};
  FakeJournalFolder m_journals{m_realJournals};
  FakeFileSystem m_files;
  FakeCaptureReader m_captures;
  Options m_options;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

TEST_F(ZulrenApply, AFailureInTheMiddleRollsBackAndExitsWithOne) {
  // Another program takes the third file's new name while the run is under way.
  m_files.beforeRename = [&](const std::string& from, const std::string&) {
    if (from == "b.txt") m_dir.Put("neu_c.txt", "someone else's");
  };
  EXPECT_EQ(Run(), kExitConflicts);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(m_dir.Read(name), name);
  EXPECT_EQ(m_dir.Read("neu_c.txt"), "someone else's");
  EXPECT_NE(m_err.str().find("konnte nicht in"), std::string::npos) << m_err.str();
  EXPECT_NE(m_err.str().find("Die bereits umbenannten 2 Dateien wurden zurückbenannt."),
            std::string::npos)
      << m_err.str();
}

TEST_F(ZulrenApply, WhatCannotGoBackIsNamedAndExitsWithThree) {
  m_files.FailOn(Op::RenameInFolder, "c.txt", EIO);
  m_files.FailOn(Op::RenameInFolder, "neu_a.txt", EACCES);
  EXPECT_EQ(Run(), kExitUnrestored);
  EXPECT_EQ(m_dir.Read("neu_a.txt"), "a.txt");
  EXPECT_EQ(m_dir.Read("b.txt"), "b.txt");
  const std::string err = m_err.str();
  EXPECT_NE(err.find("1 Datei konnte nicht zurückbenannt werden"), std::string::npos) << err;
  EXPECT_NE(err.find(m_dir.Path("neu_a.txt") + " (ursprünglich " + m_dir.Path("a.txt")),
            std::string::npos)
      << err;
}

TEST_F(ZulrenApply, ASuccessfulRunSaysHowManyAndExitsWithZero) {
  EXPECT_EQ(Run(), kExitOk);
  EXPECT_EQ(m_dir.Read("neu_b.txt"), "b.txt");
  EXPECT_EQ(m_err.str(), "3 Dateien umbenannt.\n");
  EXPECT_EQ(m_out.str(), "");
}

TEST_F(ZulrenApply, AJournalThatCannotBeWrittenStopsTheRunBeforeItStarts) {
  m_journals.FailAll(FakeJournalFolder::Op::Create, EROFS);
  EXPECT_EQ(Run(), kExitUnrestored);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(m_dir.Read(name), name);
  EXPECT_EQ(m_files.Calls(Op::RenameInFolder), 0);
  EXPECT_NE(m_err.str().find("Es wurde keine Datei umbenannt"), std::string::npos) << m_err.str();
  EXPECT_NE(m_err.str().find("schreibgeschützten Datenträger"), std::string::npos) << m_err.str();
}

// A run that failed and was rolled back leaves nothing to undo: the good run before it stays
// the one "--undo" undoes.
TEST_F(ZulrenApply, ARolledBackRunLeavesTheLastRunTheLast) {
  ASSERT_EQ(Run(), kExitOk);
  m_dir.Put("d.txt", "d.txt");
  m_files.beforeRename = [&](const std::string& from, const std::string&) {
    if (from == "neu_a.txt") m_dir.Put("neu_d.txt", "taken meanwhile");
  };
  m_options.paths = {m_dir.Path("neu_a.txt"), m_dir.Path("d.txt")};
  ASSERT_EQ(Run(), kExitConflicts);
  EXPECT_EQ(m_err.str().find("umbenannten 0 Dateien"), std::string::npos) << m_err.str();
  m_err.str("");
  EXPECT_EQ(Undo(), kExitOk) << m_err.str();
  EXPECT_EQ(m_err.str(), "3 Dateien zurückbenannt.\n");
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(m_dir.Read(name), name);
}

// The closing record of the journal could not be written (a full disk): the renames are done,
// which the exit status says, and stay undoable by the records on the disk.
TEST_F(ZulrenApply, AJournalThatCannotBeFinishedIsKeptAndExitsWithThree) {
  m_journals.FailNth(FakeJournalFolder::Op::Write, 3, ENOSPC);  // lock, journal, finish
  EXPECT_EQ(Run(), kExitUnrestored);
  EXPECT_NE(m_err.str().find("Der Datenträger ist voll"), std::string::npos) << m_err.str();
  EXPECT_NE(m_err.str().find("zulren --undo"), std::string::npos) << m_err.str();
  m_err.str("");
  EXPECT_EQ(Undo(), kExitOk) << m_err.str();
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(m_dir.Read(name), name);
}

// No filter has a line that long; reading one must not take memory in proportion to it.
TEST_F(ZulrenApply, AFilterFileWithAHugeLineIsRefused) {
  m_state.Put("f.fil", "FILTER-DATEI\n100\n" + std::string(70000, 'x') + "\n1\n1\n\n\n0\n0\n\n0\n");
  EXPECT_EQ(Run(), kExitUsage);
  EXPECT_NE(m_err.str().find("Eine Zeile ist länger als 64 KiB."), std::string::npos)
      << m_err.str();
  EXPECT_EQ(m_files.Calls(Op::RenameInFolder), 0);
}

// The files named one by one are identified by a lookup each, a folder's by its listing.
class ZulrenUndo : public ZulrenApply, public ::testing::WithParamInterface<bool> {};

TEST_P(ZulrenUndo, RestoresTheLastRunAndLeavesWhatChangedSince) {
  if (GetParam()) m_options.paths = {m_dir.Path()};
  ASSERT_EQ(Run(), kExitOk);
  // After the run another file took b's old name, and c's file was replaced, as an editor
  // saves: the new file first, then renamed over the old one.
  m_dir.Put("b.txt", "new b");
  m_dir.Put("saved", "another c");
  ASSERT_EQ(std::rename(m_dir.Path("saved").c_str(), m_dir.Path("neu_c.txt").c_str()), 0);
  Options undo;
  undo.undo = true;
  m_err.str("");
  EXPECT_EQ(RunZulren(undo, m_files, m_journals, m_captures, {m_out, m_err, false}),
            kExitConflicts);
  EXPECT_EQ(m_dir.Read("a.txt"), "a.txt");
  EXPECT_EQ(m_dir.Read("neu_b.txt"), "b.txt");
  EXPECT_EQ(m_dir.Read("neu_c.txt"), "another c");
  const std::string err = m_err.str();
  EXPECT_NE(err.find("1 Datei zurückbenannt."), std::string::npos) << err;
  EXPECT_NE(err.find("Der ursprüngliche Name ist vergeben."), std::string::npos) << err;
  EXPECT_NE(err.find("Unter dem neuen Namen liegt eine andere Datei."), std::string::npos) << err;
}

// Where a folder's device is not its files' and its listing's inodes are not theirs (an overlay
// over layers on different file systems), and a rename copies a file up with a new birth time.
TEST_P(ZulrenUndo, RestoresEveryFileOnAnOverlay) {
  if (GetParam()) m_options.paths = {m_dir.Path()};
  m_files.ActAsOverlay();
  ASSERT_EQ(Run(), kExitOk);
  Options undo;
  undo.undo = true;
  m_err.str("");
  EXPECT_EQ(RunZulren(undo, m_files, m_journals, m_captures, {m_out, m_err, false}), kExitOk)
      << m_err.str();
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(m_dir.Read(name), name);
  EXPECT_EQ(m_err.str(), "3 Dateien zurückbenannt.\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, ZulrenUndo, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "TheirFolder" : "OneByOne";
                         });

}  // namespace

}  // namespace zul
