#include <algorithm>
#include <utility>

#include "engine/clock.h"
#include "engine/date_placeholders.h"
#include "engine/filter_settings.h"
#include "engine/placeholders.h"
#include "engine/random.h"
#include "engine/range_pass.h"
#include "engine/text_ops.h"

namespace zul {

// The evaluation is the fixed chain of ReplaceAll passes, one per placeholder in chain order,
// then the range pass and the escapes. A pass whose placeholder does not occur changes nothing.
//
// The fast path: usually the chain's result is the mask with every placeholder replaced at once,
// and ReplaceAllAtOnce builds that in one walk over the mask. Its invariant: it gives a result
// only when no pass could have made a placeholder for a later one (the two ways are named
// there); otherwise the chain runs.
// The differential test and the fuzzer hold it to the chain. Measured with the engine benchmark
// (Release, CPU time per call) against the chain alone: 1.8x faster on the default mask
// (233 ns against 428 ns), 1.9x on "[index]-[name].[typ]", 2.9x on the date-heavy mask (659 ns
// against 1938 ns). Without it neither mask keeps to its target against one statx (0.38x and
// 1.7x of one statx, where 0.3x and 1x are the limits).

namespace {

constexpr size_t kMaxGrowth = kMaxEvaluationGrowth;

// The only bytes a Linux name cannot hold. A name read from the disk has none of them, so the
// name "Alter Name" shows is the name the mask and the ranges work on.
bool IsForbiddenInName(char c) { return c == '/' || c == '\0'; }

bool HasBracket(std::string_view text) {
  for (const char c : text) {
    if (c == '[' || c == ']') return true;
  }
  return false;
}

// Replaces every placeholder of `text` at once, as the chain would if no pass made a placeholder
// for a later pass. A pass can do so only through a value that holds a bracket, or by taking
// out a placeholder that stands between a "[" and a "]" with no other bracket between them
// (which then join around its value). Returns NeedsChain, leaving `out` unfinished, when either
// happens, and TooLong as soon as `out` exceeds `limit`.
enum class Outcome { Done, NeedsChain, TooLong };

template <class AppendValue>
Outcome ReplaceAllAtOnce(std::string_view text, const AppendValue& appendValue, size_t limit,
                         std::string& out) {
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
    if (!appendLiteral(text.substr(done, found->position - done))) return Outcome::NeedsChain;
    const size_t valueStart = out.size();
    appendValue(out, found->pass);
    if (out.size() > limit) return Outcome::TooLong;
    if (HasBracket(std::string_view(out).substr(valueStart))) return Outcome::NeedsChain;
    if (lastBracket == '[') placeholderAfterOpen = true;
    done = found->position + found->length;
  }
  return appendLiteral(text.substr(done)) ? Outcome::Done : Outcome::NeedsChain;
}

size_t Occurrences(std::string_view text, std::string_view search) {
  size_t count = 0;
  for (size_t at = text.find(search); at != std::string_view::npos;
       at = text.find(search, at + search.size()))
    ++count;
  return count;
}

// Runs the passes one by one, each only when its placeholder occurs at that point. Returns false,
// leaving `work` unfinished, instead of a pass that would grow it beyond `limit`.
template <class AppendValue>
bool ReplacePassByPass(std::string& work, const AppendValue& appendValue, size_t limit) {
  PassSet present(work);
  for (int pass = present.NextFrom(0); pass < kPassCount; pass = present.NextFrom(pass + 1)) {
    std::string value;
    appendValue(value, pass);
    const std::string_view placeholder = PassText(pass);
    if (value.size() > placeholder.size()) {
      const size_t growth = value.size() - placeholder.size();
      if (value.size() > limit || Occurrences(work, placeholder) > (limit - work.size()) / growth)
        return false;
    }
    ReplaceAll(work, placeholder, value);
    present = PassSet(work);
  }
  return true;
}

const std::string& FileText(DateSource source, const std::string& created,
                            const std::string& modified, const std::string& captured) {
  switch (source) {
    case DateSource::Created:
      return created;
    case DateSource::Modified:
      return modified;
    default:
      return captured;
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
  return Evaluate(std::move(oldName), index, std::move(created), std::move(modified),
                  std::string());
}

std::string FilterSettings::Evaluate(std::string oldName, int32_t index, std::string created,
                                     std::string modified, std::string captured) const {
  return Evaluate(std::move(oldName), index, std::move(created), std::move(modified),
                  [&captured] { return std::move(captured); });
}

std::string FilterSettings::Evaluate(std::string oldName, int32_t index, std::string created,
                                     std::string modified,
                                     const std::function<std::string()>& captured) const {
  static const FileTags kNoTags;
  std::string name =
      EvaluateFile(std::move(oldName), index, std::move(created), std::move(modified), captured,
                   []() -> const FileTags& { return kNoTags; })
          .name;
  RemoveUniqueSlots(name);
  return name;
}

NameEvaluation FilterSettings::EvaluateFile(
    std::string oldName, int32_t index, std::string created, std::string modified,
    const std::function<std::string()>& readCaptured,
    const std::function<const FileTags&()>& readTags) const {
  const LocalTime now = ReadClock();
  const int random = NextRandom();
  // No Linux name holds a NUL, and only a damaged filter file brings one in. Such a filter gives
  // no name (which the check refuses), so that none of its bytes pass for a slot of "[eindeutig]".
  const auto holdsNul = [](const std::string& text) {
    return text.find('\0') != std::string::npos;
  };
  if (holdsNul(mask) || holdsNul(replaceText) || holdsNul(fillText)) return {};

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
  std::string captured;
  bool capturedReady = false;
  const FileTags* tags = nullptr;
  bool emptyTag = false;
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
    if (pass >= kFirstTagPass) {
      const TagField field = kTagPlaceholders[static_cast<size_t>(pass - kFirstTagPass)].field;
      if (field == TagField::Unique) {
        out.append(kUniqueSlot);
        return;
      }
      if (tags == nullptr) tags = &readTags();
      const size_t before = out.size();
      AppendTagValue(out, field, *tags);
      if (out.size() == before) emptyTag = true;
      return;
    }
    const DatePlaceholder& date = kDatePlaceholders[static_cast<size_t>(pass - kFirstDatePass)];
    if (date.source == DateSource::Now) return AppendNowValue(out, date.value, now);
    if (!fileTextsReady) {
      // ReplaceAll of one byte by one byte, in place.
      std::replace(created.begin(), created.end(), ':', '.');
      std::replace(modified.begin(), modified.end(), ':', '.');
      fileTextsReady = true;
    }
    if (date.source == DateSource::Captured && !capturedReady) {
      captured = readCaptured();
      std::replace(captured.begin(), captured.end(), ':', '.');
      capturedReady = true;
    }
    AppendFileTimeValue(out, date.value, FileText(date.source, created, modified, captured));
  };

  const size_t limit = mask.size() + kMaxGrowth;
  std::string work;
  work.reserve(mask.size() + source.size() + 16);
  switch (ReplaceAllAtOnce(mask, appendValue, limit, work)) {
    case Outcome::Done:
      break;
    case Outcome::NeedsChain:
      work = mask;
      if (!ReplacePassByPass(work, appendValue, limit)) return {};
      break;
    case Outcome::TooLong:
      return {};
  }
  if (!ExpandRanges(work, source, std::max(limit, work.size()))) return {};
  ReplaceAll(work, "[[]", "[");
  ReplaceAll(work, "[]]", "]");
  return {std::move(work), emptyTag};
}

}  // namespace zul
