#pragma once

#include <string>
#include <string_view>

namespace zul {

// Whether two names are equal under Unicode case folding. Bytes that are not valid UTF-8 fold to
// one replacement character, so use it only where a false match is harmless or checked otherwise.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The name under Unicode simple case folding: names that differ only in letter case give the same
// key. Bytes that are not valid UTF-8 are kept as they are, so they match only themselves.
std::string FoldCase(std::string_view name);

}  // namespace zul
