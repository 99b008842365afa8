#pragma once
// Whether the positions the controller last reported are current: a report was accepted less
// than three poll intervals ago. A controller that falls silent, a cable pulled or a port
// closed all end in the same way: the reports stop and the positions go stale.
//
// Two questions under that one rule: whether there is a current position to hand on (IsFresh,
// never before the first report), and whether an answer is overdue (IsOverdue: also when the
// first report keeps the operator waiting three intervals after polling began).

#include <chrono>
#include <functional>
#include <optional>

class ReportFreshness {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;

  // How many poll intervals without an accepted report make the positions stale.
  static constexpr int kStaleIntervals = 3;

  // Reads the time through now; the monotonic clock unless a test injects its own.
  explicit ReportFreshness(Clock now = std::chrono::steady_clock::now);

  // A position report was accepted at this moment.
  void ReportAccepted();
  // Polling began at this moment: the wait for the first report counts from here.
  void ExpectReports();

  // True when a report was accepted and less than kStaleIntervals poll intervals have passed
  // since. With an interval of 0 or below the timer never polls, so nothing is current.
  bool IsFresh(std::chrono::milliseconds pollInterval) const;
  // True once reports are expected and kStaleIntervals poll intervals have passed since the
  // last accepted report (or, before the first, since polling began).
  bool IsOverdue(std::chrono::milliseconds pollInterval) const;
  // How long from now until IsOverdue turns true; nothing when it already is, or when no
  // reports are expected yet.
  std::optional<std::chrono::steady_clock::duration> TimeUntilOverdue(
      std::chrono::milliseconds pollInterval) const;

 private:
  // The end of the span in which the answer at since counts as current; nothing when no
  // interval makes anything current.
  std::optional<TimePoint> currentUntil(const std::optional<TimePoint>& since,
                                        std::chrono::milliseconds pollInterval) const;
  // The last accepted report, or before the first the start of polling.
  std::optional<TimePoint> lastAnswerOrStart() const;

  Clock now_;
  std::optional<TimePoint> lastAccepted_;
  std::optional<TimePoint> expectedSince_;
};
