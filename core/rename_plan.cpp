#include "core/rename_plan.h"

#include <cstring>

#include "core/file_rows.h"

namespace zul {

RenamePlan MakePlan(const FileRows& rows) {
  RenamePlan plan;
  plan.reserve(static_cast<size_t>(rows.Count()));
  for (int i = 0; i < rows.Count(); ++i)
    plan.push_back({rows.Text(i, ColDirectory), rows.Text(i, ColOldName), rows.Text(i, ColNewName),
                    rows.HasEmptyTag(i)});
  return plan;
}

bool IsPlainName(std::string_view name) {
  // Two scans of the bytes: find_first_of would ask memchr once per byte of the name.
  return !name.empty() && name != "." && name != ".." &&
         std::memchr(name.data(), '/', name.size()) == nullptr &&
         std::memchr(name.data(), '\0', name.size()) == nullptr;
}

}  // namespace zul
