#pragma once

namespace zul {

class CaptureReader;
class DesktopOpener;
class FileSystem;
class JournalFolder;
class Prompter;

// The services of the operating system and the desktop that the program's pieces need, built
// once by the application (app/system_services.h) and passed down; tests build one of doubles. The
// references must outlive every piece they are given to.
struct Services {
  FileSystem& files;
  Prompter& prompter;
  DesktopOpener& opener;
  JournalFolder& journals;  // where renaming runs keep their journals
  CaptureReader& captures;  // when photos and videos were taken
};

}  // namespace zul
