#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zul {

class FileRows;

// One rename of a run: the file `from` in `directory` is to be called `to`, in the same folder.
struct RenameStep {
  std::string directory;  // without a trailing '/'; empty for the root folder
  std::string from;
  std::string to;
  // A metadata placeholder gave an empty value: the check warns.
  bool emptyTag = false;

  std::string FromPath() const { return directory + '/' + from; }
  std::string ToPath() const { return directory + '/' + to; }
};

// The plan of a run: one step per row, in display order, with the names as the rows show them.
using RenamePlan = std::vector<RenameStep>;

RenamePlan MakePlan(const FileRows& rows);

// A name that stays inside its folder: not empty, not "." or "..", no '/' and no NUL. A mask
// from any filter file could otherwise move files elsewhere.
bool IsPlainName(std::string_view name);

}  // namespace zul
