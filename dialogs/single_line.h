#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace zul {

// Keeps a single-line field to one line, as the platform's single-line fields do: of what the
// user types, pastes or drops, only the text before its first line break is taken. Text the
// program sets with SetTextAsIs passes unchanged (a filter file may hold a carriage return within
// a line). Installs itself as the field's validator.
class SingleLineValidator : public QValidator {
 public:
  explicit SingleLineValidator(QLineEdit& edit);

  State validate(QString& text, int& pos) const override;

 private:
  QString m_before;  // the field's text before the change that is validated
};

// Sets a field's text without validating it.
void SetTextAsIs(QLineEdit& edit, const QString& text);

}  // namespace zul
