#include "gui/resources/Images.h"

#include <QImageReader>

namespace dyno {

namespace {

// Read by Qt's own XPM reader alone. With format detection on, Qt first asks
// every image-format plugin whether it reads the format, loading each one
// (gif, ico, jpeg with its library...) while the window starts.
QPixmap XpmFile(const QString& path) {
  QImageReader reader(path, "xpm");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QPixmap Xpm(const char* folder, int id) {
  return XpmFile(QStringLiteral(":/images/%1/%2.xpm").arg(QLatin1String(folder)).arg(id));
}

}  // namespace

QPixmap ToolbarImage(int id) { return Xpm("toolbar", id); }

QPixmap PreviewImage(int id) { return Xpm("preview", id); }

QPixmap CursorImage(int id) { return Xpm("cursors", id); }

QIcon ApplicationIcon() {
  QIcon icon(Xpm("icons", 1001));
  icon.addPixmap(XpmFile(QStringLiteral(":/images/icons/1001-16.xpm")));
  return icon;
}

}  // namespace dyno
