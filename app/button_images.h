#pragma once

#include <QIcon>
#include <QList>
#include <QString>

namespace zul {

// The toolbar's picture strips: 17 cells of 32x32, of which the first nine hold the button
// pictures in toolbar order and the rest is empty. Each strip comes at two scales, NAME.png
// (544x32) and NAME@2x.png (1088x64), drawn on a transparent background so that the toolbar's
// own background shows around the pictures, whatever the theme.
inline constexpr int kButtonSize = 32;
inline constexpr int kStripCells = 17;

// Adds the cells of the strip `resource` (the name of its 1x file) at both scales to `icons`, one
// icon per cell, in `mode`; Qt paints the scale that suits the screen. False, with `icons`
// unchanged, when a scale is missing or has the wrong size.
bool LoadButtonImages(const QString& resource, QIcon::Mode mode, QList<QIcon>& icons);

}  // namespace zul
