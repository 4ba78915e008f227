#include "cli/filter_options.h"

#include <charconv>
#include <limits>
#include <memory>

#include "cli/shell_quote.h"
#include "document/filter_file.h"
#include "document/input_line_source.h"
#include "platform/error_text.h"
#include "platform/file_system.h"

namespace zul {

namespace {

// The case modes by the words of the command line, at their values; "words" only for the name,
// as in the window.
struct CaseWord {
  const char* word;
  int32_t mode;
};
constexpr CaseWord kCaseWords[] = {{"keep", Unchanged},
                                   {"lower", Lower},
                                   {"upper", Upper},
                                   {"first", FirstUpper},
                                   {"words", WordsUpper}};

// A whole decimal number within [low, high], with an optional sign.
std::optional<int32_t> ParseNumber(const std::string& value, int64_t low, int64_t high) {
  const char* begin = value.data();
  const char* end = begin + value.size();
  if (begin != end && *begin == '+' && begin + 1 != end && begin[1] != '-') ++begin;
  int64_t number = 0;
  const auto [stop, error] = std::from_chars(begin, end, number);
  if (error != std::errc() || stop != end || begin == end || number < low || number > high)
    return std::nullopt;
  return static_cast<int32_t>(number);
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\n\r") != std::string::npos;
}

bool ParseCase(const std::string& name, const std::string& value, bool forName,
               std::optional<int32_t>& field, std::string& error) {
  for (const CaseWord& entry : kCaseWords) {
    if (value != entry.word || (!forName && entry.mode == WordsUpper)) continue;
    field = entry.mode;
    return true;
  }
  error = "Unbekannte Schreibweise „" + ShellQuote(value) + "“ für „" + name + "“: erlaubt sind " +
          (forName ? "keep, lower, upper, first und words." : "keep, lower, upper und first.");
  return false;
}

bool ParseText(const std::string& name, const std::string& value, std::optional<std::string>& field,
               std::string& error) {
  if (HasLineBreak(value)) {
    error = "Der Wert von „" + name + "“ darf keinen Zeilenumbruch enthalten.";
    return false;
  }
  field = value;
  return true;
}

bool ParseInteger(const std::string& name, const std::string& value, int64_t low, int64_t high,
                  std::optional<int32_t>& field, std::string& error) {
  field = ParseNumber(value, low, high);
  if (field) return true;
  error = "Der Wert von „" + name + "“ ist keine ganze Zahl von " + std::to_string(low) + " bis " +
          std::to_string(high) + ": „" + ShellQuote(value) + "“.";
  return false;
}

// No name is longer than 255 bytes, so neither is a counter that must fit in one.
constexpr int64_t kMaxDigits = 255;
constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();

}  // namespace

void FilterOverrides::ApplyTo(FilterSettings& filter) const {
  if (mask) filter.mask = *mask;
  if (searchText) filter.searchText = *searchText;
  if (replaceText) filter.replaceText = *replaceText;
  if (nameCase) filter.nameCase = *nameCase;
  if (extCase) filter.extCase = *extCase;
  if (start) filter.start = *start;
  if (step) filter.step = *step;
  if (fillText) filter.fillText = *fillText;
  if (digits) filter.digits = *digits;
}

bool IsFilterFieldOption(const std::string& name) {
  for (const char* option : {"--mask", "--search", "--replace", "--start", "--step", "--digits",
                             "--fill", "--name-case", "--ext-case"})
    if (name == option) return true;
  return false;
}

bool ParseFilterFieldOption(const std::string& name, const std::string& value,
                            FilterOverrides& overrides, std::string& error) {
  if (name == "--mask") return ParseText(name, value, overrides.mask, error);
  if (name == "--search") return ParseText(name, value, overrides.searchText, error);
  if (name == "--replace") return ParseText(name, value, overrides.replaceText, error);
  if (name == "--fill") return ParseText(name, value, overrides.fillText, error);
  if (name == "--start") return ParseInteger(name, value, kIntMin, kIntMax, overrides.start, error);
  if (name == "--step") return ParseInteger(name, value, kIntMin, kIntMax, overrides.step, error);
  if (name == "--digits") return ParseInteger(name, value, 0, kMaxDigits, overrides.digits, error);
  if (name == "--name-case") return ParseCase(name, value, true, overrides.nameCase, error);
  if (name == "--ext-case") return ParseCase(name, value, false, overrides.extCase, error);
  error = "Unbekannte Option „" + name + "“.";
  return false;
}

bool SaveFilterFile(FileSystem& files, const std::string& path, const FilterSettings& filter,
                    std::string& error) {
  // Only a filter file is written over: a wrong name must not cost the user another file.
  if (Result<std::unique_ptr<InputFile>> existing = files.OpenInput(path); existing) {
    InputLineSource source(**existing);
    FilterSettings ignored;
    if ((*existing)->Status().size > 0 && ReadFrom(ignored, source) != ReadOk) {
      error =
          "„" + ShellQuote(path) + "“ ist keine Filterdatei von Zul und wird nicht überschrieben.";
      return false;
    }
  }
  std::string bytes;
  WriteTo(filter, bytes);
  if (const std::error_code written = files.WriteFileAtomically(path, bytes); written) {
    error = FileErrorText(written, ShellQuote(path));
    return false;
  }
  return true;
}

}  // namespace zul
