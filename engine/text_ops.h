#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zul {

// The text operations that every evaluation step is made of. All work on UTF-8 byte strings and
// count characters as text_units.h defines them.

// Replaces every occurrence of `search`, left to right and without overlaps; inserted text is not
// searched again by the same call. An empty `search` changes nothing.
void ReplaceAll(std::string& text, std::string_view search, std::string_view replacement);

// The part converted by a CaseMode; any other mode, and WordsUpper where words are not allowed,
// returns it unchanged. Letters map by simple case mapping per code point; bytes that are not
// part of a valid character are never mapped and never separate words.
std::string ConvertCase(std::string_view part, int32_t mode, bool wordsAllowed);
void AppendConvertedCase(std::string& out, std::string_view part, int32_t mode, bool wordsAllowed);

// The decimal text of `value`, with the whole `fillText` put in front while it is shorter than
// `digits` characters. An empty `fillText` leaves the number unfilled. Widths beyond
// kMaxFilledWidth count as that width: no file name can be longer, and a 32-bit width would
// otherwise ask for gigabytes.
std::string FillNumber(int32_t value, int32_t digits, std::string_view fillText);
void AppendFilledNumber(std::string& out, int32_t value, int32_t digits, std::string_view fillText);

// Appends `value` as printf's "%.Nd" writes it with N = `minDigits`: a minus sign, then at least
// that many digits.
void AppendDecimal(std::string& out, int32_t value, int minDigits);

inline constexpr int32_t kMaxFilledWidth = 255;

}  // namespace zul
