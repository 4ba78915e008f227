#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/qt_test_app.h"

// A list view over real files in a temporary folder.
class ListOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_temp.isValid());
    m_dir = QFile::encodeName(m_temp.path()).toStdString();
  }

  // Byte-wise, since Qt cannot remove names that are not valid UTF-8.
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }
  std::string Path(const std::string& name) const { return m_dir + "/" + name; }
  // Writes a file whose content is its own name, so any mix-up shows afterwards.
  void Make(const std::string& name) const { Write(name, "content of " + name); }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    if (!in) return "<missing>";
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Adds a row for `name` in the folder and gives it `newName`.
  void AddRow(const std::string& name, const std::string& newName) {
    m_view.AddFile(Path(name));
    m_view.Model().SetText(m_view.RowCount() - 1, ColNewName, newName);
  }

  // First member, so the application exists before the view.
  bool m_app = (EnsureQtApp(), true);
  QTemporaryDir m_temp;
  std::string m_dir;
  FilterSettings m_filter;
  CZulboView m_view{m_filter};
};
