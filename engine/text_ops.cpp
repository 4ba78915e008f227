#include "engine/text_ops.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <charconv>

#include "engine/case_mode.h"
#include "engine/text_units.h"

namespace zul {

void ReplaceAll(std::string& text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return;
  size_t found = text.find(search);
  if (found == std::string::npos) return;
  std::string result;
  result.reserve(text.size());
  size_t done = 0;
  do {
    result.append(text, done, found - done);
    result.append(replacement);
    done = found + search.size();
    found = text.find(search, done);
  } while (found != std::string::npos);
  result.append(text, done);
  text = std::move(result);
}

namespace {

// Appends the character at `offset` (of `length` bytes) mapped by `map`, or unchanged when it is
// not a valid character.
void AppendMapped(std::string& out, std::string_view text, size_t offset, size_t length,
                  UChar32 (*map)(UChar32)) {
  const auto lead = static_cast<uint8_t>(text[offset]);
  if (lead < 0x80) {
    out.push_back(static_cast<char>(map(lead)));
    return;
  }
  if (length == 1) {
    out.push_back(text[offset]);
    return;
  }
  int32_t i = 0;
  UChar32 c;
  U8_NEXT_UNSAFE(text.data() + offset, i, c);
  uint8_t buffer[U8_MAX_LENGTH];
  int32_t written = 0;
  U8_APPEND_UNSAFE(buffer, written, map(c));
  out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(written));
}

void AppendMappedAll(std::string& out, std::string_view part, UChar32 (*map)(UChar32)) {
  for (size_t i = 0; i < part.size();) {
    const size_t length = CharBytes(part, i);
    AppendMapped(out, part, i, length, map);
    i += length;
  }
}

bool IsWordSeparator(std::string_view character) {
  static constexpr std::string_view kSeparators[] = {"-", " ",      "_", "*", "0", "9", "8",
                                                     "7", "6",      "5", "4", "3", "2", "1",
                                                     "!", "\u00a7", "$", "%", "&", "(", ")"};
  return std::find(std::begin(kSeparators), std::end(kSeparators), character) !=
         std::end(kSeparators);
}

// Upper-cases the first character and each one directly behind a separator, looking for the
// next separator only behind the character just handled.
void AppendUpperWords(std::string& out, std::string_view part) {
  size_t p = 0;
  while (p < part.size()) {
    const size_t length = CharBytes(part, p);
    AppendMapped(out, part, p, length, u_toupper);
    size_t q = p + length;
    while (q < part.size() && !IsWordSeparator(part.substr(q, CharBytes(part, q)))) {
      q += CharBytes(part, q);
    }
    if (q >= part.size()) {
      out.append(part.substr(p + length));
      return;
    }
    const size_t separatorEnd = q + CharBytes(part, q);
    out.append(part.substr(p + length, separatorEnd - (p + length)));
    p = separatorEnd;
  }
}

}  // namespace

void AppendConvertedCase(std::string& out, std::string_view part, int32_t mode, bool wordsAllowed) {
  switch (mode) {
    case Lower:
      AppendMappedAll(out, part, u_tolower);
      return;
    case Upper:
      AppendMappedAll(out, part, u_toupper);
      return;
    case FirstUpper:
      if (part.empty()) return;
      AppendMapped(out, part, 0, CharBytes(part, 0), u_toupper);
      out.append(part.substr(CharBytes(part, 0)));
      return;
    case WordsUpper:
      if (wordsAllowed) {
        AppendUpperWords(out, part);
        return;
      }
      break;
    default:
      break;
  }
  out.append(part);
}

std::string ConvertCase(std::string_view part, int32_t mode, bool wordsAllowed) {
  std::string out;
  out.reserve(part.size());
  AppendConvertedCase(out, part, mode, wordsAllowed);
  return out;
}

void AppendDecimal(std::string& out, int32_t value, int minDigits) {
  if (value < 0) out.push_back('-');
  const uint32_t magnitude =
      value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char buffer[16];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  const auto length = static_cast<int>(end - buffer);
  if (length < minDigits) out.append(static_cast<size_t>(minDigits - length), '0');
  out.append(buffer, end);
}

namespace {

// How many copies of the fill go in front of the ASCII text `number` until the whole is at least
// `width` characters long. Characters are counted in the joined bytes: where one copy ends in a
// lead byte and the next begins with continuation bytes, the joint forms one character.
size_t FillCopies(std::string_view number, size_t width, std::string_view fill) {
  size_t count = number.size();
  if (count >= width || fill.empty()) return 0;
  // Only a text that begins with a continuation byte can join the copy in front of it.
  if ((static_cast<uint8_t>(fill.front()) & 0xC0) != 0x80) {
    const size_t added = CharCount(fill);
    return (width - count + added - 1) / added;
  }
  // A character across the joint takes at most three bytes of the text behind it, each of them a
  // character of its own there; so a new copy changes the count only within the first three
  // characters behind it, and it always adds at least one.
  std::string head(number.substr(0, 3));
  std::string joined;
  size_t copies = 0;
  while (count < width) {
    joined.assign(fill).append(head);
    const size_t added = CharCount(joined) - CharCount(head);
    const std::string_view nextHead = CharSlice(joined, 0, 3);
    if (nextHead == head) return copies + (width - count + added - 1) / added;
    head.assign(nextHead);
    count += added;
    ++copies;
  }
  return copies;
}

}  // namespace

void AppendFilledNumber(std::string& out, int32_t value, int32_t digits,
                        std::string_view fillText) {
  char buffer[16];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  const std::string_view number(buffer, static_cast<size_t>(end - buffer));
  const size_t width = static_cast<size_t>(std::clamp(digits, 0, kMaxFilledWidth));
  for (size_t copies = FillCopies(number, width, fillText); copies > 0; --copies) {
    out.append(fillText);
  }
  out.append(number);
}

std::string FillNumber(int32_t value, int32_t digits, std::string_view fillText) {
  std::string out;
  AppendFilledNumber(out, value, digits, fillText);
  return out;
}

}  // namespace zul
