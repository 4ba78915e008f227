#include "cli/shell_quote.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstdio>

namespace zul {

namespace {

// A character that the shell takes as it is: letters, digits, a few punctuation marks, and any
// printable character beyond ASCII that is not a blank.
bool NeedsNoQuotes(UChar32 c) {
  if (c < 0) return false;
  if (c < 0x80) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("%+,-./:=@_^").find(static_cast<char>(c)) != std::string_view::npos;
  }
  return u_isprint(c) && !u_isUWhiteSpace(c);
}

// Written as the shell's $'...' escape (without its quotes).
void AppendEscaped(std::string& out, std::string_view bytes) {
  for (const char c : bytes) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default: {
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
        out += octal;
      }
    }
  }
}

}  // namespace

std::string ShellQuote(std::string_view name) {
  if (name.empty()) return "''";
  const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
  const int32_t length = static_cast<int32_t>(name.size());
  bool plain = true;
  for (int32_t i = 0; i < length && plain;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    plain = NeedsNoQuotes(c);
  }
  if (plain) return std::string(name);

  // Printable characters go between single quotes, the others between $' and ', each run of a
  // kind in one pair.
  enum class Quote { None, Plain, Escape };
  std::string out;
  Quote open = Quote::None;
  const auto switchTo = [&](Quote quote) {
    if (open == quote) return;
    if (open != Quote::None) out += '\'';
    out += quote == Quote::Plain ? "'" : "$'";
    open = quote;
  };
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    const std::string_view unit = name.substr(static_cast<size_t>(start), size_t(i - start));
    if (c >= 0 && u_isprint(c)) {
      switchTo(Quote::Plain);
      out += c == '\'' ? std::string_view("'\\''") : unit;
    } else {
      switchTo(Quote::Escape);
      AppendEscaped(out, unit);
    }
  }
  out += '\'';
  return out;
}

}  // namespace zul
