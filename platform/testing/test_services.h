#pragma once

#include "capture/testing/fake_capture_reader.h"
#include "platform/linux_journal_folder.h"
#include "platform/services.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/fake_journal_folder.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/scripted_prompter.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// The services a test hands to the pieces it builds: the real file system behind a fake that
// can fail on demand, a scripted prompter, a recording opener, and a journal folder of its own
// in a temporary folder, behind a fake too, and a capture reader of set answers. Declare it before
// the pieces.
struct TestServices {
  ScriptedPrompter prompter;
  FakeFileSystem files;
  RecordingOpener opener;
  TempFolder stateFolder;
  LinuxJournalFolder realJournals{stateFolder.Path("zul")};
  FakeJournalFolder journals{realJournals};
  FakeCaptureReader captures;
  Services services{files, prompter, opener, journals, captures};

  explicit TestServices(FileSystem& inner = SystemFileSystem()) : files(inner) {}
  operator Services&() { return services; }  // NOLINT: implicit, as the pieces take Services&
};

}  // namespace zul
