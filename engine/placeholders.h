#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/date_placeholders.h"
#include "engine/file_tags.h"

namespace zul {

// The placeholder passes of the evaluation chain, in chain order: "[name]", "[typ]", "[index]",
// "[zufall]", then the date and time placeholders, then the metadata placeholders. Every
// placeholder is "[" lower-case letters
// "]", so an occurrence holds no bracket inside and two occurrences never overlap.
inline constexpr int kNamePass = 0;
inline constexpr int kTypePass = 1;
inline constexpr int kIndexPass = 2;
inline constexpr int kRandomPass = 3;
inline constexpr int kFirstDatePass = 4;
inline constexpr int kFirstTagPass = kFirstDatePass + static_cast<int>(kDatePlaceholders.size());
inline constexpr int kPassCount = kFirstTagPass + static_cast<int>(kTagPlaceholders.size());

std::string_view PassText(int pass);

struct Occurrence {
  size_t position;
  size_t length;
  int pass;
};

// The first placeholder occurrence in `text` at or after byte `from`.
std::optional<Occurrence> NextPlaceholder(std::string_view text, size_t from);

// The set of passes whose placeholder occurs in a text.
class PassSet {
 public:
  explicit PassSet(std::string_view text);

  // The first pass from `pass` on that is in the set; kPassCount if none.
  int NextFrom(int pass) const;

 private:
  std::array<uint64_t, (kPassCount + 63) / 64> bits_{};
};

}  // namespace zul
