#include <algorithm>

#include "clock.h"
#include "date_placeholders.h"
#include "filter_settings.h"
#include "placeholders.h"
#include "random.h"
#include "range_pass.h"
#include "text_ops.h"

// The evaluation is the fixed chain of ReplaceAll passes, one per placeholder in chain order,
// then the range pass and the escapes. A pass whose placeholder does not occur changes nothing;
// usually the chain's result is the mask with every placeholder replaced at once, which is
// computed in one go when it provably is.

namespace {

bool IsForbiddenInName(char c) {
  switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

bool HasBracket(std::string_view text) {
  for (const char c : text) {
    if (c == '[' || c == ']') return true;
  }
  return false;
}

// Replaces every placeholder of `text` at once, as the chain would if no pass made a placeholder
// for a later pass. A pass can do so only through a value that holds a bracket, or by taking
// out a placeholder that stands between a "[" and a "]" with no other bracket between them
// (which then join around its value). Returns false, leaving `out` unfinished, when either
// happens.
template <class AppendValue>
bool ReplaceAllAtOnce(std::string_view text, const AppendValue& appendValue, std::string& out) {
  char lastBracket = 0;
  bool placeholderAfterOpen = false;
  auto appendLiteral = [&](std::string_view literal) {
    for (const char c : literal) {
      if (c != '[' && c != ']') continue;
      if (c == ']' && placeholderAfterOpen) return false;
      placeholderAfterOpen = false;
      lastBracket = c;
    }
    out.append(literal);
    return true;
  };
  size_t done = 0;
  for (auto found = NextPlaceholder(text, 0); found; found = NextPlaceholder(text, done)) {
    if (!appendLiteral(text.substr(done, found->position - done))) return false;
    const size_t valueStart = out.size();
    appendValue(out, found->pass);
    if (HasBracket(std::string_view(out).substr(valueStart))) return false;
    if (lastBracket == '[') placeholderAfterOpen = true;
    done = found->position + found->length;
  }
  return appendLiteral(text.substr(done));
}

// Runs the passes one by one, each only when its placeholder occurs at that point.
template <class AppendValue>
void ReplacePassByPass(std::string& work, const AppendValue& appendValue) {
  PassSet present(work);
  for (int pass = present.NextFrom(0); pass < kPassCount; pass = present.NextFrom(pass + 1)) {
    std::string value;
    appendValue(value, pass);
    ReplaceAll(work, PassText(pass), value);
    present = PassSet(work);
  }
}

int32_t WrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrappingMultiply(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

std::string FilterSettings::Evaluate(std::string oldName, int32_t index, std::string created,
                                     std::string modified) const {
  const LocalTime now = ReadClock();
  const int random = NextRandom();

  std::string& source = oldName;
  std::erase_if(source, IsForbiddenInName);
  ReplaceAll(source, searchText, replaceText);
  const size_t dot = source.rfind('.');
  const std::string_view sourceView = source;
  const std::string_view namePart =
      dot == std::string::npos ? std::string_view() : sourceView.substr(0, dot);
  const std::string_view extPart =
      dot == std::string::npos ? sourceView : sourceView.substr(dot + 1);

  bool fileTextsReady = false;
  auto appendValue = [&](std::string& out, int pass) {
    switch (pass) {
      case kNamePass:
        return AppendConvertedCase(out, namePart, nameCase, true);
      case kTypePass:
        return AppendConvertedCase(out, extPart, extCase, false);
      case kIndexPass:
        return AppendFilledNumber(out, WrappingAdd(start, WrappingMultiply(index, step)), digits,
                                  fillText);
      case kRandomPass:
        return AppendFilledNumber(out, step == 0 ? start : WrappingAdd(start, random % step),
                                  digits, fillText);
      default:
        break;
    }
    const DatePlaceholder& date = kDatePlaceholders[static_cast<size_t>(pass - kFirstDatePass)];
    if (date.source == DateSource::Now) return AppendNowValue(out, date.value, now);
    if (!fileTextsReady) {
      // ReplaceAll of one byte by one byte, in place.
      std::replace(created.begin(), created.end(), ':', '.');
      std::replace(modified.begin(), modified.end(), ':', '.');
      fileTextsReady = true;
    }
    AppendFileTimeValue(out, date.value, date.source == DateSource::Created ? created : modified);
  };

  std::string work;
  work.reserve(mask.size() + source.size() + 16);
  if (!ReplaceAllAtOnce(mask, appendValue, work)) {
    work = mask;
    ReplacePassByPass(work, appendValue);
  }
  ExpandRanges(work, source);
  ReplaceAll(work, "[[]", "[");
  ReplaceAll(work, "[]]", "]");
  return work;
}
