#include <string_view>

#include "engine/date_placeholders.h"
#include "engine/filter_settings.h"
#include "engine/placeholders.h"

namespace zul {

// The evaluation replaces all placeholders of the mask at once unless a pass could make a
// placeholder for a later one (evaluate.cpp); only then can a file's date placeholder appear that
// the mask does not hold. That takes a value with a bracket (the name or the extension, through
// the file name or the replacement text; a counter through its fill text), or a placeholder that
// stands between a "[" and a "]" and joins them when its value is taken out.

namespace {

bool HasBracket(std::string_view text) {
  return text.find_first_of("[]") != std::string_view::npos;
}

}  // namespace

bool FilterSettings::NeedsFileTimes(std::string_view oldName) const {
  bool usesName = false;
  bool usesNumber = false;
  bool mayJoin = false;
  char lastBracket = 0;
  bool placeholderAfterOpen = false;
  auto scanLiteral = [&](std::string_view literal) {
    for (const char c : literal) {
      if (c != '[' && c != ']') continue;
      if (c == ']' && placeholderAfterOpen) mayJoin = true;
      placeholderAfterOpen = false;
      lastBracket = c;
    }
  };
  size_t done = 0;
  for (auto found = NextPlaceholder(mask, 0); found; found = NextPlaceholder(mask, done)) {
    scanLiteral(std::string_view(mask).substr(done, found->position - done));
    if (found->pass >= kFirstDatePass) {
      const DatePlaceholder& date =
          kDatePlaceholders[static_cast<size_t>(found->pass - kFirstDatePass)];
      if (date.source != DateSource::Now) return true;
    }
    usesName = usesName || found->pass == kNamePass || found->pass == kTypePass;
    usesNumber = usesNumber || found->pass == kIndexPass || found->pass == kRandomPass;
    if (lastBracket == '[') placeholderAfterOpen = true;
    done = found->position + found->length;
  }
  scanLiteral(std::string_view(mask).substr(done));
  return mayJoin || (usesNumber && HasBracket(fillText)) ||
         (usesName && (HasBracket(oldName) || HasBracket(replaceText)));
}

}  // namespace zul
