#include "app/IntervalTimer.h"

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (onTimer_) onTimer_();
  });
}

void IntervalTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  follow();
}

void IntervalTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  follow();
}

void IntervalTimer::follow() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}
