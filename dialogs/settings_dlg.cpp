#include "dialogs/settings_dlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>

#include "dialogs/dialog_units.h"
#include "platform/dialog_frame.h"

namespace zul {

namespace {

// A check box caption does not wrap by itself: break it between words to fit `width` pixels.
QString WrapWords(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  QString line;
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
  }
  if (!line.isEmpty()) lines.push_back(line);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
  UseDialogTitleBar(*this);
  setWindowTitle(QStringLiteral("Einstellungen"));
  const DialogUnits units(font());
  setFixedSize(units.X(176), units.Y(97));

  auto* note =
      new QLabel(QStringLiteral("Die Einstellungen werden beim Beenden gespeichert."), this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  note->setGeometry(units.Rect(7, 7, 162, 25));

  m_subfoldersBox = new QCheckBox(this);
  m_subfoldersBox->setGeometry(units.Rect(7, 38, 162, 20));
  const int captionWidth = m_subfoldersBox->width() -
                           style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) -
                           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  m_subfoldersBox->setText(
      WrapWords(QStringLiteral("Beim Hinzufügen von Ordnern auch Unterordner berücksichtigen"),
                m_subfoldersBox->fontMetrics(), captionWidth));

  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setGeometry(units.Rect(60, 76, 50, 14));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  ok->setGeometry(units.Rect(119, 76, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CSettingsDlg::accept() {
  m_includeSubfolders = m_subfoldersBox->isChecked() ? 1 : 0;
  QDialog::accept();
}

void CSettingsDlg::reject() { done(2); }

void CSettingsDlg::showEvent(QShowEvent* event) {
  m_subfoldersBox->setChecked(m_includeSubfolders != 0);
  QDialog::showEvent(event);
}

}  // namespace zul
