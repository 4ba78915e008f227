#include "app/hyperlink.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/desktop_open.h"
#include "platform/prompter.h"

namespace zul {

namespace {

// Loaded once per process by the first link attached without NoHandCursor, never unloaded.
bool g_handCursorLoaded = false;

}  // namespace

CHyperLink::CHyperLink(const Services& services, QWidget* parent)
    : QLabel(parent), m_services(services) {
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
}

void CHyperLink::Attach() {
  if (m_target.isEmpty()) m_target = text();
  if (text().isEmpty()) setText(m_target);
  QFont own = font();
  own.setUnderline((m_style & Underline) != 0);
  setFont(own);
  FitToCaption();
  if (!(m_style & NoHandCursor)) LoadHandCursor();
  setToolTip(m_target);
  m_attached = true;
}

void CHyperLink::SetTarget(const QString& target) {
  m_target = target;
  if (!m_attached) return;
  setUpdatesEnabled(false);
  FitToCaption();
  setToolTip(m_target);
  setUpdatesEnabled(true);
}

bool CHyperLink::ChangeStyle(uint32_t remove, uint32_t add, bool apply) {
  if (remove & add) return false;
  m_style = (m_style & ~remove) | add;
  if (apply && m_attached) {
    if ((remove | add) & Underline) {
      QFont own = font();
      own.setUnderline((m_style & Underline) != 0);
      SetLinkFont(own);
    }
    if (add & AutoSize) FitToCaption();
    if (remove & HoverColour) update();
  }
  return true;
}

void CHyperLink::SetLinkFont(const QFont& font) {
  setUpdatesEnabled(false);
  setFont(font);
  FitToCaption();
  setUpdatesEnabled(true);
}

void CHyperLink::FitToCaption() {
  if (!(m_style & AutoSize)) return;
  const QRect window = geometry();
  const QRect client = contentsRect();
  const QFontMetrics metrics(font());
  const int textWidth = metrics.horizontalAdvance(text());
  const int textHeight = metrics.height();

  int top = window.top();
  if (alignment() & Qt::AlignVCenter) top += (window.height() - textHeight) / 2;
  int left = window.left();
  if (alignment() & Qt::AlignHCenter) {
    left += (window.width() - textWidth) / 2;
  } else if (alignment() & Qt::AlignRight) {
    left = window.left() + window.width() - textWidth;
  }
  setGeometry(left, top, textWidth + (window.width() - client.width()),
              textHeight + (window.height() - client.height()));
  update();
}

QColor CHyperLink::TextColour() const {
  if (m_over && (m_style & HoverColour)) return kHoverColour;
  if (!(m_style & NoActiveColour) && m_active) return kActiveColour;
  return m_visited ? kVisitedColour : kLinkColour;
}

void CHyperLink::Activate() {
  const int result = OpenTarget(m_target);
  if (result <= 32) {
    QApplication::beep();
    ReportOpenFailure(result);
    return;
  }
  m_visited = true;
  update();
}

int CHyperLink::OpenResultCode(std::error_code error, int success) {
  if (!error) return success;
  // Another kind of error keeps its number where that cannot read as success.
  if (error.category() != OpenErrorCategory())
    return error.value() > 0 && error.value() <= 32 ? error.value() : 0;
  switch (static_cast<OpenError>(error.value())) {
    case OpenError::FileNotFound:
      return 2;
    case OpenError::PathNotFound:
      return 3;
    case OpenError::AccessDenied:
      return 5;
    case OpenError::BadProgram:
      return 11;
    case OpenError::NoAssociation:
      return 31;
  }
  return 0;
}

int CHyperLink::OpenTarget(const QString& target) {
  constexpr int kOpened = 42;   // any value above 32
  constexpr int kStarted = 33;  // a program start reports success above 31
  DesktopOpener& desktop = m_services.opener;
  const std::error_code opened = desktop.Open(target);
  if (!opened) return kOpened;
  const QString browser = desktop.WebPageHandlerCommand();
  if (browser.isEmpty()) return OpenResultCode(opened, kOpened);
  return OpenResultCode(desktop.StartDetached(FallbackArguments(browser, target)), kStarted);
}

QString CHyperLink::OpenFailureText(int code) {
  QString description;
  switch (code) {
    case 0:
      description = QStringLiteral("The operating system is out\nof memory or resources.");
      break;
    case 2:
      description = QStringLiteral("The specified file was not found.");
      break;
    case 3:
      description = QStringLiteral("The specified path was not found.");
      break;
    case 5:
      description = QStringLiteral("The operating system denied\naccess to the specified file.");
      break;
    case 8:
      description = QStringLiteral("There was not enough memory to complete the operation.");
      break;
    case 11:
      description =
          QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
      break;
    case 26:
      description = QStringLiteral("A sharing violation occurred. ");
      break;
    case 27:
      description = QStringLiteral("The filename association is\nincomplete or invalid.");
      break;
    case 28:
      description = QStringLiteral(
          "The DDE transaction could not\nbe completed because the request timed out.");
      break;
    case 29:
      description = QStringLiteral("The DDE transaction failed.");
      break;
    case 30:
      description = QStringLiteral(
          "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
          "being processed.");
      break;
    case 31:
      description =
          QStringLiteral("There is no application associated\nwith the given filename extension.");
      break;
    case 32:
      description = QStringLiteral("The specified dynamic-link library was not found.");
      break;
    default:
      description = QStringLiteral("Unknown Error (%1) occurred.").arg(code);
      break;
  }
  return QStringLiteral("Can't open link:\n\n") + description;
}

void CHyperLink::ReportOpenFailure(int code) {
  m_services.prompter.Message(this, QString(), OpenFailureText(code), Prompter::Buttons::Ok,
                              Prompter::Icon::Warning);
}

bool CHyperLink::HandCursorLoaded() { return g_handCursorLoaded; }

void CHyperLink::LoadHandCursor() { g_handCursorLoaded = true; }

void CHyperLink::mouseMoveEvent(QMouseEvent* event) {
  if (g_handCursorLoaded && cursor().shape() != Qt::PointingHandCursor) {
    setCursor(Qt::PointingHandCursor);
  }
  const bool inside = rect().contains(event->position().toPoint());
  if (inside != m_over) {
    m_over = inside;
    update();
  }
  event->accept();
}

void CHyperLink::leaveEvent(QEvent* event) {
  if (m_over) {
    m_over = false;
    update();
  }
  QLabel::leaveEvent(event);
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  if (m_style & FocusOnClick) setFocus(Qt::MouseFocusReason);
  if (m_style & ActOnPress) Activate();
  m_active = true;
  update();
  event->accept();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
  // A press dragged off the link and released elsewhere does not follow it.
  if (m_active && !(m_style & ActOnPress) && rect().contains(event->position().toPoint())) {
    Activate();
  }
  event->accept();
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QLabel::keyPressEvent(event);
  Activate();
  event->accept();
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
  m_active = true;
  update();
  QLabel::focusInEvent(event);
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
  m_over = false;
  m_active = false;
  update();
  QLabel::focusOutEvent(event);
}

void CHyperLink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(TextColour());
  painter.setFont(font());
  painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
}

}  // namespace zul
