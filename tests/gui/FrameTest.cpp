#include <QTest>

#include <gtest/gtest.h>

#include "app/TDynoforgeApp.h"
#include "app/TSDIDecFrame.h"

namespace dyno {
namespace {

TEST(Frame, IsCaptionedDynoforge) {
  TSDIDecFrame frame;
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  EXPECT_EQ(frame.windowTitle(), QStringLiteral("Dynoforge"));
}

}  // namespace
}  // namespace dyno
