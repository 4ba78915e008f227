#pragma once

#include <string>
#include <vector>

#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

// A view for scan tests over the given file system whose scans never show a dialog; the scan is
// cancelled once `cancelAfter` files were found (never when negative).
struct ScanTestView {
  explicit ScanTestView(FileSystem& files = SystemFileSystem(), int cancelAfter = -1)
      : services(files) {
    if (cancelAfter >= 0) services.prompter.cancelProgressAt.push_back(cancelAfter);
  }

  // "directory/oldName" of every row, top to bottom.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < view.RowCount(); ++row)
      paths.push_back(view.Text(row, ColDirectory) + "/" + view.Text(row, ColOldName));
    return paths;
  }
  std::vector<std::string> NewNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < view.RowCount(); ++row) names.push_back(view.Text(row, ColNewName));
    return names;
  }

  TestServices services;  // before the view
  ScriptedPrompter& prompter = services.prompter;
  FilterSettings filter;
  CZulboView view{filter, services};
};

}  // namespace zul
