#include "dialogs/dialog_units.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>

namespace zul {

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The dialog manager's average width: the width of the 52 Latin letters, rounded, over 52.
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_averageWidth = (letters / 26 + 1) / 2;
  m_height = metrics.height();
}

void DialogUnits::FitWidth(int pixels, int units) {
  if (units > 0) m_averageWidth = std::max(m_averageWidth, (4 * pixels + units - 1) / units);
}

int DialogUnits::X(int units) const { return units * m_averageWidth / 4; }

int DialogUnits::Y(int units) const { return units * m_height / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

}  // namespace zul
