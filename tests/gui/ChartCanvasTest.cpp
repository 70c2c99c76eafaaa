#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "gui/PixelTesting.h"
#include "gui/chart/ChartCanvas.h"

namespace dyno {
namespace {

using test::CountNear;
using test::DarkBounds;
using test::Hex;
using test::Pixel;

const std::string White = Hex(255, 255, 255);
const std::string Black = Hex(0, 0, 0);
const std::string Yellow = Hex(255, 255, 0);

// A white image and a canvas over all of it.
struct Surface {
  explicit Surface(int w = 200, int h = 100) : image(w, h, QImage::Format_RGB32) {
    image.fill(Qt::white);
    painter.begin(&image);
  }
  ~Surface() { Done(); }
  const QImage& Done() {
    if (painter.isActive()) painter.end();
    return image;
  }
  QImage image;
  QPainter painter;
  ChartCanvas canvas{painter, QRect(0, 0, image.width(), image.height())};
};

TEST(ChartCanvas, LinesLeaveOutTheirEndPoint) {
  Surface s;
  ChartCanvas& c = s.canvas;
  c.SetPen(Qt::black);
  c.MoveTo(10, 10);
  c.LineTo(20, 10);  // right
  c.MoveTo(20, 12);
  c.LineTo(10, 12);  // left
  c.MoveTo(30, 10);
  c.LineTo(30, 20);  // down
  c.MoveTo(32, 20);
  c.LineTo(32, 10);  // up
  c.MoveTo(40, 40);
  c.LineTo(44, 44);  // diagonal
  c.MoveTo(50, 50);
  c.LineTo(50, 50);  // nothing at all
  const QImage& img = s.Done();

  EXPECT_EQ(Pixel(img, 10, 10), Black);
  EXPECT_EQ(Pixel(img, 19, 10), Black);
  EXPECT_EQ(Pixel(img, 20, 10), White);
  EXPECT_EQ(Pixel(img, 9, 10), White);
  EXPECT_EQ(Pixel(img, 20, 12), Black);
  EXPECT_EQ(Pixel(img, 11, 12), Black);
  EXPECT_EQ(Pixel(img, 10, 12), White);
  EXPECT_EQ(Pixel(img, 30, 10), Black);
  EXPECT_EQ(Pixel(img, 30, 19), Black);
  EXPECT_EQ(Pixel(img, 30, 20), White);
  EXPECT_EQ(Pixel(img, 32, 20), Black);
  EXPECT_EQ(Pixel(img, 32, 11), Black);
  EXPECT_EQ(Pixel(img, 32, 10), White);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Pixel(img, 40 + k, 40 + k), Black) << k;
  EXPECT_EQ(Pixel(img, 44, 44), White);
  EXPECT_EQ(Pixel(img, 50, 50), White);
  EXPECT_EQ(CountNear(img, QRect(38, 38, 10, 10), qRgb(0, 0, 0)), 4);
}

TEST(ChartCanvas, SlantedLinesHaveOnePixelPerStepOfTheLongerAxis) {
  Surface s;
  s.canvas.SetPen(Qt::black);
  s.canvas.MoveTo(10, 30);
  s.canvas.LineTo(30, 35);  // mostly across
  s.canvas.MoveTo(60, 10);
  s.canvas.LineTo(57, 40);  // mostly down
  const QImage& img = s.Done();
  EXPECT_EQ(CountNear(img, QRect(0, 20, 50, 30), qRgb(0, 0, 0)), 20);
  for (int x = 10; x < 30; ++x) EXPECT_EQ(CountNear(img, QRect(x, 20, 1, 30), qRgb(0, 0, 0)), 1) << x;
  EXPECT_EQ(Pixel(img, 10, 30), Black);
  EXPECT_EQ(Pixel(img, 30, 35), White);
  EXPECT_EQ(CountNear(img, QRect(50, 0, 20, 60), qRgb(0, 0, 0)), 30);
  for (int y = 10; y < 40; ++y) EXPECT_EQ(CountNear(img, QRect(50, y, 20, 1), qRgb(0, 0, 0)), 1) << y;
  EXPECT_EQ(Pixel(img, 60, 10), Black);
}

TEST(ChartCanvas, RectanglesLeaveOutTheirRightAndBottomEdges) {
  Surface s;
  ChartCanvas& c = s.canvas;
  c.FillRect(5, 5, 10, 8, Qt::black);
  c.Rectangle(20, 5, 30, 12, Qt::black, QColor(255, 255, 0));
  c.SetPen(Qt::black);
  c.Outline(40, 5, 50, 12);
  const QImage& img = s.Done();

  EXPECT_EQ(CountNear(img, QRect(0, 0, 15, 15), qRgb(0, 0, 0)), 5 * 3);
  EXPECT_EQ(Pixel(img, 9, 7), Black);
  EXPECT_EQ(Pixel(img, 10, 7), White);
  EXPECT_EQ(Pixel(img, 9, 8), White);

  EXPECT_EQ(Pixel(img, 20, 5), Black);
  EXPECT_EQ(Pixel(img, 29, 11), Black);
  EXPECT_EQ(Pixel(img, 30, 11), White);
  EXPECT_EQ(Pixel(img, 29, 12), White);
  EXPECT_EQ(Pixel(img, 21, 6), Yellow);
  EXPECT_EQ(Pixel(img, 28, 10), Yellow);

  // An outline closes on its start and includes the far edges.
  EXPECT_EQ(Pixel(img, 40, 5), Black);
  EXPECT_EQ(Pixel(img, 50, 12), Black);
  EXPECT_EQ(Pixel(img, 45, 12), Black);
  EXPECT_EQ(Pixel(img, 40, 8), Black);
  EXPECT_EQ(Pixel(img, 45, 8), White);
  EXPECT_EQ(CountNear(img, QRect(35, 0, 20, 20), qRgb(0, 0, 0)), 2 * 11 + 2 * 6);
}

TEST(ChartCanvas, ThinPolylinesEndShortWidePolylinesCoverTheirEnds) {
  const int xs[] = {10, 40, 70, 100};
  const int ys[] = {50, 50, 50, 50};
  Surface thin;
  thin.canvas.Polyline(xs, ys, 4, QColor(255, 0, 0), 1);
  const QImage& a = thin.Done();
  EXPECT_EQ(Pixel(a, 10, 50), Hex(255, 0, 0));
  EXPECT_EQ(Pixel(a, 99, 50), Hex(255, 0, 0));
  EXPECT_EQ(Pixel(a, 100, 50), White);
  EXPECT_EQ(CountNear(a, QRect(0, 40, 200, 20), qRgb(255, 0, 0)), 90);

  Surface wide;
  wide.canvas.Polyline(xs, ys, 4, QColor(255, 0, 0), 2);
  const QImage& b = wide.Done();
  EXPECT_EQ(Pixel(b, 10, 50), Hex(255, 0, 0));
  EXPECT_EQ(Pixel(b, 100, 50), Hex(255, 0, 0));
  // Two rows thick, through the points' own row.
  EXPECT_EQ(CountNear(b, QRect(55, 40, 1, 20), qRgb(255, 0, 0)), 2);
}

TEST(ChartCanvas, FarCoordinatesDrawOnlyWhatReachesTheSurface) {
  Surface s;
  QElapsedTimer timer;
  timer.start();
  s.canvas.SetPen(Qt::black);
  s.canvas.MoveTo(50, 50);
  s.canvas.LineTo(50, -2000000000);
  s.canvas.MoveTo(80, 50);
  s.canvas.LineTo(2000000000, 2000000000);
  const int xs[] = {100, 110, 120};
  const int ys[] = {50, -2147483647 - 1, 50};
  s.canvas.Polyline(xs, ys, 3, QColor(255, 0, 0), 1);
  s.canvas.Polyline(xs, ys, 3, QColor(0, 0, 255), 2);
  s.canvas.FillRect(-2000000000, -2000000000, 2000000000, 2, QColor(0, 128, 0));
  const QImage& img = s.Done();
  EXPECT_LT(timer.elapsed(), 1000);
  EXPECT_EQ(Pixel(img, 50, 30), Black);
  EXPECT_EQ(Pixel(img, 50, 51), White);
  EXPECT_EQ(Pixel(img, 80, 50), Black);
  EXPECT_EQ(Pixel(img, 90, 60), Black);
  EXPECT_EQ(Pixel(img, 0, 0), Hex(0, 128, 0));
  EXPECT_GT(CountNear(img, QRect(95, 2, 30, 60), qRgb(0, 0, 255)), 40);
}

TEST(ChartCanvas, DrawsOnlyWithinItsBounds) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    ChartCanvas canvas(painter, QRect(20, 20, 30, 30));
    canvas.FillRect(0, 0, 100, 100, Qt::black);
  }
  EXPECT_EQ(CountNear(image, image.rect(), qRgb(0, 0, 0)), 900);
}

TEST(ChartFont, MapsCellHeightAndAverageWidthOntoArial) {
  EXPECT_EQ(ChartFont::EmPixels(16), 14);
  EXPECT_EQ(ChartFont::EmPixels(12), 11);
  EXPECT_EQ(ChartFont::StretchPercent(12, 7, 400), 144);
  EXPECT_EQ(ChartFont::StretchPercent(12, 6, 400), 124);
  EXPECT_EQ(ChartFont::StretchPercent(16, 6, 700), 89);
  EXPECT_EQ(ChartFont::StretchPercent(16, 0, 400), 100);

  const ChartFont row(12, 7, 400);
  EXPECT_EQ(row.Font().pixelSize(), 11);
  EXPECT_EQ(row.Ascent(), 10);
  // Arial's digits are 0.556 em wide: 11 px x 1.44.
  EXPECT_NEAR(row.Advance('0'), 8.8, 0.2);
  EXPECT_NEAR(row.Advance('.'), 4.4, 0.2);
  const ChartFont header(16, 6, 700);
  EXPECT_EQ(header.Ascent(), 13);
  EXPECT_TRUE(header.Font().bold());
}

TEST(ChartCanvas, TextHangsFromItsYAndIsAlignedOnItsX) {
  Surface s(300, 100);
  ChartCanvas& c = s.canvas;
  const ChartFont font(12, 7, 400);
  c.SetFont(font);
  c.SetTextColor(Qt::black);
  c.SetTextAlign(TextAlign::Right);
  c.TextOut(100, 20, "10000.0", 7);
  c.SetTextAlign(TextAlign::Center);
  c.TextOut(200, 60, "888", 3);
  c.SetTextAlign(TextAlign::Left);
  c.FillRect(10, 60, 60, 80, QColor(255, 0, 0));
  c.TextOut(12, 62, "11", 2);
  const QImage& img = s.Done();

  const QRect right = DarkBounds(img, QRect(0, 0, 150, 50));
  ASSERT_FALSE(right.isEmpty());
  EXPECT_LE(right.right(), 99);
  EXPECT_GE(right.right(), 96);
  EXPECT_NEAR(right.width(), 56, 4);  // five digits, a point and one more digit
  EXPECT_GE(right.top(), 20);
  EXPECT_LE(right.bottom(), 20 + 12);

  const QRect centred = DarkBounds(img, QRect(150, 40, 150, 50));
  ASSERT_FALSE(centred.isEmpty());
  EXPECT_LE(std::abs((200 - centred.left()) - (centred.right() + 1 - 200)), 3);

  // No background behind text: the red around the digits stays red.
  EXPECT_EQ(Pixel(img, 12, 62), Hex(255, 0, 0));
  EXPECT_EQ(Pixel(img, 58, 78), Hex(255, 0, 0));
}

}  // namespace
}  // namespace dyno
