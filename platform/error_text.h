#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace zul {

// The one place where a failed file operation becomes German text: the reason, naming the file
// as `shownName` (the caller's display form of the path). UTF-8.
std::string FileErrorText(std::error_code error, std::string_view shownName);

}  // namespace zul
