#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/filter_options.h"

namespace zul {

// What the command line of zulren asks for.
struct Options {
  enum class Sort { None, Name, Created, Modified, Captured };
  // The filter file to read: from --filter, or without --filter and --mask the first argument;
  // empty when there is none (the default Filter, changed by `overrides`).
  std::string filterFile;
  FilterOverrides overrides;
  std::string saveFile;  // --save: where to write the resulting Filter
  std::vector<std::string> paths;
  std::optional<std::string> files0From;  // the paths come from there instead ("-": stdin)
  bool recursive = false;
  Sort sort = Sort::None;
  bool apply = false;
  bool undo = false;
  bool null = false;
  bool json = false;
  bool help = false;
  bool version = false;
};

// The options of `arguments` (without the program's name); an empty result and a German message in
// `error` when they make no sense. "--" ends the options. An option with a value takes it after
// "=" or as the next argument.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

// The German text of --help.
std::string HelpText();

}  // namespace zul
