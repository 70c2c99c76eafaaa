// The desktop icon that the build makes at each size of the hicolor theme
// shows the program's own drawing, enlarged pixel by pixel: no pixel
// smoothed, shifted or lost, and a transparent border where the drawing does
// not fill the square.

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <string>

namespace {

struct Expected {
  int size;
  const char* drawing;  // the XPM it is made from
  int covered;          // side of the centred square that the drawing fills
};

class IconTest : public ::testing::TestWithParam<Expected> {};

TEST_P(IconTest, IsTheDrawingEnlargedWithoutSmoothing) {
  const Expected expected = GetParam();
  const QImage drawing = QImage(QString::fromUtf8(expected.drawing)).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(drawing.isNull()) << expected.drawing;
  const QImage icon = QImage(QStringLiteral(DYNOFORGE_ICON_DIR "/%1x%1/apps/dynoforge.png").arg(expected.size))
                          .convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(icon.size(), QSize(expected.size, expected.size));

  const int border = (expected.size - expected.covered) / 2;
  int wrong = 0;
  std::string first;
  for (int y = 0; y < expected.size; ++y) {
    for (int x = 0; x < expected.size; ++x) {
      const int dx = x - border, dy = y - border;
      const bool inside = dx >= 0 && dy >= 0 && dx < expected.covered && dy < expected.covered;
      // Nearest neighbour: the drawing's pixel under the icon pixel's corner.
      const QRgb want =
          inside ? drawing.pixel(dx * drawing.width() / expected.covered, dy * drawing.height() / expected.covered)
                 : qRgba(0, 0, 0, 0);
      const QRgb got = icon.pixel(x, y);
      if (got != want && (qAlpha(got) != 0 || qAlpha(want) != 0) && wrong++ == 0)
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  EXPECT_EQ(wrong, 0) << "first wrong pixel at " << first;
}

// Under 32 pixels the small drawing, at the largest whole enlargement that
// fits; from 32 up the large drawing across the whole square.
INSTANTIATE_TEST_SUITE_P(
    HicolorSizes, IconTest,
    ::testing::Values(Expected{16, DYNOFORGE_ICON_DRAWING_16, 16}, Expected{22, DYNOFORGE_ICON_DRAWING_16, 16},
                      Expected{24, DYNOFORGE_ICON_DRAWING_16, 16}, Expected{32, DYNOFORGE_ICON_DRAWING, 32},
                      Expected{48, DYNOFORGE_ICON_DRAWING, 48}, Expected{64, DYNOFORGE_ICON_DRAWING, 64},
                      Expected{128, DYNOFORGE_ICON_DRAWING, 128}, Expected{256, DYNOFORGE_ICON_DRAWING, 256}),
    [](const ::testing::TestParamInfo<Expected>& param) { return "Size" + std::to_string(param.param.size); });

}  // namespace
