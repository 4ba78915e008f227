#include "platform/testing/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zul {

TempFolder::TempFolder() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/zul-tests-XXXXXX";
  if (mkdtemp(pattern.data())) m_path = pattern;
}

TempFolder::~TempFolder() {
  if (m_path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::Put(const std::string& name, const std::string& bytes) const {
  std::string path = Path(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  if (!in) return "<missing>";
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace zul
