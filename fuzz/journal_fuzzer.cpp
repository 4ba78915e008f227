// The journal reader takes whatever lies in the state folder: it must refuse or read any bytes
// without a fault, and what it reads must survive being written and read again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/journal_format.h"

using namespace zul;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Result<JournaledRun> run =
      DecodeJournal(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!run) return 0;
  std::string again = EncodeJournal(*run);
  if (run->renamed) again += EncodeFinish(*run->renamed);
  const Result<JournaledRun> reread = DecodeJournal(again);
  if (!reread || reread->started != run->started || reread->renamed != run->renamed ||
      reread->identities != run->identities || reread->plan.size() != run->plan.size())
    std::abort();
  for (size_t k = 0; k < run->plan.size(); ++k) {
    const RenameStep& a = run->plan[k];
    const RenameStep& b = reread->plan[k];
    if (a.directory != b.directory || a.from != b.from || a.to != b.to) std::abort();
  }
  return 0;
}
