#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "gui/app/DynoforgeApplication.h"

int main(int argc, char* argv[]) {
  // Widget tests never need a display, even when test discovery runs them,
  // and never touch the user's own settings: each test process has a home
  // folder of its own, so processes running side by side share no settings.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  QStandardPaths::setTestModeEnabled(true);
  dyno::DynoforgeApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
