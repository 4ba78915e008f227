#include "dialogs/single_line.h"

#include <QLineEdit>

namespace zul {

namespace {

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

}  // namespace

SingleLineValidator::SingleLineValidator(QLineEdit& edit) : QValidator(&edit) {
  m_before = edit.text();
  connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
  edit.setValidator(this);
}

// An insertion ends at the caret and begins where the text first differs from the text before.
QValidator::State SingleLineValidator::validate(QString& text, int& pos) const {
  qsizetype start = 0;
  while (start < pos && start < m_before.size() && text[start] == m_before[start]) ++start;
  for (qsizetype i = start; i < pos; ++i) {
    if (IsLineBreak(text[i])) {
      text.remove(i, pos - i);
      pos = static_cast<int>(i);
      break;
    }
  }
  return Acceptable;
}

void SetTextAsIs(QLineEdit& edit, const QString& text) {
  const QValidator* validator = edit.validator();
  edit.setValidator(nullptr);
  edit.setText(text);
  edit.setValidator(validator);
}

}  // namespace zul
