#include "dialogs/settings_dlg.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace zul {

void CZulboView::OnSettings() {
  CSettingsDlg dialog(window());
  dialog.m_includeSubfolders = m_folderOptions.includeSubfolders ? 1 : 0;
  if (m_services.prompter.RunDialog(dialog) == QDialog::Accepted)
    m_folderOptions.includeSubfolders = dialog.m_includeSubfolders != 0;
}

}  // namespace zul
