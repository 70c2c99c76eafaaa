// The application's style draws exactly as the style it stands in for: the
// overflow icons it hands out late are that style's icons, and a tool bar it
// draws in tiles has the same pixels as one drawn at once.
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>

#include <memory>

#include <gtest/gtest.h>

#include "gui/app/AppStyle.h"

namespace dyno {
namespace {

// The name of the style the application's style stands in for.
QString BaseName() {
  const auto* proxy = qobject_cast<const QProxyStyle*>(QApplication::style());
  return (proxy ? proxy->baseStyle() : QApplication::style())->name();
}

QImage IconImage(const QIcon& icon, int size) { return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32); }

TEST(AppStyle, OverflowIconsAreTheBaseStylesIconsInEitherDirection) {
  const QString name = BaseName();
  const std::unique_ptr<QStyle> base(QStyleFactory::create(name));
  const AppStyle appStyle(name);
  const QStyle& style = appStyle;
  for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    for (const auto direction : {Qt::LeftToRight, Qt::RightToLeft}) {
      QStyleOption option;
      option.direction = direction;
      const QIcon expected = base->standardIcon(which, &option);
      const QIcon icon = style.standardIcon(which, &option);
      ASSERT_FALSE(icon.isNull());
      EXPECT_EQ(icon.availableSizes(), expected.availableSizes());
      for (const int size : {8, 16, 32}) EXPECT_EQ(IconImage(icon, size), IconImage(expected, size)) << which << " " << size;
    }
  }
  // The horizontal icons differ by direction, so a lost direction shows.
  QStyleOption rtl;
  rtl.direction = Qt::RightToLeft;
  EXPECT_NE(IconImage(style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &rtl), 16),
            IconImage(base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton), 16));
}

// The base style is asked for an overflow icon only when it is drawn; for
// any other icon at once.
TEST(AppStyle, AsksForTheOverflowIconsOnlyWhenTheyAreDrawn) {
  struct Counting : QProxyStyle {
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override {
      ++asked;
      return QProxyStyle::standardIcon(icon, option, widget);
    }
    mutable int asked = 0;
  };
  AppStyle style(BaseName());
  auto* counting = new Counting(QStyleFactory::create(BaseName()));
  style.setBaseStyle(counting);
  const QIcon icon = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, nullptr);
  EXPECT_EQ(counting->asked, 0);
  EXPECT_FALSE(icon.pixmap(16).isNull());
  EXPECT_EQ(counting->asked, 1);
  style.standardIcon(QStyle::SP_DialogOkButton, nullptr, nullptr);
  EXPECT_EQ(counting->asked, 2);
}

TEST(AppStyle, AToolBarDrawnInTilesHasThePixelsOfOneDrawnAtOnce) {
  const QString name = BaseName();
  QMainWindow window;
  auto* bar = window.addToolBar(QStringLiteral("Bar"));
  for (int i = 0; i < 12; ++i) bar->addAction(QStringLiteral("Action %1").arg(i));
  window.resize(1901, 300);  // wider than many tiles, and not a whole number of them
  window.show();
  const auto picture = [&](QStyle* style) {
    bar->setStyle(style);
    return bar->grab().toImage();
  };
  const std::unique_ptr<QStyle> base(QStyleFactory::create(name));
  const QImage expected = picture(base.get());
  AppStyle style(name);
  const QImage tiled = picture(&style);
  bar->setStyle(nullptr);
  ASSERT_GT(expected.width(), 1800);
  EXPECT_EQ(tiled, expected);
}

}  // namespace
}  // namespace dyno
