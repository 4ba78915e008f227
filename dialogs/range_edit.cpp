#include "dialogs/range_edit.h"

#include <algorithm>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "engine/text_units.h"
#include "platform/text_bytes.h"

namespace zul {

KeptSelectionEdit::KeptSelectionEdit(QWidget* parent) : QLineEdit(parent) {
  QPalette colors = palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
    colors.setColor(QPalette::Inactive, role, colors.color(QPalette::Active, role));
  setPalette(colors);
}

void KeptSelectionEdit::focusOutEvent(QFocusEvent* event) {
  const int start = selectionStart();
  const int length = selectionLength();
  const bool caretAtStart = cursorPosition() == start;
  QLineEdit::focusOutEvent(event);
  if (start < 0 || hasSelectedText()) return;
  // Restored with the caret at the same end, so a later Shift+arrow extends it the same way.
  if (caretAtStart)
    setSelection(start + length, -length);
  else
    setSelection(start, length);
}

// The whole name as the tip where the field cuts it off; the field itself cannot cut it in the
// middle, since its selection picks the range.
void CRangeEdit::UpdateTip() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  // Qt's line edit keeps a margin of two pixels on either side of its text.
  const int room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width() - 4;
  setToolTip(fontMetrics().horizontalAdvance(text()) > room ? text() : QString());
}

void CRangeEdit::resizeEvent(QResizeEvent* event) {
  KeptSelectionEdit::resizeEvent(event);
  UpdateTip();
}

RangeCaptions MakeRangeCaptions(int a, int b, int length) {
  if (a < 0 || b < 0 || a + 1 > b)
    return {QString::fromLatin1(kForwardPlaceholder), QString::fromLatin1(kBackwardPlaceholder)};
  return {QStringLiteral("[%1,%2]").arg(a + 1).arg(b),
          QStringLiteral("[%1,%2]").arg(a - length).arg(b - length - 1)};
}

CRangeEdit::CRangeEdit(QWidget* parent) : KeptSelectionEdit(parent) {
  setReadOnly(true);
  // Moves without a button held update the captions too.
  setMouseTracking(true);
}

void CRangeEdit::SetName(std::string_view name) {
  m_name = std::string(name);
  m_charStarts.clear();
  QString shown;
  for (size_t i = 0; i < name.size();) {
    const size_t bytes = CharBytes(name, i);
    m_charStarts.push_back(static_cast<int>(shown.size()));
    const auto lead = static_cast<unsigned char>(name[i]);
    if (bytes == 1 && lead >= 0x80)
      shown += QChar(QChar::ReplacementCharacter);
    else
      shown += TextOf(name.substr(i, bytes));
    i += bytes;
  }
  m_charStarts.push_back(static_cast<int>(shown.size()));
  setText(shown);
  UpdateTip();
  setCursorPosition(0);
}

void CRangeEdit::SetButtons(QPushButton* forward, QPushButton* backward) {
  m_forward = forward;
  m_backward = backward;
}

int CRangeEdit::CharIndexAt(int utf16Position) const {
  const auto after = std::upper_bound(m_charStarts.begin(), m_charStarts.end(), utf16Position);
  const int index = static_cast<int>(after - m_charStarts.begin()) - 1;
  return std::clamp(index, 0, CharLength());
}

std::pair<int, int> CRangeEdit::CharSelection() const {
  if (!hasSelectedText()) {
    const int caret = CharIndexAt(cursorPosition());
    return {caret, caret};
  }
  return {CharIndexAt(selectionStart()), CharIndexAt(selectionEnd())};
}

void CRangeEdit::SetCaptions(const RangeCaptions& captions) {
  if (!m_forward || !m_backward) return;
  m_forward->setText(captions.forward);
  m_backward->setText(captions.backward);
}

void CRangeEdit::UpdateRangeCaptions() {
  const auto [a, b] = CharSelection();
  SetCaptions(MakeRangeCaptions(a, b, CharLength()));
}

void CRangeEdit::mousePressEvent(QMouseEvent* event) {
  // A plain click starts a new selection, so the old captions go at once.
  if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
    SetCaptions(MakeRangeCaptions(-1, -1, CharLength()));
  KeptSelectionEdit::mousePressEvent(event);
}

void CRangeEdit::mouseMoveEvent(QMouseEvent* event) {
  // Shows the selection as it stood before this move; the next event catches up with a drag.
  UpdateRangeCaptions();
  KeptSelectionEdit::mouseMoveEvent(event);
}

void CRangeEdit::keyPressEvent(QKeyEvent* event) {
  KeptSelectionEdit::keyPressEvent(event);
  UpdateRangeCaptions();
}

void CRangeEdit::focusOutEvent(QFocusEvent* event) {
  KeptSelectionEdit::focusOutEvent(event);
  UpdateRangeCaptions();
}

}  // namespace zul
