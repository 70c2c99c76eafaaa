#include "gui/app/AppStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace dyno {

namespace {

// A standard icon of a style that is asked of the style only when it is
// first needed.
class DeferredIconEngine : public QIconEngine {
 public:
  DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
      : style_(style), which_(which), direction_(direction) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QString key() const override { return QStringLiteral("DeferredIconEngine"); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  const QIcon& Icon() {
    if (!loaded_) {
      // The style may have been replaced since; then the application's
      // style draws the icon.
      const QStyle* style = style_ ? style_.data() : QApplication::style();
      QStyleOption option;
      option.direction = direction_;
      icon_ = style->standardIcon(which_, &option);
      loaded_ = true;
    }
    return icon_;
  }

  QPointer<const QStyle> style_;
  QStyle::StandardPixmap which_;
  Qt::LayoutDirection direction_;
  bool loaded_ = false;
  QIcon icon_;
};

// Calls draw once for each tile of rect through a clip, so that no fill has
// as many as 96 spans; once when rect is that small. Each call draws the
// whole of rect: every fill keeps the geometry it has when drawn at once, so
// the pixels are the same.
template <typename Draw>
void DrawInTiles(const QRect& rect, QPainter& painter, const Draw& draw) {
  // Spans are counted on the device, which a scaled screen makes larger.
  const qreal scale = painter.device() ? std::max<qreal>(painter.device()->devicePixelRatio(), 1) : 1;
  const int tile = std::max(1, static_cast<int>(80 / scale));
  if (rect.width() <= tile && rect.height() <= tile) {
    draw();
    return;
  }
  for (int top = rect.top(); top <= rect.bottom(); top += tile) {
    for (int left = rect.left(); left <= rect.right(); left += tile) {
      painter.save();
      painter.setClipRect(QRect(left, top, tile, tile), Qt::IntersectClip);
      draw();
      painter.restore();
    }
  }
}

}  // namespace

AppStyle::AppStyle(const QString& key) : QProxyStyle(key) {}

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    const Qt::LayoutDirection direction = option   ? option->direction
                                          : widget ? widget->layoutDirection()
                                                   : QGuiApplication::layoutDirection();
    return QIcon(new DeferredIconEngine(baseStyle(), icon, direction));
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

void AppStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
  const auto draw = [&] { QProxyStyle::drawControl(element, option, painter, widget); };
  if (element == CE_ToolBar && option && painter) {
    DrawInTiles(option->rect, *painter, draw);
  } else {
    draw();
  }
}

}  // namespace dyno
