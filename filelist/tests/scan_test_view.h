#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/filter_settings.h"
#include "filelist/scan_progress.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/qt_test_app.h"

// Goes on until `cancelAfter` files were found (never when negative); counts its calls.
class ScriptedScanProgress : public ScanProgress {
 public:
  explicit ScriptedScanProgress(int cancelAfter) : m_cancelAfter(cancelAfter) {}
  bool Continue(int filesFound) override { return m_cancelAfter < 0 || filesFound < m_cancelAfter; }

 private:
  int m_cancelAfter;
};

// A view for scan tests whose scans never show a dialog; `cancelAfter` as above.
struct ScanTestView {
  explicit ScanTestView(int cancelAfter = -1) {
    SetScanProgressFactory([cancelAfter](QWidget*) -> std::unique_ptr<ScanProgress> {
      return std::make_unique<ScriptedScanProgress>(cancelAfter);
    });
  }
  ~ScanTestView() { SetScanProgressFactory(nullptr); }

  // "directory/oldName" of every row, top to bottom.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const FileEntry& row : view.Model().Rows())
      paths.push_back(row.directory + "/" + row.oldName);
    return paths;
  }
  std::vector<std::string> NewNames() const {
    std::vector<std::string> names;
    for (const FileEntry& row : view.Model().Rows()) names.push_back(row.newName);
    return names;
  }

  struct App {
    App() { EnsureQtApp(); }
  } app;  // before the view
  FilterSettings filter;
  CZulboView view{filter};
};
