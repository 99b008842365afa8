#pragma once
// Whether the positions the controller last reported are current: a report was accepted less
// than three poll intervals ago. A controller that falls silent, a cable pulled or a port
// closed all end in the same way: the reports stop and the positions go stale.

#include <chrono>
#include <functional>
#include <optional>

class ReportFreshness {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;

  // How many poll intervals without an accepted report make the positions stale.
  static constexpr int StaleIntervals = 3;

  // Reads the time through now; the monotonic clock unless a test injects its own.
  explicit ReportFreshness(Clock now = std::chrono::steady_clock::now);

  // A position report was accepted at this moment.
  void ReportAccepted();

  // True when a report was accepted and less than StaleIntervals poll intervals have passed
  // since. With an interval of 0 or below the timer never polls, so nothing is current.
  bool IsFresh(std::chrono::milliseconds pollInterval) const;

 private:
  Clock now_;
  std::optional<TimePoint> lastAccepted_;
};
