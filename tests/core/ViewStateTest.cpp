#include <gtest/gtest.h>

#include "chart/ViewState.h"

namespace dyno {
namespace {

TEST(VisibleRowsFor, FitsWholeRowsBelowTheHeader) {
  // A client area 600 pixels high has ScreenHeight 601: (601 - 29) / 14 = 40.
  EXPECT_EQ(VisibleRowsFor(601), 40);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 10), 10);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 10 - 1), 9);
}

TEST(VisibleRowsFor, KeepsBetweenFiveAnd499Rows) {
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 5 - 1), 5);
  EXPECT_EQ(VisibleRowsFor(0), 5);
  EXPECT_EQ(VisibleRowsFor(-1000), 5);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 499), 499);
  EXPECT_EQ(VisibleRowsFor(100000), 499);
}

}  // namespace
}  // namespace dyno
