#pragma once

#include <string_view>

// Whether two names are equal under Unicode case folding. Bytes that are not valid UTF-8 fold to
// one replacement character, so use it only where a false match is harmless or checked otherwise.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
