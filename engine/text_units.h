#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zul {

// Character units of the byte strings that names are. A character is one code point of a
// complete, valid UTF-8 sequence; every other byte is one character on its own (so the cut-off
// sequence E4 B8 is two characters). Brackets, dots and the other ASCII bytes the engine looks
// for are never part of a longer character, so byte searches for them are exact.

// Byte length of the character that starts at `offset` (< text.size()): 1 to 4.
size_t CharBytes(std::string_view text, size_t offset);

// Number of characters in the text.
size_t CharCount(std::string_view text);

// Byte offset at which character `charIndex` starts; text.size() when there are not that many.
size_t ByteOffsetOfChar(std::string_view text, size_t charIndex);

// The `count` characters from character `first` on, cut short at the end of the text.
std::string_view CharSlice(std::string_view text, size_t first, size_t count);

// Reads a number by the C library's atol rule: leading white space, an optional sign, decimal
// digits up to the first other byte; no digits give 0. Saturates at the 32-bit limits.
int32_t AtolRule(std::string_view text);

}  // namespace zul
