#include "dialogs/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/desktop_open.h"
#include "platform/prompter.h"

namespace zul {

CHelpWindow::CHelpWindow(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_browser(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Zul - Hilfe"));
  // QTextBrowser would load any link into itself; only the page's own anchors belong here.
  m_browser->setOpenLinks(false);
  m_browser->setOpenExternalLinks(false);
  connect(m_browser, &QTextBrowser::anchorClicked, this, &CHelpWindow::FollowLink);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_browser);
  resize(760, 620);
}

bool CHelpWindow::Load(const QString& page) {
  QFile file(page);
  if (!file.open(QIODevice::ReadOnly)) return false;
  file.close();
  m_page = QFileInfo(page).absoluteFilePath();
  m_browser->setSource(QUrl::fromLocalFile(m_page), QTextDocument::HtmlResource);
  return true;
}

void CHelpWindow::FollowLink(const QUrl& url) {
  const QUrl target = m_browser->source().resolved(url);
  if (target.isLocalFile() && QFileInfo(target.toLocalFile()).absoluteFilePath() == m_page) {
    if (target.hasFragment()) {
      m_browser->scrollToAnchor(target.fragment(QUrl::FullyDecoded));
    } else {
      m_browser->verticalScrollBar()->setValue(0);
    }
    return;
  }
  const QString shown =
      target.isLocalFile() ? target.toLocalFile() : target.toString(QUrl::FullyEncoded);
  if (const std::error_code error = m_services.opener.Open(shown))
    ReportOpenFailure(m_services, this, QStringLiteral("Hilfe"), shown, error);
}

QString OpenFailureReason(std::error_code error) {
  if (error.category() != OpenErrorCategory()) return QString::fromStdString(error.message());
  switch (static_cast<OpenError>(error.value())) {
    case OpenError::FileNotFound:
      return QStringLiteral("Die Datei wurde nicht gefunden.");
    case OpenError::PathNotFound:
      return QStringLiteral("Der Ordner wurde nicht gefunden.");
    case OpenError::AccessDenied:
      return QStringLiteral("Der Zugriff wurde verweigert.");
    case OpenError::BadProgram:
      return QStringLiteral("Das zuständige Programm konnte nicht gestartet werden.");
    case OpenError::NoAssociation:
      return QStringLiteral("Auf diesem System ist kein Programm dafür eingerichtet.");
  }
  return QStringLiteral("Unbekannter Fehler (%1).").arg(error.value());
}

void ReportOpenFailure(const Services& services, QWidget* owner, const QString& title,
                       const QString& target, std::error_code error) {
  services.prompter.Message(owner, title,
                            QStringLiteral("„%1“ konnte nicht geöffnet werden.\n\n%2")
                                .arg(target, OpenFailureReason(error)),
                            Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace zul
