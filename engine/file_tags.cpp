#include "engine/file_tags.h"

#include <charconv>

namespace zul {

const std::array<TagPlaceholder, 22> kTagPlaceholders = {{
    {"[interpret]", TagField::Artist}, {"[artist]", TagField::Artist},
    {"[album]", TagField::Album},      {"[titel]", TagField::Title},
    {"[title]", TagField::Title},      {"[spur]", TagField::Track},
    {"[track]", TagField::Track},      {"[genre]", TagField::Genre},
    {"[cdnr]", TagField::Disc},        {"[disc]", TagField::Disc},
    {"[erschienen]", TagField::Year},  {"[released]", TagField::Year},
    {"[hersteller]", TagField::Make},  {"[make]", TagField::Make},
    {"[kamera]", TagField::Model},     {"[model]", TagField::Model},
    {"[breite]", TagField::Width},     {"[width]", TagField::Width},
    {"[hoehe]", TagField::Height},     {"[height]", TagField::Height},
    {"[eindeutig]", TagField::Unique}, {"[unique]", TagField::Unique},
}};

namespace {

// The longest name Linux file systems allow, in bytes.
constexpr size_t kMaxNameBytes = 255;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

void AppendNumber(std::string& out, uint32_t value, int minDigits) {
  if (value == 0) return;
  char digits[16];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (auto n = end - digits; n < minDigits; ++n) out += '0';
  out.append(digits, static_cast<size_t>(end - digits));
}

}  // namespace

void RemoveUniqueSlots(std::string& name) {
  for (size_t slot = name.find(kUniqueSlot); slot != std::string::npos;
       slot = name.find(kUniqueSlot, slot))
    name.erase(slot, kUniqueSlot.size());
}

void AppendNameSafe(std::string& out, std::string_view value) {
  const auto isBlank = [](char c) {
    return c == ' ' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  };
  while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
  if (value.size() > kMaxNameBytes) {
    size_t cut = kMaxNameBytes;
    // Back to the first byte of the character the cut would split; invalid bytes stand alone.
    for (size_t back = 0; back < 3 && cut > 0 && IsContinuationByte(value[cut]); ++back) --cut;
    if (IsContinuationByte(value[cut])) cut = kMaxNameBytes;
    value = value.substr(0, cut);
  }
  for (const char c : value) {
    if (c == '/') {
      out += '-';
    } else if (c == '[') {
      out += "[[]";
    } else if (c == ']') {
      out += "[]]";
    } else if (isBlank(c)) {
      out += ' ';
    } else {
      out += c;
    }
  }
}

void AppendTagValue(std::string& out, TagField field, const FileTags& tags) {
  switch (field) {
    case TagField::Artist:
      return AppendNameSafe(out, tags.artist);
    case TagField::Album:
      return AppendNameSafe(out, tags.album);
    case TagField::Title:
      return AppendNameSafe(out, tags.title);
    case TagField::Genre:
      return AppendNameSafe(out, tags.genre);
    case TagField::Make:
      return AppendNameSafe(out, tags.make);
    case TagField::Model:
      return AppendNameSafe(out, tags.model);
    case TagField::Track:
      return AppendNumber(out, tags.track, 2);
    case TagField::Disc:
      return AppendNumber(out, tags.disc, 1);
    case TagField::Year:
      return AppendNumber(out, tags.year, 1);
    case TagField::Width:
      return AppendNumber(out, tags.width, 1);
    case TagField::Height:
      return AppendNumber(out, tags.height, 1);
    case TagField::Unique:
      break;
  }
}

}  // namespace zul
