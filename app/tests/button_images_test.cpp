#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QToolBar>

#include "app/button_images.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

constexpr int kPictures = 9;
const QSize kCell(kButtonSize, kButtonSize);

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
  return count;
}

// How far two pictures of one size differ in their coverage, 0 to 255 per pixel on average.
int CoverageDistance(const QImage& a, const QImage& b) {
  int64_t sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      sum += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y)));
  return static_cast<int>(sum / (int64_t{a.width()} * a.height()));
}

class ButtonStripTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ButtonStripTest, HoldsNinePicturesAtBothScalesOnATransparentBackground) {
  QList<QIcon> icons;
  ASSERT_TRUE(LoadButtonImages(GetParam(), QIcon::Normal, icons));
  ASSERT_EQ(icons.size(), kStripCells);
  for (int cell = 0; cell < kStripCells; ++cell) {
    const QImage one = icons[cell].pixmap(kCell, 1.0).toImage();
    const QImage two = icons[cell].pixmap(kCell, 2.0).toImage();
    ASSERT_EQ(one.size(), kCell) << cell;
    ASSERT_EQ(two.size(), kCell * 2) << cell;
    EXPECT_EQ(qAlpha(one.pixel(0, 0)), 0) << cell;
    EXPECT_EQ(qAlpha(two.pixel(0, 0)), 0) << cell;
    EXPECT_EQ(OpaquePixels(one) > 0, cell < kPictures) << cell;
    if (cell >= kPictures) continue;
    // The 2x picture is the same drawing as the 1x one, not its neighbour's.
    const QImage shrunk = two.scaled(kCell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(CoverageDistance(shrunk, one), 8) << cell;
    if (cell + 1 < kPictures) {
      const QImage next = icons[cell + 1].pixmap(kCell, 1.0).toImage();
      EXPECT_GT(CoverageDistance(shrunk, next), 16) << cell;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Strips, ButtonStripTest,
                         ::testing::Values(":/toolbar_normal.png", ":/toolbar_disabled.png",
                                           ":/toolbar_hot.png"));

TEST(ButtonImages, RefuseAStripWithoutBothScalesOfTheRightSize) {
  QTemporaryDir dir;
  const auto put = [&](const QString& name, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    ASSERT_TRUE(image.save(dir.filePath(name)));
  };
  const QSize strip(kStripCells * kButtonSize, kButtonSize);
  put("only1x.png", strip);
  put("narrow.png", strip - QSize(1, 0));
  put("narrow@2x.png", strip * 2);
  put("whole.png", strip);
  put("whole@2x.png", strip * 2);

  QList<QIcon> icons;
  EXPECT_FALSE(LoadButtonImages(dir.filePath("only1x.png"), QIcon::Normal, icons));
  EXPECT_FALSE(LoadButtonImages(dir.filePath("narrow.png"), QIcon::Normal, icons));
  EXPECT_FALSE(LoadButtonImages(dir.filePath("missing.png"), QIcon::Normal, icons));
  EXPECT_TRUE(icons.isEmpty());
  EXPECT_TRUE(LoadButtonImages(dir.filePath("whole.png"), QIcon::Disabled, icons));
  ASSERT_EQ(icons.size(), kStripCells);
  EXPECT_EQ(icons[0].pixmap(kCell, 2.0, QIcon::Disabled).size(), kCell * 2);
}

// On a dark theme, where the button face and the toolbar differ, the toolbar's own background
// shows around the pictures.
TEST(ButtonImages, ToolbarShowsItsOwnBackgroundAroundThePictures) {
  const QPalette saved = QApplication::palette();
  QPalette dark = saved;
  dark.setColor(QPalette::Window, QColor(40, 40, 48));
  dark.setColor(QPalette::Button, QColor(70, 70, 70));
  QApplication::setPalette(dark);
  {
    TestServices services;
    CMainFrame frame{services};
    frame.show();
    QApplication::processEvents();
    QToolBar* toolBar = frame.ToolBar();
    const QImage shot = toolBar->grab().toImage();
    const QRect button = toolBar->widgetForAction(frame.Action(CmdAddFiles))->geometry();
    QRect picture(QPoint(), kCell);
    picture.moveCenter(button.center());
    // The picture's corner is background; so is the button's edge in the same line.
    EXPECT_EQ(shot.pixelColor(picture.topLeft()), shot.pixelColor(button.left(), picture.top()));
  }
  QApplication::setPalette(saved);
}

}  // namespace zul
