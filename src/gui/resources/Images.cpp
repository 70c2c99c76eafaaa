#include "gui/resources/Images.h"

namespace dyno {

namespace {

QPixmap Xpm(const char* folder, int id) {
  return QPixmap(QStringLiteral(":/images/%1/%2.xpm").arg(QLatin1String(folder)).arg(id), "XPM");
}

}  // namespace

QPixmap ToolbarImage(int id) { return Xpm("toolbar", id); }

QPixmap PreviewImage(int id) { return Xpm("preview", id); }

QPixmap CursorImage(int id) { return Xpm("cursors", id); }

QIcon ApplicationIcon() {
  QIcon icon(Xpm("icons", 1001));
  icon.addPixmap(QPixmap(QStringLiteral(":/images/icons/1001-16.xpm"), "XPM"));
  return icon;
}

}  // namespace dyno
