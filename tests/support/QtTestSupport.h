#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace dyno::test {

// Lets the event loop wait once, as it does when the user is idle: that is
// when the frame refreshes which commands are enabled and checked.
inline void IdlePass(int milliseconds = 20) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// Shows a window (a scripted dialog, say) and makes it the active one, so
// that the keyboard focus can move between its fields as a user moves it.
inline void ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace dyno::test
