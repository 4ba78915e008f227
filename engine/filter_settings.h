#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/case_mode.h"
#include "engine/file_tags.h"

namespace zul {

// One evaluated name and what the evaluation saw on the way.
// How far values may grow the work text of an evaluation beyond the mask's own length. A filter
// can multiply its inputs (thousands of "[index]" each filled with a huge fill text, or ranges of
// a huge name). No file name is longer than 255 bytes, nor a path than 4096, so an evaluation
// that grows beyond that gives an empty name (which the check refuses) instead of taking memory
// in proportion to that product for every row of the list.
inline constexpr size_t kMaxEvaluationGrowth = 4096;

struct NameEvaluation {
  // The new name; every "[eindeutig]" left as kUniqueSlot for the plan to fill.
  std::string name;
  // A metadata placeholder (music tag, camera, picture size) came out empty.
  bool emptyTag = false;
};

// One Filter: the complete set of renaming rules. Copies are deep; nothing is validated.
class FilterSettings {
 public:
  FilterSettings() = default;
  FilterSettings(const FilterSettings&) = default;
  FilterSettings& operator=(const FilterSettings&) = default;
  virtual ~FilterSettings() = default;

  // Assigns all nine fields from the source, unchanged.
  void CopyFrom(const FilterSettings& source);

  // Computes one new name (no directory); "[eindeutig]" gives an empty text, as for a name that
  // is free, and the metadata placeholders too. Reads the clock once and draws exactly one value
  // from the random generator on every call, whatever the mask holds. Texts are UTF-8 byte strings;
  // invalid bytes pass through unchanged.
  std::string Evaluate(std::string oldName, int32_t index, std::string created,
                       std::string modified) const;

  // As above, with the capture time's text for the capture-time placeholders; the form without it
  // gives them an empty value.
  std::string Evaluate(std::string oldName, int32_t index, std::string created,
                       std::string modified, std::string captured) const;

  // As above, asking `captured` for the capture time's text at most once, and only when a
  // capture-time placeholder is replaced, be it in the mask or made by an earlier pass (a name
  // holding "[fdatum]"): so a caller reads a file's metadata only for the evaluations that use it.
  std::string Evaluate(std::string oldName, int32_t index, std::string created,
                       std::string modified, const std::function<std::string()>& captured) const;

  // As above, asking `tags` for the file's metadata at most once, and only when a metadata
  // placeholder is replaced. The name keeps its unique slots (see NameEvaluation).
  NameEvaluation EvaluateFile(std::string oldName, int32_t index, std::string created,
                              std::string modified, const std::function<std::string()>& captured,
                              const std::function<const FileTags&()>& tags) const;
  // Whether evaluating `oldName` may read the creation or last-write time (a capture time's
  // stand-in included), so that a caller reads a file's dates only where they can matter: false
  // only when no date of a file can change the result. Asks nothing of the clock or the generator.
  bool NeedsFileTimes(std::string_view oldName) const;

  std::string mask = "[name].[typ]";
  std::string searchText;
  std::string replaceText;
  int32_t nameCase = Unchanged;
  int32_t extCase = Unchanged;
  int32_t start = 1;
  int32_t step = 1;
  std::string fillText = "0";
  int32_t digits = 0;
};

}  // namespace zul
