#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zul {

// What a file's own metadata says, as far as names can use it: music tags, and the camera and
// picture size of photos and videos. Texts as the file holds them (UTF-8, unchecked); a number of
// 0 means the file does not say.
struct FileTags {
  std::string artist;
  std::string album;
  std::string title;
  std::string genre;
  std::string make;
  std::string model;
  uint32_t track = 0;
  uint32_t disc = 0;
  uint32_t year = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

// Which value a metadata placeholder stands for. Unique is no tag: it is left as a slot in the
// name for the plan to fill (see kUniqueSlot).
enum class TagField : uint8_t {
  Artist,
  Album,
  Title,
  Track,  // two digits at least
  Genre,
  Disc,
  Year,
  Make,
  Model,
  Width,
  Height,
  Unique,
};

struct TagPlaceholder {
  std::string_view text;
  TagField field;
};

// The metadata placeholders in the order of their replacement, after the date and time
// placeholders; German spelling first.
extern const std::array<TagPlaceholder, 22> kTagPlaceholders;

// What "[eindeutig]" leaves in an evaluated name: bytes no name read from a disk holds (NUL), so
// the plan finds the slot and puts "", "-2", "-3", ... in its place.
inline constexpr std::string_view kUniqueSlot{"\0\x1f\0", 3};

// Takes every unique slot out of a name, as for a name that is free (a preview, which has no plan).
void RemoveUniqueSlots(std::string& name);

// Appends a metadata text as a name can hold it: '/' becomes '-' (so "AC/DC" gives "AC-DC"),
// control characters a blank, blanks at either end are dropped, and the text is cut to 255 bytes
// at a character boundary. Square brackets stay literal: they are written as the escapes "[[]"
// and "[]]", which the evaluation's last step turns back.
void AppendNameSafe(std::string& out, std::string_view value);

// The value of a metadata placeholder other than Unique, made safe; empty where the file lacks it.
void AppendTagValue(std::string& out, TagField field, const FileTags& tags);

}  // namespace zul
