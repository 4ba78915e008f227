#pragma once

#include <QRect>

class QFont;

namespace zul {

// Converts dialog units to pixels the way the Windows dialog manager does, so a dialog laid out
// on a grid of dialog units keeps its designed geometry at any font size:
// x pixels = x units * average character width / 4, y pixels = y units * character height / 8.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  // Widens the horizontal unit where needed so that `units` hold at least `pixels`.
  void FitWidth(int pixels, int units);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;

 private:
  int m_averageWidth;
  int m_height;
};

}  // namespace zul
