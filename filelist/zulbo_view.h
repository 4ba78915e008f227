#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QPoint>
#include <QTableView>
#include <QTimer>

#include "core/folder_cache.h"
#include "core/journal_format.h"
#include "core/rename_plan.h"
#include "engine/filter_settings.h"
#include "filelist/file_list_model.h"
#include "platform/services.h"

namespace zul {

// The options of the folder command; held in memory only, never saved.
struct FolderOptions {
  std::string lastFolder;
  bool includeSubfolders = false;
};

// The main window's client area: the list of files to rename, and the program's own commands.
// The rows (its model) are the only store of file data. The current Filter belongs to the main
// window; the list evaluates it, and the Filter dialog's command stores the edited Filter into it.
struct RunOutcome;

class CZulboView : public QTableView {
  Q_OBJECT

 public:
  CZulboView(FilterSettings& filter, const Services& services, QWidget* parent = nullptr);
  ~CZulboView() override;

  FileListModel& Model() { return *m_model; }
  const FileListModel& Model() const { return *m_model; }

  // Row access for the other parts.
  int RowCount() const { return m_model->Count(); }
  std::string Text(int row, int column) const { return m_model->Text(row, column); }

  // Called after the window is made and whenever the document is created or opened: clears the
  // selection, keeps the rows.
  void OnInitialUpdate();

  // Appends one row for the file at `fullPath` (no recomputation). Files added one after the
  // other usually share a folder: it stays open for the next AddFile until the names are
  // recomputed, which every caller does once it has added its files.
  void AddFile(const std::string& fullPath);
  // Refills "Neuer Name" of every row from the current Filter, top to bottom, reading the
  // capture times it needs (see ReadingCaptureTimes).
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
  // "Rückgängig": renames the files of the last run back, if it left any renamed.
  void OnUndo();

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

  // The check of the plan: what the run would meet in each row, shown in "Neuer Name". It runs
  // shortly after the rows, their names or the disk (through a run) change, once for a burst of
  // changes, so that a drag over many rows stays fluid.
  void ScheduleRecheck();
  // Checks now (nothing while a long change is under way; it checks when that ends).
  void RecheckPlan();
  // How many rows have an issue, by reason; empty when none has.
  const QString& CheckSummaryText() const { return m_checkSummary; }
  // "Nächster Konflikt": selects and shows the next row with an issue below the current row (if
  // that is selected), from the top again after the last.
  void OnNextConflict();

 signals:
  // Files were renamed on the disk: the given steps of the plan, from their old name to their new
  // one, or with `back` from the new name to the old one. Whoever holds a path of such a file
  // (the document) follows it.
  void FilesRenamed(const RenamePlan& plan, const std::vector<size_t>& steps, bool back);
  // A check has ended; `summary` as CheckSummaryText().
  void PlanChecked(const QString& summary);
  // What OnUndo would undo now: the files the last run renamed; 0 when there is nothing.
  void UndoAvailable(int files);
  // A word for the status bar about work that ended otherwise than asked (a scan cancelled).
  void StatusMessage(const QString& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(
      const QModelIndex& index, const QEvent* event = nullptr) const override;

 private:
  // Holds the check back while the list or the disk is in the middle of a long change (a run, a
  // scan); it is scheduled when the last hold ends.
  class CheckHold {
   public:
    explicit CheckHold(CZulboView& view) : m_view(view) { ++m_view.m_checkHolds; }
    ~CheckHold() {
      if (--m_view.m_checkHolds == 0) m_view.ScheduleRecheck();
    }
    CheckHold(const CheckHold&) = delete;
    CheckHold& operator=(const CheckHold&) = delete;

   private:
    CZulboView& m_view;
  };

  void ConnectCheck();
  // Asks after a run that failed or was cancelled whether to roll it back, and does; true when
  // it did.
  bool OfferRollBack(const RenamePlan& plan, const RunOutcome& outcome);
  void SetLastRun(std::optional<JournaledRun> run);
  void PressAsClick(QMouseEvent* event);
  // Runs `read`, which reads capture times and returns how many rows it left to the stand-in
  // unread, with the progress dialog and "Abbrechen" from its first file read on; tells in the
  // status bar when the user cancelled.
  void ReadingCaptureTimes(const std::function<int(const CaptureProgress&)>& read);

  FilterSettings& m_filter;
  Services m_services;
  FileListModel* m_model;
  FolderCache m_addedFolder;  // the folder of the last AddFile, until the next recomputation
  FolderOptions m_folderOptions;
  int m_sortColumn = -1;
  bool m_sortAscending = false;
  bool m_dragging = false;
  int m_dragRow = 0;
  // A press on a row that may become a drag once the pointer moves far enough; one on a selected
  // row is held back until then.
  bool m_dragPending = false;
  bool m_pressHeldBack = false;
  QPoint m_pressPoint;
  int m_pressRow = -1;
  QTimer m_checkTimer;
  bool m_changedWhileWaiting = false;
  int m_checkHolds = 0;
  QString m_checkSummary;
  // The last run, while it can be undone.
  std::optional<JournaledRun> m_lastRun;
};

}  // namespace zul
