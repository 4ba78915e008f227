#pragma once

#include <string>
#include <vector>

#include <QPoint>
#include <QTableView>

#include "engine/filter_settings.h"
#include "filelist/core/rename_plan.h"
#include "filelist/file_list_model.h"
#include "platform/services.h"

// The options of the folder command; held in memory only, never saved.
struct FolderOptions {
  std::string lastFolder;
  bool includeSubfolders = false;
};

// The main window's client area: the list of files to rename, and the program's own commands.
// The rows (its model) are the only store of file data. The current Filter belongs to the main
// window; the list evaluates it, and the Filter dialog's command stores the edited Filter into it.
class CZulboView : public QTableView {
  Q_OBJECT

 public:
  CZulboView(FilterSettings& filter, const Services& services, QWidget* parent = nullptr);
  ~CZulboView() override;

  FileListModel& Model() { return *m_model; }
  const FileListModel& Model() const { return *m_model; }

  // Row access for the other parts.
  int RowCount() const { return m_model->Count(); }
  const std::string& Text(int row, int column) const { return m_model->Text(row, column); }

  // Called after the window is made and whenever the document is created or opened: clears the
  // selection, keeps the rows.
  void OnInitialUpdate();

  // Appends one row for the file at `fullPath` (no recomputation).
  void AddFile(const std::string& fullPath);
  // Refills "Neuer Name" of every row from the current Filter, top to bottom.
  void RecomputeNewNames();

  // Adding files and folders.
  void OnAddFiles();
  void OnAddFolder();
  std::string BrowseForFolder(QWidget* owner, const QString& instruction,
                              const std::string& initialFolder);
  void ScanFolder(const std::string& folder);
  FolderOptions& Options() { return m_folderOptions; }

  // The renaming run.
  void OnApplyFilter();
  void RenameAll();

  // List interaction.
  void OnColumnClick(int column);
  void OnBeginDrag(int row);
  void OnMouseMove(const QPoint& point);
  void OnLButtonUp();
  void OnKeyDown(int key);
  void OnLButtonDblClk();
  void SwapRows(int a, int b);
  // Binds the header's clicks to OnColumnClick; the constructor calls it once (idempotent).
  void ConnectInteraction();
  int SortColumn() const { return m_sortColumn; }
  bool SortAscending() const { return m_sortAscending; }
  bool Dragging() const { return m_dragging; }
  int DragRow() const { return m_dragRow; }

  // Commands of the dialogs and the help.
  void OnEditFilter();
  void OnSettings();
  void ShowHelp();

 signals:
  // Files were renamed on the disk: the given steps of the plan, from their old name to their new
  // one, or with `back` from the new name to the old one. Whoever holds a path of such a file
  // (the document) follows it.
  void FilesRenamed(const RenamePlan& plan, const std::vector<size_t>& steps, bool back);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  FilterSettings& m_filter;
  Services m_services;
  FileListModel* m_model;
  FolderOptions m_folderOptions;
  int m_sortColumn = -1;
  bool m_sortAscending = false;
  bool m_dragging = false;
  int m_dragRow = 0;
  // A press on a selected row that may become a drag once the pointer moves far enough.
  bool m_dragPending = false;
  QPoint m_pressPoint;
  int m_pressRow = -1;
};
