#include <QCoreApplication>

#include "filelist/zulbo_view.h"
#include "platform/desktop_open.h"

namespace zul {

// The help page lies beside the program file itself, so a start through a link, a relative path
// or with a filter file as argument finds the same page. A missing page is not reported.
void CZulboView::ShowHelp() {
  m_services.opener.Open(QCoreApplication::applicationDirPath() + QStringLiteral("/zulhilfe.html"));
}

}  // namespace zul
