#pragma once

#include <string>

namespace zul {

// A fresh temporary folder, removed with all it holds when the object ends. Removal works on
// bytes, so names that are not valid UTF-8 go too (QTemporaryDir leaves them behind).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool IsValid() const { return !m_path.empty(); }
  const std::string& Path() const { return m_path; }
  std::string Path(const std::string& name) const { return m_path + "/" + name; }

  // Writes a file of the given bytes; returns its path.
  std::string Put(const std::string& name, const std::string& bytes) const;
  // The bytes of a file, or "<missing>".
  std::string Read(const std::string& name) const;

 private:
  std::string m_path;
};

}  // namespace zul
