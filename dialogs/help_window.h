#pragma once

#include <system_error>

#include <QString>
#include <QUrl>
#include <QWidget>

#include "platform/services.h"

class QTextBrowser;

namespace zul {

// The help page in a window of the program's own, for a desktop that cannot open it: a
// read-only HTML view whose links inside the page move within it; every other link goes to the
// desktop, and where that fails too the user is told why.
class CHelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit CHelpWindow(const Services& services, QWidget* parent = nullptr);

  // Shows `page` (a local HTML file); false, showing nothing, when it cannot be read.
  bool Load(const QString& page);
  const QString& Page() const { return m_page; }
  QTextBrowser& Browser() { return *m_browser; }

  // What a click on a link does: an anchor of this page is scrolled to, anything else is handed
  // to the desktop.
  void FollowLink(const QUrl& url);

 private:
  Services m_services;
  QTextBrowser* m_browser;
  QString m_page;
};

// Why the desktop could not open something, as a German sentence.
QString OpenFailureReason(std::error_code error);

// Tells the user in a message box that `target` could not be opened, and why.
void ReportOpenFailure(const Services& services, QWidget* owner, const QString& title,
                       const QString& target, std::error_code error);

}  // namespace zul
