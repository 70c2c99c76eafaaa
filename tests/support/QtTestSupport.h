#pragma once

#include <QEventLoop>
#include <QTimer>

namespace dyno::test {

// Lets the event loop wait once, as it does when the user is idle: that is
// when the frame refreshes which commands are enabled and checked.
inline void IdlePass(int milliseconds = 20) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace dyno::test
