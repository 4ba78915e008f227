#pragma once

#include <string>
#include <vector>

#include <QItemSelectionModel>

#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

// Files named by `names` in the folder "/d", without times.
inline std::vector<FileRecord> Files(const std::vector<std::string>& names) {
  std::vector<FileRecord> files;
  for (const std::string& name : names) files.push_back({"/d", name, std::nullopt});
  return files;
}

// A shown view (offscreen) holding a row for each file, whose new name is "new-" and its name,
// for tests of the list interaction.
struct InteractionView {
  InteractionView(const std::vector<FileRecord>& files, int height) {
    for (const FileRecord& file : files) {
      view.Model().Append(file);
      view.Model().SetNewName(view.RowCount() - 1, "new-" + file.name);
    }
    view.resize(800, height);
    view.show();
  }
  explicit InteractionView(const std::vector<std::string>& names, int height = 300)
      : InteractionView(Files(names), height) {}

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int row = 0; row < view.RowCount(); ++row) names.push_back(view.Text(row, ColOldName));
    return names;
  }
  std::vector<int> Selected() const {
    std::vector<int> rows;
    for (int row = 0; row < view.RowCount(); ++row)
      if (view.selectionModel()->isRowSelected(row, {})) rows.push_back(row);
    return rows;
  }
  void Select(const std::vector<int>& rows) {
    view.clearSelection();
    for (int row : rows)
      view.selectionModel()->select(view.Model().index(row, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  // The centre of a row's first cell, in viewport coordinates.
  QPoint RowPoint(int row) const { return view.visualRect(view.Model().index(row, 0)).center(); }

  TestServices services;  // before the view
  FilterSettings filter;
  CZulboView view{filter, services};
};

}  // namespace zul
