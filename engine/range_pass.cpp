#include "engine/range_pass.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/text_units.h"

namespace zul {

namespace {

// Byte offsets at which the characters of a text start, followed by the text's size, so that
// every range is cut without walking the text again.
std::vector<size_t> CharStarts(std::string_view text) {
  std::vector<size_t> starts;
  starts.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); i += CharBytes(text, i)) starts.push_back(i);
  starts.push_back(text.size());
  return starts;
}

std::string_view SelectRange(std::string_view source, const std::vector<size_t>& starts,
                             std::string_view inner) {
  const size_t comma = inner.find(',');
  const std::string_view second = inner.substr(comma + 1);
  const int64_t from = AtolRule(inner.substr(0, comma));
  const int64_t to = AtolRule(second.substr(0, second.find(',')));
  const auto length = static_cast<int64_t>(starts.size() - 1);
  auto position = [length](int64_t k) { return k > 0 ? k - 1 : k < 0 ? length + k : 0; };
  int64_t lo = std::min(position(from), position(to));
  const int64_t hi = std::max(position(from), position(to));
  int64_t count = hi - lo + 1;
  lo = std::max<int64_t>(lo, 0);
  if (lo + count > length) count = length - lo;
  if (lo > length) count = 0;
  if (count <= 0) return {};
  const size_t begin = starts[static_cast<size_t>(lo)];
  return source.substr(begin, starts[static_cast<size_t>(lo + count)] - begin);
}

}  // namespace

std::string_view RangeText(std::string_view source, std::string_view inner) {
  return SelectRange(source, CharStarts(source), inner);
}

bool ExpandRanges(std::string& work, std::string_view source, size_t limit) {
  const std::string_view text = work;
  std::vector<size_t> sourceStarts;
  // The result's pieces, last first: the text behind a replaced range is final once the range is.
  std::vector<std::string_view> pieces;
  size_t unchangedEnd = text.size();
  size_t e = text.size();
  while (e > 0) {
    const size_t r = text.rfind(']', e - 1);
    if (r == std::string_view::npos || r == 0) break;
    const size_t l = text.rfind('[', r - 1);
    if (l == std::string_view::npos) break;
    const std::string_view inner = text.substr(l + 1, r - l - 1);
    if (inner.find(',') != std::string_view::npos) {
      if (sourceStarts.empty()) sourceStarts = CharStarts(source);
      pieces.push_back(text.substr(r + 1, unchangedEnd - r - 1));
      pieces.push_back(SelectRange(source, sourceStarts, inner));
      unchangedEnd = l;
    }
    e = l;
  }
  if (pieces.empty()) return true;
  pieces.push_back(text.substr(0, unchangedEnd));
  size_t total = 0;
  for (const std::string_view piece : pieces) total += piece.size();
  if (total > limit) return false;
  std::string result;
  result.reserve(total);
  for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) result.append(*piece);
  work = std::move(result);
  return true;
}

}  // namespace zul
