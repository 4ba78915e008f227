#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

// The toolbar's picture strips: 544x32 pixels each, 17 cells of 32x32, of which the first nine
// hold the button pictures in toolbar order. The normal and hot strips have a (192,192,192)
// background, the disabled strip (208,208,208).
inline constexpr int kButtonSize = 32;
inline constexpr int kStripCells = 17;

// Overwrites every pixel that is exactly (192,192,192) with `buttonFace`; other pixels stay.
void ReplaceButtonFace(QImage& image, const QColor& buttonFace);

// The strip's 17 cells after ReplaceButtonFace; empty when the strip cannot be loaded or has the
// wrong size.
QList<QPixmap> LoadButtonImages(const QString& resource, const QColor& buttonFace);
