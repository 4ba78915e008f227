#include "app/button_images.h"

#include <utility>
#include <vector>

#include <QImage>
#include <QPixmap>

namespace zul {

namespace {

QString ScaledName(const QString& resource, int scale) {
  if (scale == 1) return resource;
  QString name = resource;
  return name.insert(name.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(scale));
}

}  // namespace

bool LoadButtonImages(const QString& resource, QIcon::Mode mode, QList<QIcon>& icons) {
  std::vector<std::pair<int, QImage>> strips;
  for (const int scale : {1, 2}) {
    QImage strip(ScaledName(resource, scale));
    if (strip.size() != QSize(kStripCells * kButtonSize, kButtonSize) * scale) return false;
    strips.emplace_back(scale, strip.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  if (icons.size() < kStripCells) icons.resize(kStripCells);
  for (const auto& [scale, strip] : strips) {
    const int side = kButtonSize * scale;
    for (int cell = 0; cell < kStripCells; ++cell) {
      QPixmap picture = QPixmap::fromImage(strip.copy(cell * side, 0, side, side));
      picture.setDevicePixelRatio(scale);
      icons[cell].addPixmap(picture, mode);
    }
  }
  return true;
}

}  // namespace zul
