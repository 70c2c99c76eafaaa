#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <optional>
#include <string_view>

namespace dyno {

// The compiled-in images (images.qrc), each an XPM file. A button's image is
// found by the name its command's record gives; a null pixmap for none.
QPixmap ToolbarImage(std::string_view name);  // main toolbar buttons, 20 x 20 (print preview 19 x 17)
QPixmap PreviewImage(std::string_view name);  // print preview toolbar buttons
QPixmap CursorImage(const char* name);   // 32 x 32 cursors: "plus", "hand", "up-down", "cross-hair"
QIcon ApplicationIcon();                 // the program's icon, 32 x 32 and 16 x 16

// The XPM file at path, read as the functions above read it.
QPixmap ReadXpm(const QString& path);

// The XPM text of an image as they are drawn (one character a pixel, colours
// "#RRGGBB" or "None"), read in one pass: Qt's own XPM reader takes several
// times as long on its first calls, and the window reads about twenty
// images while it starts. Anything else, or a damaged file, gives nothing
// and is left to Qt's reader.
std::optional<QImage> ReadSimpleXpm(std::string_view text);

}  // namespace dyno
