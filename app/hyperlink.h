#pragma once

#include <cstdint>
#include <system_error>

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

#include "platform/services.h"

namespace zul {

// A text label that looks and behaves like a link in a web page: coloured by its state,
// underlined, with the hand cursor and a tooltip showing its target, reachable with Tab and
// followed with a click or the space bar. Following it opens the target with the desktop's
// program for it, falling back to the desktop's web browser; failures are reported in English.
class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  enum LinkStyle : uint32_t {
    Underline = 0x01,       // the own font is underlined
    HoverColour = 0x02,     // hover colour while the mouse is over the link
    AutoSize = 0x04,        // the control is fitted to its caption
    ActOnPress = 0x08,      // followed when the button goes down, not when it comes up
    FocusOnClick = 0x10,    // a click gives the link the keyboard focus
    NoHandCursor = 0x20,    // attaching this link does not load the hand cursor
    NoActiveColour = 0x40,  // the active colour is never used
  };
  static constexpr uint32_t kDefaultStyle = Underline | AutoSize | FocusOnClick;

  static constexpr QColor kLinkColour{0, 0, 255};
  static constexpr QColor kActiveColour{0, 128, 128};
  static constexpr QColor kVisitedColour{128, 0, 128};
  static constexpr QColor kHoverColour{255, 0, 0};

  explicit CHyperLink(const Services& services, QWidget* parent = nullptr);

  // Makes the label a link, once its caption, font and geometry are in place: an empty target
  // becomes the caption and an empty caption the target; the own font is underlined as the
  // style says and the label fitted to its caption; the hand cursor is loaded unless
  // NoHandCursor; the tooltip shows the target.
  void Attach();

  void SetTarget(const QString& target);
  const QString& Target() const { return m_target; }

  // Takes the bits of `remove` out of the style and puts those of `add` in; refuses (false,
  // nothing changed) when the two share a bit. With `apply`, an attached link shows the change.
  bool ChangeStyle(uint32_t remove, uint32_t add, bool apply);
  uint32_t Style() const { return m_style; }

  // Gives the link this font (its underline as given) and fits the label to the caption.
  void SetLinkFont(const QFont& font);
  // With AutoSize: resizes the label to its caption's measured text, keeping the edge or middle
  // that its alignment names; without, does nothing.
  void FitToCaption();

  // Opens the target; on failure beeps and reports, on success the link becomes visited.
  void Activate();

  bool IsActive() const { return m_active; }
  bool IsOver() const { return m_over; }
  bool IsVisited() const { return m_visited; }
  // The colour the text is drawn in for the present state.
  QColor TextColour() const;

  // The desktop's "open" of the target, then the web browser's command with the target appended.
  // The result is a shell "open" code: above 32 is success; otherwise 2 file (or program) not
  // found, 3 path not found, 5 access denied, 11 program file invalid, 31 no program associated.
  int OpenTarget(const QString& target);
  // The shell code of what the desktop reported; `success` where it reported nothing.
  static int OpenResultCode(std::error_code error, int success);
  // "Can't open link:" with the description of the code.
  static QString OpenFailureText(int code);
  void ReportOpenFailure(int code);

  // Whether some link has loaded the shared hand cursor; every link shows it from then on.
  static bool HandCursorLoaded();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  static void LoadHandCursor();

  Services m_services;
  bool m_active = false;
  bool m_over = false;
  bool m_visited = false;
  uint32_t m_style = kDefaultStyle;
  QString m_target;
  bool m_attached = false;
};

}  // namespace zul
