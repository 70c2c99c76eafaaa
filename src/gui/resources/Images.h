#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace dyno {

// The compiled-in images, by kind and id. Each is an XPM file.
QPixmap ToolbarImage(int id);   // main toolbar buttons, 20 x 20 (print preview 19 x 17)
QPixmap PreviewImage(int id);   // print preview toolbar buttons
QPixmap CursorImage(int id);    // 32 x 32 cursors
QIcon ApplicationIcon();        // icon 1001, 32 x 32 and 16 x 16

// The XPM file at path, read as the functions above read it.
QPixmap ReadXpm(const QString& path);

}  // namespace dyno
