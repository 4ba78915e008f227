#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace zul {

// Keeps the folder used last open, since the files of one folder usually follow each other.
class FolderCache {
 public:
  explicit FolderCache(FileSystem& files) : m_files(files) {}
  ~FolderCache() { Close(); }
  FolderCache(const FolderCache&) = delete;
  FolderCache& operator=(const FolderCache&) = delete;

  FileSystem& Files() const { return m_files; }

  // The handle of `directory` ("" is the root folder), or why it cannot be opened.
  Result<int> Open(std::string_view directory) {
    if (!m_open || directory != m_directory) {
      Close();
      m_directory = directory;
      m_handle = m_files.OpenFolder(m_directory.empty() ? std::string("/") : m_directory);
      m_open = true;
    }
    return m_handle;
  }

  // The times of the entry `name` of `directory`, read in the open folder.
  Result<FileTimes> ReadTimes(std::string_view directory, const std::string& name) {
    const Result<int> folder = Open(directory);
    if (!folder) return folder.error();
    return m_files.ReadTimesInFolder(*folder, name);
  }

  // Closes the folder kept open; the next Open opens it again.
  void Close() {
    if (m_open && m_handle) m_files.CloseFolder(*m_handle);
    m_open = false;
  }

 private:
  FileSystem& m_files;
  std::string m_directory;
  Result<int> m_handle{-1};
  bool m_open = false;
};

}  // namespace zul
