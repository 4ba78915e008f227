#include "core/unique_names.h"

#include <cerrno>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/file_rows.h"
#include "core/folder_cache.h"
#include "engine/file_tags.h"
#include "platform/case_compare.h"

namespace zul {

namespace {

// Beyond this the name stays without a number, and the check shows why it is not free.
constexpr int kLastNumber = 1000000;

// The names of one folder as the rows before the current one leave it.
struct FolderNames {
  bool ignoresCase = false;
  std::unordered_set<std::string> taken;  // new names of earlier rows
  std::unordered_set<std::string> freed;  // old names that earlier rows rename away

  std::string Key(const std::string& name) const { return ignoresCase ? FoldCase(name) : name; }
};

std::string Filled(const std::string& name, const std::string& number) {
  std::string out;
  out.reserve(name.size() + 8);
  size_t done = 0;
  for (size_t slot = name.find(kUniqueSlot); slot != std::string::npos;
       slot = name.find(kUniqueSlot, done)) {
    out.append(name, done, slot - done).append(number);
    done = slot + kUniqueSlot.size();
  }
  return out.append(name, done);
}

}  // namespace

bool MakeNamesUnique(FileRows& rows, FileSystem& files) {
  bool any = false;
  for (int i = 0; i < rows.Count() && !any; ++i)
    any = rows.Text(i, ColNewName).find(kUniqueSlot) != std::string::npos;
  if (!any) return false;

  FolderCache folders(files);
  std::unordered_map<std::string, FolderNames> byFolder;
  for (int i = 0; i < rows.Count(); ++i) {
    const std::string directory = rows.Text(i, ColDirectory);
    const std::string oldName = rows.Text(i, ColOldName);
    std::string name = rows.Text(i, ColNewName);
    const Result<int> folder = folders.Open(directory);
    auto [found, added] = byFolder.try_emplace(directory);
    FolderNames& names = found->second;
    if (added && folder) names.ignoresCase = files.IgnoresCase(*folder);

    if (name.find(kUniqueSlot) != std::string::npos) {
      std::string chosen = Filled(name, "");
      for (int number = 1; number <= kLastNumber; ++number) {
        std::string suffix(1, '-');
        suffix += std::to_string(number);
        const std::string candidate = number == 1 ? chosen : Filled(name, suffix);
        const std::string key = names.Key(candidate);
        if (names.taken.contains(key)) continue;
        bool onDisk = false;
        if (key != names.Key(oldName) && !names.freed.contains(key)) {
          // A name that cannot be looked up counts as taken; without a folder there is nothing
          // to number, and the check says why.
          if (!folder) break;
          const Result<FileIdentity> existing = files.IdentifyInFolder(*folder, candidate);
          onDisk = existing || existing.error().value() != ENOENT;
        }
        if (!onDisk) {
          chosen = candidate;
          break;
        }
      }
      name = std::move(chosen);
      rows.SetNewName(i, name);
    }
    if (name != oldName) names.freed.insert(names.Key(oldName));
    names.taken.insert(names.Key(name));
  }
  return true;
}

}  // namespace zul
