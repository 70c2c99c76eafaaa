#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include "core/app/DynoSheet.h"
#include "gui/common/DialogSupport.h"

class QComboBox;
class QLineEdit;

namespace dyno {

class EditorWindow;
class UserDialogs;

// "Export Picture": the picture's format and size, the window's size at
// first. A side that is no whole number of pixels within bounds is refused
// when OK is pressed, with a message naming the field.
class ExportPictureDialog : public CenteredDialog {
  Q_OBJECT

 public:
  ExportPictureDialog(const QSize& windowSize, UserDialogs& dialogs, QWidget* parent);

  PictureFormat Format() const { return format_; }
  QSize Size() const { return size_; }

  void accept() override;

 private:
  UserDialogs& dialogs_;
  QComboBox* formatBox_ = nullptr;
  QLineEdit* widthEdit_ = nullptr;
  QLineEdit* heightEdit_ = nullptr;
  PictureFormat format_ = PictureFormat::Png;
  QSize size_;
};

// The editor view as the window shows it (header bar, table, chart,
// comparison, peaks), as the bytes of a picture file of size pixels. At the
// window's own size a PNG holds exactly the window's pixels; at another size
// the view is laid out as a window of that size would show it, from the
// table's first visible row. An SVG carries the curves as paths and the texts
// as text.
QByteArray PictureBytes(EditorWindow& window, PictureFormat format, const QSize& size);

// File > Export Picture: asks for format and size, then for the file (the
// data's title with the format's extension, in the work folder), asks before
// replacing a file, and writes it as safely as Save As writes; a failure is
// told.
void ExportPictureCommand(EditorWindow& window);

}  // namespace dyno
