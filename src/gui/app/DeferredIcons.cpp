#include "gui/app/DeferredIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QStyleOption>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace dyno {

namespace {

// An icon made the first time anything asks for its pixels or sizes; every
// question is answered by that icon.
class DeferredIconEngine final : public QIconEngine {
 public:
  explicit DeferredIconEngine(std::function<QIcon()> make) : made_(std::make_shared<Made>(std::move(make))) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    // Centred in the rect QIcon has already aligned. (The bars' buttons draw
    // the icon's pixmaps rather than painting it.)
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, 1.0, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return Icon().pixmap(size / scale, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  QString key() const override { return QStringLiteral("DeferredIconEngine"); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
  // The style's own icons are never null; asking must not read one.
  bool isNull() override { return false; }

 private:
  struct Made {
    explicit Made(std::function<QIcon()> f) : make(std::move(f)) {}
    std::function<QIcon()> make;
    std::optional<QIcon> icon;
  };
  QIcon& Icon() {
    if (!made_->icon) made_->icon = made_->make();
    return *made_->icon;
  }
  // Shared by the copies, so the icon is read once.
  std::shared_ptr<Made> made_;
};

}  // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
  if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton) {
    return QProxyStyle::standardIcon(icon, option, widget);
  }
  // What the style reads of the option, taken now: without one, the
  // application's direction, which a new option carries. The bar itself may
  // be gone by the time the icon is read.
  QStyleOption taken;
  if (option) taken = *option;
  taken.styleObject = nullptr;
  QStyle* const base = baseStyle();
  return QIcon(new DeferredIconEngine([base, icon, taken] { return base->standardIcon(icon, &taken, nullptr); }));
}

}  // namespace dyno
