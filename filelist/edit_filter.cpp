#include <QGuiApplication>

#include "dialogs/filter_dlg.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace zul {

void CZulboView::OnEditFilter() {
  CFilterDlg dialog(window());
  dialog.m_work.CopyFrom(m_filter);
  if (RowCount() > 0) {
    // The first row in display order, whatever is selected.
    dialog.m_sampleName = Text(0, ColOldName);
    dialog.m_sampleCreated = Text(0, ColCreated);
    dialog.m_sampleModified = Text(0, ColModified);
    m_model->ReadCaptureTime(0, m_services.captures);
    dialog.m_sampleCaptured = Text(0, ColCaptured);
    dialog.m_sampleTags = m_model->ReadTags(0, m_services.captures);
  } else {
    dialog.m_sampleName = "beispiel-dateiname Test.bsp";
    dialog.m_sampleCreated = "31.02.1987   23:45:56";
    dialog.m_sampleModified = "21.12.2006   12:34:56";
    // A sample has no metadata of its own; its creation time serves.
    dialog.m_sampleCaptured = dialog.m_sampleCreated;
    // Values for the metadata placeholders, so that the preview shows what each gives.
    dialog.m_sampleTags = {.artist = "Interpret",
                           .album = "Album",
                           .title = "Titel",
                           .genre = "Genre",
                           .make = "Hersteller",
                           .model = "Kamera",
                           .track = 7,
                           .disc = 1,
                           .year = 2006,
                           .width = 4000,
                           .height = 3000};
  }

  // A place kept from an earlier run may lie on a screen that is gone by now.
  if (m_filterDialogPos && QGuiApplication::screenAt(*m_filterDialogPos)) {
    dialog.m_posX = m_filterDialogPos->x();
    dialog.m_posY = m_filterDialogPos->y();
  }
  // "Vorschau" shows the Filter's effect on the whole list and reopens the same dialog object,
  // which comes back at its remembered position with its members as they were.
  int result = m_services.prompter.RunDialog(dialog);
  while (result == CFilterDlg::ResultPreview) {
    m_filter.CopyFrom(dialog.m_work);
    RecomputeNewNames();
    result = m_services.prompter.RunDialog(dialog);
  }
  m_filterDialogPos = dialog.pos();
  if (result != CFilterDlg::ResultOk && result != CFilterDlg::ResultRename) return;
  m_filter.CopyFrom(dialog.m_work);
  RecomputeNewNames();
  if (result == CFilterDlg::ResultRename) RenameAll();
}

}  // namespace zul
