#include <QStandardPaths>

#include <gtest/gtest.h>

#include "gui/app/TDynoforgeApp.h"

int main(int argc, char* argv[]) {
  // Widget tests never need a display, even when test discovery runs them,
  // and never touch the user's own settings.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  dyno::TDynoforgeApp app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
