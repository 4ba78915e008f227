#pragma once

#include <string>
#include <string_view>

namespace zul {

// A name as a shell reads it back, on one line, as `ls --quoting-style=shell-escape` writes it:
// unchanged where it holds only characters that need no quoting; otherwise in single quotes,
// with line breaks, other control characters and bytes that are not UTF-8 written as $'\n' or
// $'\377' between the quoted parts. Nothing reaches the terminal raw.
std::string ShellQuote(std::string_view name);

}  // namespace zul
