#pragma once

#include <string>
#include <string_view>

namespace zul {

// The characters of `source` that a range's inner text "from,to" selects: 1-based positions,
// negative ones counting from the end, 0 the same as 1, the two in either order, clamped to the
// source. Inner text without a comma selects nothing and is not a range.
std::string_view RangeText(std::string_view source, std::string_view inner);

// Replaces every bracketed range of `work` by its characters of `source`, from the end of the
// work text towards its start; a group is looked at once, and inserted characters are never read
// as ranges again. Bracketed text without a comma stays. Returns false, leaving `work` as it was,
// when expanding would make it longer than `limit` bytes.
bool ExpandRanges(std::string& work, std::string_view source, size_t limit);

}  // namespace zul
