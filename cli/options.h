#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zul {

// What the command line of zulren asks for.
struct Options {
  enum class Sort { None, Name, Created, Modified, Captured };
  std::string filterFile;
  std::vector<std::string> paths;
  bool recursive = false;
  Sort sort = Sort::None;
  bool apply = false;
  bool undo = false;
  bool null = false;
  bool help = false;
  bool version = false;
};

// The options of `arguments` (without the program's name); an empty result and a German message in
// `error` when they make no sense. "--" ends the options.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

// The German text of --help.
std::string HelpText();

}  // namespace zul
