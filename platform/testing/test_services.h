#pragma once

#include "platform/services.h"
#include "platform/testing/fake_file_system.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/scripted_prompter.h"

// The services a test hands to the pieces it builds: the real file system behind a fake that
// can fail on demand, a scripted prompter and a recording opener. Declare it before the pieces.
struct TestServices {
  ScriptedPrompter prompter;
  FakeFileSystem files;
  RecordingOpener opener;
  Services services{files, prompter, opener};

  explicit TestServices(FileSystem& inner = SystemFileSystem()) : files(inner) {}
  operator Services&() { return services; }  // NOLINT: implicit, as the pieces take Services&
};
