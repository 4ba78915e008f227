#pragma once

#include "platform/journal_folder.h"

namespace zul {

// A journal folder at a given path, through Linux system calls.
class LinuxJournalFolder : public JournalFolder {
 public:
  explicit LinuxJournalFolder(std::string path) : m_path(std::move(path)) {}

  const std::string& Path() const override { return m_path; }
  std::error_code Prepare() override;
  std::error_code List(std::vector<std::string>& names) override;
  Result<int> Create(const std::string& name) override;
  Result<int> Open(const std::string& name) override;
  void Close(int file) override;
  std::error_code Lock(int file) override;
  std::error_code Write(int file, uint64_t offset, std::string_view bytes) override;
  std::error_code Read(int file, uint64_t offset, size_t size, std::string& bytes) override;
  Result<int64_t> Modified(int file) override;
  std::error_code Touch(int file) override;
  std::error_code Sync(int file) override;
  std::error_code Rename(const std::string& from, const std::string& to) override;
  std::error_code Remove(const std::string& name) override;

 private:
  std::string In(const std::string& name) const { return m_path + '/' + name; }

  std::string m_path;
};

// Where the program keeps its state, following the XDG base directories: $XDG_STATE_HOME/zul
// where it is an absolute path, else $HOME/.local/state/zul (the account's home without HOME).
std::string StateFolderPath();

}  // namespace zul
