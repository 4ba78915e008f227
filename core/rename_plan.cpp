#include "core/rename_plan.h"

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
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace zul
