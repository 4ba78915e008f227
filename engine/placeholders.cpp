#include "engine/placeholders.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zul {

namespace {

// The longest placeholder text between its brackets ("erschienen", "hersteller").
constexpr size_t kMaxInner = 10;

// The first eight bytes of an inner text: equal for texts of one length only where they agree
// there.
uint64_t InnerKey(std::string_view inner) {
  uint64_t key = 0;
  std::memcpy(&key, inner.data(), std::min(inner.size(), sizeof key));
  return key;
}

// Open addressing over the keys; more than twice as many slots as placeholders keeps the probes
// short.
class PassTable {
 public:
  PassTable() {
    for (int pass = 0; pass < kPassCount; ++pass) {
      const std::string_view text = PassText(pass);
      const uint64_t key = InnerKey(text.substr(1, text.size() - 2));
      size_t slot = Slot(key);
      while (slots_[slot].pass >= 0) slot = (slot + 1) % kSlots;
      slots_[slot] = {key, text.size() - 2, pass};
    }
  }

  // The pass of the placeholder "[inner]", if any.
  int Find(std::string_view inner) const {
    const uint64_t key = InnerKey(inner);
    for (size_t slot = Slot(key); slots_[slot].pass >= 0; slot = (slot + 1) % kSlots) {
      const Entry& entry = slots_[slot];
      if (entry.key != key || entry.length != inner.size()) continue;
      // Texts of one length up to eight bytes are equal where their keys are.
      if (inner.size() <= sizeof key || PassText(entry.pass).substr(1, inner.size()) == inner)
        return entry.pass;
    }
    return -1;
  }

 private:
  static constexpr size_t kSlots = 512;
  struct Entry {
    uint64_t key = 0;
    size_t length = 0;
    int pass = -1;
  };
  static size_t Slot(uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> 55; }

  std::array<Entry, kSlots> slots_{};
};

}  // namespace

std::string_view PassText(int pass) {
  switch (pass) {
    case kNamePass:
      return "[name]";
    case kTypePass:
      return "[typ]";
    case kIndexPass:
      return "[index]";
    case kRandomPass:
      return "[zufall]";
    default:
      if (pass >= kFirstTagPass)
        return kTagPlaceholders[static_cast<size_t>(pass - kFirstTagPass)].text;
      return kDatePlaceholders[static_cast<size_t>(pass - kFirstDatePass)].text;
  }
}

std::optional<Occurrence> NextPlaceholder(std::string_view text, size_t from) {
  static const PassTable table;
  for (size_t open = text.find('[', from); open != std::string_view::npos;) {
    size_t close = open + 1;
    const size_t limit = std::min(text.size(), open + 2 + kMaxInner);
    while (close < limit && text[close] != '[' && text[close] != ']') ++close;
    if (close < limit && text[close] == ']' && close > open + 1) {
      const int pass = table.Find(text.substr(open + 1, close - open - 1));
      if (pass >= 0) return Occurrence{open, close - open + 1, pass};
    }
    open = text.find('[', close);
  }
  return std::nullopt;
}

PassSet::PassSet(std::string_view text) {
  for (auto found = NextPlaceholder(text, 0); found;
       found = NextPlaceholder(text, found->position + found->length)) {
    bits_[static_cast<size_t>(found->pass) / 64] |= uint64_t{1} << (found->pass % 64);
  }
}

int PassSet::NextFrom(int pass) const {
  for (auto word = static_cast<size_t>(pass) / 64; word < bits_.size(); ++word) {
    uint64_t bits = bits_[word];
    if (word == static_cast<size_t>(pass) / 64) bits &= ~uint64_t{0} << (pass % 64);
    if (bits != 0) return static_cast<int>(word * 64) + std::countr_zero(bits);
  }
  return kPassCount;
}

}  // namespace zul
