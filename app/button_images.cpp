#include "app/button_images.h"

void ReplaceButtonFace(QImage& image, const QColor& buttonFace) {
  image = image.convertToFormat(QImage::Format_RGB32);
  const QRgb grey = qRgb(192, 192, 192);
  const QRgb face = qRgb(buttonFace.red(), buttonFace.green(), buttonFace.blue());
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (line[x] == grey) line[x] = face;
    }
  }
}

QList<QPixmap> LoadButtonImages(const QString& resource, const QColor& buttonFace) {
  QImage strip(resource);
  if (strip.width() != kStripCells * kButtonSize || strip.height() != kButtonSize) return {};
  ReplaceButtonFace(strip, buttonFace);
  QList<QPixmap> cells;
  for (int cell = 0; cell < kStripCells; ++cell)
    cells.append(QPixmap::fromImage(strip.copy(cell * kButtonSize, 0, kButtonSize, kButtonSize)));
  return cells;
}
