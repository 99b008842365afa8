#include "tests/app/EventLoopWait.h"

#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience,
                    std::chrono::milliseconds look) {
  if (condition()) return true;
  QEventLoop loop;
  QTimer looking;
  bool met = false;
  QObject::connect(&looking, &QTimer::timeout, &loop, [&] {
    met = condition();
    if (met) loop.quit();
  });
  QTimer::singleShot(patience, &loop, &QEventLoop::quit);
  looking.start(look);
  loop.exec();
  return met;
}
