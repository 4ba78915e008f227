#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "capture/capture_reader.h"
#include "cli/zulren.h"
#include "platform/file_system.h"
#include "platform/journal_folder.h"

using namespace zul;

// zulren [OPTIONEN] FILTERDATEI PFAD...: renames files from the command line with a filter file
// of Zul or a Filter given as options. Arguments are taken as bytes, as file names are.
int main(int argc, char* argv[]) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const std::optional<Options> options = ParseOptions(arguments, error);
  if (!options) {
    std::cerr << "zulren: " << error
              << "\nAufruf: zulren [OPTIONEN] FILTERDATEI PFAD... oder zulren --mask=MASKE "
                 "[OPTIONEN] PFAD... (mehr mit „zulren --help“)\n";
    return kExitUsage;
  }
  const MetadataCaptureReader captures;
  const int status = RunZulren(*options, SystemFileSystem(), SystemJournalFolder(), captures,
                               {std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
  std::cout.flush();
  return status;
}
