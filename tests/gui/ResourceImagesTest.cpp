// The compiled-in bitmaps, icons and cursors: every one is there, loads,
// has the exact size its button or cursor needs, keeps to 16 colours with
// a fully transparent background, and the cursors carry the hot spots the
// window uses.

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <vector>

// The resource initialiser must be named outside any namespace.
static void InitImageResources() {
  Q_INIT_RESOURCE(images);
}

namespace dyno {
namespace {

enum class Kind { Toolbar, Preview, Icon, Cursor };

struct ImageEntry {
  const char* Path;
  Kind Type;
  int Width;
  int Height;
  int HotX = -1;
  int HotY = -1;
};

const std::vector<ImageEntry>& Images() {
  static const std::vector<ImageEntry> images = {
      {":/images/toolbar/2011.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/22101.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/24321.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/24325.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2016.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2020.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2012.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2014.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2022.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2024.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/2027.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/24337.xpm", Kind::Toolbar, 20, 20},
      {":/images/toolbar/24340.xpm", Kind::Toolbar, 19, 17},
      {":/images/preview/24500.xpm", Kind::Preview, 19, 17},
      {":/images/preview/24501.xpm", Kind::Preview, 19, 17},
      {":/images/preview/24502.xpm", Kind::Preview, 19, 17},
      {":/images/preview/24503.xpm", Kind::Preview, 19, 17},
      {":/images/preview/24505.xpm", Kind::Preview, 39, 20},
      {":/images/icons/1001.xpm", Kind::Icon, 32, 32},
      {":/images/icons/1001-16.xpm", Kind::Icon, 16, 16},
      {":/images/cursors/22010.xpm", Kind::Cursor, 32, 32, 16, 14},
      {":/images/cursors/22011.xpm", Kind::Cursor, 32, 32, 5, 0},
      {":/images/cursors/22012.xpm", Kind::Cursor, 32, 32, 15, 15},
      {":/images/cursors/22014.xpm", Kind::Cursor, 32, 32, 15, 15},
  };
  return images;
}

// The classic 16-colour VGA set that buttons and cursors are drawn from.
bool IsVgaColour(QRgb c) {
  static const std::array<QRgb, 16> vga = {
      qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),   qRgb(0, 128, 128),
      qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),   qRgb(0, 255, 255),
      qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0), qRgb(255, 255, 255)};
  for (QRgb v : vga) {
    if (v == (c | 0xff000000u)) return true;
  }
  return false;
}

QImage Load(const char* path) {
  return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
}

// The numbers of an XPM's first string: width, height, colours,
// characters per pixel and, for a cursor, the hot spot.
std::vector<int> XpmHeader(const char* path) {
  QFile file(QString::fromLatin1(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromLatin1(file.readAll());
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\"([0-9 ]+)\"")).match(text);
  std::vector<int> numbers;
  if (!m.hasMatch()) return numbers;
  for (const QString& part : m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    numbers.push_back(part.toInt());
  }
  return numbers;
}

bool IsWhite(QRgb c) { return qAlpha(c) == 255 && (c & 0xffffffu) == 0xffffffu; }
bool IsClear(QRgb c) { return qAlpha(c) == 0; }

class ResourceImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitImageResources(); }
};

TEST_F(ResourceImages, TheResourceHoldsExactlyTheListedImages) {
  QSet<QString> found;
  QDirIterator it(QStringLiteral(":/images"), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) found.insert(it.next());
  QSet<QString> expected;
  for (const ImageEntry& e : Images()) expected.insert(QString::fromLatin1(e.Path));
  EXPECT_EQ(found, expected) << "missing: " << (expected - found).values().join(u' ').toStdString()
                             << "; not listed: " << (found - expected).values().join(u' ').toStdString();
}

TEST_F(ResourceImages, EveryImageLoadsAtItsExactSize) {
  for (const ImageEntry& e : Images()) {
    SCOPED_TRACE(e.Path);
    const QImage image = Load(e.Path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), e.Width);
    EXPECT_EQ(image.height(), e.Height);
    const std::vector<int> header = XpmHeader(e.Path);
    ASSERT_GE(header.size(), 4u);
    EXPECT_EQ(header[0], e.Width);
    EXPECT_EQ(header[1], e.Height);
    EXPECT_EQ(header[3], 1) << "one character per pixel";
  }
}

TEST_F(ResourceImages, ColoursAreSixteenAtMostWithAHardTransparentBackground) {
  for (const ImageEntry& e : Images()) {
    SCOPED_TRACE(e.Path);
    const QImage image = Load(e.Path);
    ASSERT_FALSE(image.isNull());
    QSet<QRgb> colours;
    int clear = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        ASSERT_TRUE(qAlpha(c) == 0 || qAlpha(c) == 255) << "soft edge at " << x << "," << y;
        if (IsClear(c)) {
          ++clear;
          continue;
        }
        colours.insert(c);
        // The icon may use the chart's plot face; everything else keeps to the VGA set.
        if (e.Type != Kind::Icon) {
          EXPECT_TRUE(IsVgaColour(c)) << x << "," << y << " #" << std::hex << c;
        }
      }
    }
    EXPECT_LE(colours.size(), 16);
    if (e.Type == Kind::Icon) continue;
    // Buttons and cursors show the face or screen behind them.
    EXPECT_GT(clear, 0);
    EXPECT_TRUE(IsClear(image.pixel(0, image.height() - 1)));
    EXPECT_TRUE(IsClear(image.pixel(image.width() - 1, image.height() - 1)));
  }
}

TEST_F(ResourceImages, CursorsCarryTheirHotSpotOnTheShape) {
  for (const ImageEntry& e : Images()) {
    SCOPED_TRACE(e.Path);
    const std::vector<int> header = XpmHeader(e.Path);
    if (e.Type != Kind::Cursor) {
      EXPECT_EQ(header.size(), 4u) << "only cursors have a hot spot";
      continue;
    }
    ASSERT_EQ(header.size(), 6u);
    EXPECT_EQ(header[4], e.HotX);
    EXPECT_EQ(header[5], e.HotY);
    const QImage image = Load(e.Path);
    ASSERT_TRUE(image.rect().contains(e.HotX, e.HotY));
    EXPECT_FALSE(IsClear(image.pixel(e.HotX, e.HotY))) << "the hot spot lies on the drawn shape";
    // White with a black outline: the only opaque colours are these two.
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        if (!IsClear(c)) {
          EXPECT_TRUE(IsWhite(c) || (c & 0xffffffu) == 0) << x << "," << y;
        }
      }
    }
  }
}

// The white pixels of a cursor as a box: where its arms reach.
QRect WhiteBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsWhite(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

int WhiteRun(const QImage& image, int x, int y, int dx, int dy) {
  int run = 0;
  while (image.rect().contains(x, y) && IsWhite(image.pixel(x, y))) {
    ++run;
    x += dx;
    y += dy;
  }
  return run;
}

TEST_F(ResourceImages, CrossHairIsOnePixelWideAndNineteenAcross) {
  const QImage image = Load(":/images/cursors/22014.xpm");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(WhiteBounds(image), QRect(6, 6, 19, 19)) << "centred on the hot spot 15, 15";
  int white = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!IsWhite(image.pixel(x, y))) continue;
      ++white;
      EXPECT_TRUE(x == 15 || y == 15) << "stray white at " << x << "," << y;
    }
  }
  EXPECT_EQ(white, 19 + 19 - 1);
}

TEST_F(ResourceImages, PlusSignHasFourPixelArmsFourteenAcross) {
  const QImage image = Load(":/images/cursors/22010.xpm");
  ASSERT_FALSE(image.isNull());
  const QRect bounds = WhiteBounds(image);
  EXPECT_EQ(bounds.width(), 14);
  EXPECT_EQ(bounds.height(), 14);
  // Across the hot spot's column and row each arm is four pixels thick.
  const int hx = 16, hy = 14;
  EXPECT_EQ(WhiteRun(image, hx, bounds.top() + 1, -1, 0) + WhiteRun(image, hx, bounds.top() + 1, 1, 0) - 1, 4);
  EXPECT_EQ(WhiteRun(image, bounds.left() + 1, hy, 0, -1) + WhiteRun(image, bounds.left() + 1, hy, 0, 1) - 1, 4);
  // The hot spot sits in the square where the arms cross.
  EXPECT_EQ(WhiteRun(image, hx, hy, -1, 0) + WhiteRun(image, hx, hy, 1, 0) - 1, 14);
  EXPECT_EQ(WhiteRun(image, hx, hy, 0, -1) + WhiteRun(image, hx, hy, 0, 1) - 1, 14);
}

TEST_F(ResourceImages, SplitCursorArrowRunsThroughTheHotSpot) {
  const QImage image = Load(":/images/cursors/22012.xpm");
  ASSERT_FALSE(image.isNull());
  const QRect bounds = WhiteBounds(image);
  EXPECT_EQ(bounds.center(), QPoint(15, 15)) << "symmetric about the hot spot";
  EXPECT_GT(WhiteRun(image, 15, 15, 0, -1), 8) << "shaft up to the upper head";
  EXPECT_GT(WhiteRun(image, 15, 15, 0, 1), 8) << "shaft down to the lower head";
}

TEST_F(ResourceImages, HandPointsUpFromTheFingerTip) {
  const QImage image = Load(":/images/cursors/22011.xpm");
  ASSERT_FALSE(image.isNull());
  // The tip is the topmost drawn row; the finger's white runs down below it.
  for (int x = 0; x < 32; ++x) {
    if (x != 5 && x != 6) {
      EXPECT_TRUE(IsClear(image.pixel(x, 0))) << x;
    }
  }
  EXPECT_GE(WhiteRun(image, 5, 1, 0, 1), 6);
}

}  // namespace
}  // namespace dyno
