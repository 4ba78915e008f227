#include <QCoreApplication>
#include <QFileInfo>

#include "dialogs/help_window.h"
#include "filelist/zulbo_view.h"
#include "platform/desktop_open.h"
#include "platform/prompter.h"

namespace zul {

// The help page lies beside the program file itself, so a start through a link, a relative path
// or with a filter file as argument finds the same page. Where the desktop has no program for it,
// the page shows in the program's own help window (one per main window, reused).
void CZulboView::ShowHelp() {
  const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/zulhilfe.html");
  if (!QFileInfo(page).isFile()) {
    ReportOpenFailure(m_services, this, QStringLiteral("Hilfe"), page, OpenError::FileNotFound);
    return;
  }
  const std::error_code error = m_services.opener.Open(page);
  if (!error) return;
  QWidget* owner = window();
  auto* help = owner->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!help) help = new CHelpWindow(m_services, owner);
  if (!help->Load(page)) {
    ReportOpenFailure(m_services, this, QStringLiteral("Hilfe"), page, error);
    return;
  }
  help->show();
  help->raise();
  help->activateWindow();
}

}  // namespace zul
