#include <QTest>

#include <gtest/gtest.h>

#include "app/MainWindow.h"

namespace dyno {
namespace {

TEST(MainWindow, IsCaptionedDynoforge) {
  MainWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Dynoforge"));
}

}  // namespace
}  // namespace dyno
