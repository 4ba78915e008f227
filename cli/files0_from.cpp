#include "cli/files0_from.h"

#include <unistd.h>

#include <cerrno>
#include <memory>

#include "cli/shell_quote.h"
#include "platform/error_text.h"
#include "platform/file_system.h"

namespace zul {

namespace {

constexpr size_t kBlock = 1 << 16;

std::error_code ReadStandardInput(std::string& bytes) {
  for (;;) {
    const size_t size = bytes.size();
    bytes.resize(size + kBlock);
    const ssize_t count = read(STDIN_FILENO, bytes.data() + size, kBlock);
    if (count < 0 && errno == EINTR) {
      bytes.resize(size);
      continue;
    }
    bytes.resize(size + static_cast<size_t>(count < 0 ? 0 : count));
    if (count < 0) return LastErrno();
    if (count == 0) return {};
  }
}

std::error_code ReadFile(FileSystem& files, const std::string& path, std::string& bytes) {
  Result<std::unique_ptr<InputFile>> input = files.OpenInput(path);
  if (!input) return input.error();
  for (;;) {
    const size_t size = bytes.size();
    bytes.resize(size + kBlock);
    const Result<size_t> count = (*input)->Read(bytes.data() + size, kBlock);
    bytes.resize(size + (count ? *count : 0));
    if (!count) return count.error();
    if (*count == 0) return {};
  }
}

}  // namespace

std::optional<std::vector<std::string>> SplitPaths0(std::string_view bytes, std::string& error) {
  std::vector<std::string> paths;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string_view::npos) end = bytes.size();
    if (end == start) {
      error = "In „--files0-from“ steht ein leerer Pfad (als " + std::to_string(paths.size() + 1) +
              ". Eintrag).";
      return std::nullopt;
    }
    paths.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return paths;
}

std::optional<std::vector<std::string>> ReadPaths0(FileSystem& files, const std::string& source,
                                                   std::string& error) {
  std::string bytes;
  const std::error_code read =
      source == "-" ? ReadStandardInput(bytes) : ReadFile(files, source, bytes);
  if (read) {
    error = FileErrorText(read, source == "-" ? "Standardeingabe" : ShellQuote(source));
    return std::nullopt;
  }
  return SplitPaths0(bytes, error);
}

}  // namespace zul
