#pragma once

#include <string>

#include <gtest/gtest.h>

#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/temp_folder.h"
#include "platform/testing/test_services.h"

namespace zul {

// A list view over real files in a temporary folder, with services that fail on demand.
class ListOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_temp.IsValid());
    m_dir = m_temp.Path();
  }

  std::string Path(const std::string& name) const { return m_temp.Path(name); }
  // Writes a file whose content is its own name, so any mix-up shows afterwards.
  void Make(const std::string& name) const { Write(name, "content of " + name); }
  void Write(const std::string& name, const std::string& content) const {
    m_temp.Put(name, content);
  }
  std::string Read(const std::string& name) const { return m_temp.Read(name); }
  // Adds a row for `name` in the folder and gives it `newName`.
  void AddRow(const std::string& name, const std::string& newName) {
    m_view.AddFile(Path(name));
    m_view.Model().SetNewName(m_view.RowCount() - 1, newName);
  }

  // The file system fake, with nothing counted or planned yet.
  FakeFileSystem& FreshFake() {
    m_services.files.Reset();
    return m_services.files;
  }

  TestServices m_services;
  ScriptedPrompter& m_prompter = m_services.prompter;
  TempFolder m_temp;
  std::string m_dir;
  FilterSettings m_filter;
  CZulboView m_view{m_filter, m_services};
};

}  // namespace zul
