#pragma once
// A GUI timer that ticks every Interval() milliseconds while it is enabled. An interval of 0
// or below never ticks (a Qt timer with interval 0 would fire without pause). Changing the
// interval of a running timer starts its period afresh.

#include <QObject>
#include <QTimer>

#include <functional>

class IntervalTimer : public QObject {
 public:
  // Created disabled with an interval of 1000 ms.
  explicit IntervalTimer(QObject* parent = nullptr);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);

  // Runs on every tick, on the GUI thread.
  void SetOnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }

 private:
  void follow();

  QTimer timer_;
  bool enabled_ = false;
  int interval_ = 1000;
  std::function<void()> onTimer_;
};
