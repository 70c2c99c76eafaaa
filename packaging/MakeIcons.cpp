// Makes the application icon for the desktop: the program's two pixel-art
// drawings of its icon (32 x 32 and 16 x 16) written as PNG files at the
// sizes of the hicolor icon theme.
//
//   dynoforge_make_icons ICON.xpm ICON-16.xpm OUTDIR NAME SIZE...
//
// writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE. The drawings are
// enlarged pixel by pixel (nearest neighbour), never smoothed, so the pixel
// art stays sharp:
//  - from 32 up, the 32 x 32 drawing fills the square: 64, 128 and 256 are it
//    2, 4 and 8 times, 48 is it one and a half times (every other pixel of it
//    twice);
//  - under 32, the 16 x 16 drawing, made for small sizes, is enlarged by the
//    largest whole number that fits and centred on a transparent square: 16
//    is the drawing itself, 22 and 24 have a transparent border of 3 and 4.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const QString& message) {
  std::fprintf(stderr, "dynoforge_make_icons: %s\n", qPrintable(message));
  std::exit(1);
}

QImage ReadDrawing(const char* path, int side) {
  QImage image(QString::fromLocal8Bit(path));
  if (image.isNull()) Fail(QStringLiteral("cannot read %1").arg(path));
  if (image.width() != side || image.height() != side)
    Fail(QStringLiteral("%1 is %2 x %3, not %4 x %4")
             .arg(path).arg(image.width()).arg(image.height()).arg(side));
  return image.convertToFormat(QImage::Format_ARGB32);
}

QImage IconOfSize(const QImage& large, const QImage& small, int size) {
  const bool use_large = size >= large.width();
  const QImage& drawing = use_large ? large : small;
  // The side of the square the drawing covers, centred in the icon.
  const int area = use_large ? size : size / small.width() * small.width();
  if (area == 0) Fail(QStringLiteral("no drawing fits in %1 x %1").arg(size));

  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  const int offset = (size - area) / 2;
  const int side = drawing.width();
  for (int y = 0; y < area; ++y)
    for (int x = 0; x < area; ++x)
      icon.setPixel(offset + x, offset + y, drawing.pixel(x * side / area, y * side / area));
  return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s ICON.xpm ICON-16.xpm OUTDIR NAME SIZE...\n", argv[0]);
    return 2;
  }
  const QImage large = ReadDrawing(argv[1], 32);
  const QImage small = ReadDrawing(argv[2], 16);
  const QString out_dir = QString::fromLocal8Bit(argv[3]);
  const QString name = QString::fromLocal8Bit(argv[4]);
  for (int i = 5; i < argc; ++i) {
    const std::string text = argv[i];
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 4)
      Fail(QStringLiteral("not a size: %1").arg(argv[i]));
    const int size = std::stoi(text);
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out_dir).arg(size);
    if (!QDir().mkpath(dir)) Fail(QStringLiteral("cannot make %1").arg(dir));
    const QString path = QStringLiteral("%1/%2.png").arg(dir, name);
    if (!IconOfSize(large, small, size).save(path, "PNG"))
      Fail(QStringLiteral("cannot write %1").arg(path));
  }
  return 0;
}
