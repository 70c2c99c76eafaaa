// The compiled-in bitmaps, icons and cursors: every one loads at its size,
// keeps to the 16 classic colours (the icon adds the chart's face) with a
// fully transparent background, and the window's cursors take their hot
// spots on their shapes and change with what is under them. The images
// themselves are one approved picture.
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gui/app/MainWindow.h"
#include "gui/common/Settings.h"
#include "gui/document/EditorWidget.h"
#include "gui/resources/Images.h"
#include "support/Approval.h"
#include "support/ImageApproval.h"
#include "support/CaseTables.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

// The paths of the compiled-in images, sorted.
QStringList CompiledInImages() {
  QStringList paths;
  QDirIterator it(QStringLiteral(":/images"), {QStringLiteral("*.xpm")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) paths << it.next();
  paths.sort();
  return paths;
}

TEST(Images, EveryImageKeepsItsSizeAndColoursAndTheirSheetIsApproved) {
  const QSet<QRgb> vga = {qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),   qRgb(0, 128, 128),
                          qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0), qRgb(192, 192, 192),
                          qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),   qRgb(0, 255, 255),
                          qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0), qRgb(255, 255, 255),
                          qRgb(96, 160, 192)};
  // Every compiled-in image in the order of their sheet: by kind, then as
  // their commands are numbered. A new image is added here.
  QStringList paths;
  for (const char* name :
       {"cursors/plus", "cursors/hand", "cursors/up-down", "cursors/cross-hair", "icons/dynoforge-16",
        "icons/dynoforge", "preview/previous-page", "preview/next-page", "preview/one-page", "preview/two-pages",
        "preview/close", "toolbar/open", "toolbar/add-line", "toolbar/remove-line", "toolbar/generate",
        "toolbar/edit-parameters", "toolbar/rescale", "toolbar/resolution", "toolbar/bend", "toolbar/save",
        "toolbar/save-as", "toolbar/undo", "toolbar/redo", "toolbar/print", "toolbar/print-preview"}) {
    paths << QStringLiteral(":/images/%1.xpm").arg(QLatin1String(name));
  }
  QStringList sorted = paths;
  sorted.sort();
  EXPECT_EQ(CompiledInImages(), sorted);
  std::string out;
  QImage sheet(42 * static_cast<int>(paths.size()), 34, QImage::Format_ARGB32);
  sheet.fill(qRgb(255, 255, 240));
  QPainter painter(&sheet);
  int x = 0;
  for (const QString& path : paths) {
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool hardEdges = true;
    for (int i = 0; i < image.width() * image.height(); ++i) {
      const QRgb c = image.pixel(i % image.width(), i / image.width());
      hardEdges &= qAlpha(c) == 0 || qAlpha(c) == 255;
      if (qAlpha(c) == 255) colours.insert(c);
    }
    for (const QRgb c : colours) EXPECT_TRUE(vga.contains(c)) << path.toStdString() << " " << std::hex << c;
    EXPECT_TRUE(hardEdges) << path.toStdString();
    out += path.toStdString() + " " + std::to_string(image.width()) + "x" + std::to_string(image.height()) + " " +
           std::to_string(colours.size()) + " colours\n";
    painter.drawImage(x + 1, 1, image);
    x += 42;
  }
  painter.end();
  test::ExpectApproved(out, "window/images.txt");
  test::ExpectApprovedImageFile(sheet, test::DataPath("pictures/images.png"), "pictures/images.png");
}

// Every compiled-in image is read by the images' own quick reader, to what
// Qt's XPM reader gives; files it does not read are left to that reader.
TEST(Images, AreReadQuicklyToWhatQtsXpmReaderGives) {
  const auto byQt = [](const QString& path) {
    return QImageReader(path, "xpm").read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  };
  const auto quick = [](const QString& path) -> std::optional<QImage> {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    return ReadSimpleXpm(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  };
  const auto byUs = [](const QString& path) {
    return ReadXpm(path).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  };
  const QStringList paths = CompiledInImages();
  EXPECT_GE(paths.size(), 24);
  for (const QString& path : paths) {
    const std::optional<QImage> image = quick(path);
    ASSERT_TRUE(image) << path.toStdString();
    EXPECT_EQ(*image, byQt(path)) << path.toStdString();
    EXPECT_EQ(byUs(path), byQt(path)) << path.toStdString();
  }
  // XPM files of other kinds (xpm cases).
  const test::TempDir dir;
  test::RunCases(
      "xpm",
      [&](const std::string&, std::istream& in, std::ostream& out) {
        const std::string head = "/* XPM */\nstatic const char *const x[] = {\n";
        const QString path = QString::fromStdString(dir.Write("image.xpm", head + test::Text(in)));
        const std::optional<QImage> image = quick(path);
        out << (image ? "read quickly, pixel 1,0 " + QColor::fromRgba(image->pixel(1, 0)).name(QColor::HexArgb).toStdString()
                      : "left to Qt's reader")
            << (image && *image != byQt(path) ? ", not as Qt reads it" : "")
            << (byUs(path) == byQt(path) ? "" : ", read otherwise") << "\n";
      },
      true);
}

// The hand over the table, the cross hair over the plot and while a point is
// dragged, the arrow elsewhere.
TEST(Images, TheWindowsCursorsFollowWhatIsUnderThemWithTheirHotSpotsOnTheirShapes) {
  QFile::remove(SettingsFilePath());  // the chart in its own units
  MainWindow frame;
  EditorWidget& window = *frame.Client();
  frame.resize(1000, 700);
  window.grab();
  const QPoint torque(window.State().Chart.PointX[20], window.State().Chart.TorqueY[20]);
  std::string out;
  for (const auto& [p, drag] : std::vector<std::pair<QPoint, bool>>{
           {{100, 300}, false}, {{600, 300}, false}, {torque - QPoint(0, 40), true}, {{10, 10}, false}}) {
    if (drag) QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, torque);
    QMouseEvent move(QEvent::MouseMove, p, window.mapToGlobal(p), Qt::NoButton, drag ? Qt::LeftButton : Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    const QCursor cursor = window.cursor();
    if (drag) QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(5000, 5000));
    out += drag ? "cursor dragging torque point 20: "
                : "cursor at " + std::to_string(p.x()) + "," + std::to_string(p.y()) + ": ";
    out += cursor.shape() == Qt::BitmapCursor ? "hot spot " + std::to_string(cursor.hotSpot().x()) + "," +
                                                     std::to_string(cursor.hotSpot().y()) + "\n"
                                              : "shape " + std::to_string(cursor.shape()) + "\n";
    if (cursor.shape() == Qt::BitmapCursor) {
      const QImage shape = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
      EXPECT_EQ(qAlpha(shape.pixel(cursor.hotSpot())), 255) << p.x();
    }
  }
  test::ExpectApproved(out, "window/cursors.txt");
}

}  // namespace
}  // namespace dyno
