#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <QString>

namespace zul {

// The filter files used last, most recent first, as the "Datei" menu lists them.
class RecentFiles {
 public:
  static constexpr size_t kMax = 4;

  // Puts `path` first; an entry already listed moves up, the oldest beyond kMax drops out.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  void Set(std::vector<std::string> paths);
  const std::vector<std::string>& Paths() const { return m_paths; }

  // The menu entry of the entry at `index`: "&1 name.fil", the file's name with its ampersands
  // doubled so that they show.
  static QString MenuText(size_t index, const std::string& path);

 private:
  std::vector<std::string> m_paths;
};

}  // namespace zul
