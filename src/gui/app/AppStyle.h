#pragma once

#include <QProxyStyle>

namespace dyno {

// The style the application runs with: the one Qt would have chosen (the
// platform's, or the one the user asked for), drawing exactly as it does,
// without two costs that fall on the window's first paint:
// - Menu bars and tool bars ask for their overflow buttons' icons when they
//   are built. Loading one makes Qt ask every image-format plugin whether it
//   reads the file, which loads them all (about 2.5 ms). Those icons now load
//   when a button is first drawn, which most windows never do.
// - Qt hands any fill of 96 spans or more to a pool of threads, and a tool
//   bar's edge lines (a span a pixel, the width of the window) are such
//   fills: each piece of them waits for the pool's threads. Tool bars are
//   drawn in tiles too small for that.
//   (Scroll bars cannot be: their groove is drawn through a clip of its own,
//   so its translucent edges would be drawn once a tile.)
class AppStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // A copy of the style named key, or of Qt's default where there is none.
  explicit AppStyle(const QString& key);

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};

}  // namespace dyno
