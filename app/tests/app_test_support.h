#pragma once

#include <fstream>
#include <string>

#include <QFile>
#include <QTemporaryDir>

#include "document/filter_file.h"
#include "platform/testing/qt_test_app.h"

// Members of a fixture are built before SetUp runs; the widgets among them need the application.
struct QtApp {
  QtApp() { EnsureQtApp(); }
};

// A temporary folder with files of given bytes in it.
class TestFolder {
 public:
  std::string Path(const std::string& name) const {
    return QFile::encodeName(m_dir.path()).toStdString() + "/" + name;
  }
  std::string Put(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string PutFilter(const std::string& name, const FilterSettings& filter) const {
    std::string bytes;
    WriteTo(filter, bytes);
    return Put(name, bytes);
  }

 private:
  QTemporaryDir m_dir;
};
