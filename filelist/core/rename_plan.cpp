#include "filelist/core/rename_plan.h"

#include "filelist/core/file_rows.h"

RenamePlan MakePlan(const FileRows& rows) {
  RenamePlan plan;
  plan.reserve(static_cast<size_t>(rows.Count()));
  for (int i = 0; i < rows.Count(); ++i) {
    const FileEntry& row = rows.Row(i);
    plan.push_back({row.directory, row.oldName, row.newName});
  }
  return plan;
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}
