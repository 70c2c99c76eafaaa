// The overflow buttons of menu and tool bars get their icons late, and the
// same icons: the pixmaps of every size, mode and direction the platform
// style gives, and the same button drawn with them.
#include <QApplication>
#include <QImage>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolButton>

#include <gtest/gtest.h>

namespace dyno {
namespace {

TEST(DeferredIcons, OverflowIconsAreThePlatformStylesOwn) {
  auto* style = dynamic_cast<QProxyStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr) << "the application has its own style";
  QStyle* base = style->baseStyle();
  for (const QStyle::StandardPixmap which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
      QStyleOption option;
      option.direction = direction;
      QApplication::setLayoutDirection(direction);
      // Without an option the application's direction counts, as it did when
      // the bar was made.
      const QIcon late = style->standardIcon(which, nullptr, nullptr);
      // With one, the option's direction, whatever the application's.
      QApplication::setLayoutDirection(direction == Qt::LeftToRight ? Qt::RightToLeft : Qt::LeftToRight);
      const QIcon lateWithOption = style->standardIcon(which, &option, nullptr);
      QApplication::setLayoutDirection(Qt::LeftToRight);
      const QIcon own = base->standardIcon(which, &option, nullptr);
      EXPECT_FALSE(late.isNull());
      EXPECT_EQ(late.availableSizes(), own.availableSizes());
      for (const int size : {8, 12, 16, 24, 32}) {
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
          SCOPED_TRACE(testing::Message() << which << " " << direction << " " << size << " " << mode);
          const QImage expected = own.pixmap(QSize(size, size), mode).toImage();
          EXPECT_EQ(late.actualSize(QSize(size, size), mode), own.actualSize(QSize(size, size), mode));
          EXPECT_EQ(late.pixmap(QSize(size, size), mode).toImage(), expected);
          EXPECT_EQ(lateWithOption.pixmap(QSize(size, size), mode).toImage(), expected);
        }
      }
    }
  }
  // Drawn by the overflow button itself, as a bar shows it.
  for (const QStyle::StandardPixmap which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    for (const int size : {12, 16, 24}) {
      SCOPED_TRACE(testing::Message() << which << " " << size);
      const auto grab = [&](const QIcon& icon) {
        QToolButton button;
        button.setAutoRaise(true);
        button.setIconSize(QSize(size, size));
        button.setIcon(icon);
        button.resize(size + 8, size + 8);
        return button.grab().toImage();
      };
      EXPECT_EQ(grab(style->standardIcon(which, nullptr, nullptr)), grab(base->standardIcon(which, nullptr, nullptr)));
    }
  }
  // Other icons come from the platform style at once.
  EXPECT_EQ(style->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage(),
            base->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage());
}

}  // namespace
}  // namespace dyno
