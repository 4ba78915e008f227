#include "app/system_services.h"

#include "capture/capture_reader.h"
#include "platform/desktop_open.h"
#include "platform/file_system.h"
#include "platform/journal_folder.h"
#include "platform/prompter.h"

namespace zul {

Services SystemServices() {
  static MetadataCaptureReader captures;
  return {SystemFileSystem(), QtPrompter(), SystemDesktopOpener(), SystemJournalFolder(), captures};
}

}  // namespace zul
