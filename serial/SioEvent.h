#pragma once
// A signalling event for the port threads: auto-reset (a successful wait
// consumes the signal) or manual-reset (stays set until reset), with timed
// waits on one event or on either of two.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class SioEvent {
 public:
  enum class Mode { AutoReset, ManualReset };

  explicit SioEvent(Mode mode = Mode::AutoReset, bool initiallySet = false);
  SioEvent(const SioEvent&) = delete;
  SioEvent& operator=(const SioEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;

  // True when the event was (or became) set within timeout; an auto-reset
  // event is cleared by the successful wait.
  bool WaitFor(std::chrono::milliseconds timeout);
  // Waits, with no time limit, until the event is set (and clears an
  // auto-reset one).
  void Wait();

  // Waits until first or second is set: 0 or 1 names the event that ended
  // the wait (first wins when both are set), -1 means the time-out passed.
  static int WaitForEither(SioEvent& first, SioEvent& second, std::chrono::milliseconds timeout);
  // The same with no time limit: 0 or 1.
  static int WaitForEither(SioEvent& first, SioEvent& second);

 private:
  struct Waiter;
  using Clock = std::chrono::steady_clock;

  // Both waits; no end means no time limit.
  bool waitUntil(const std::optional<Clock::time_point>& end);
  static int waitForEitherUntil(SioEvent& first, SioEvent& second,
                                const std::optional<Clock::time_point>& end);

  bool consumeLocked();
  void addWaiter(const std::shared_ptr<Waiter>& waiter);
  void removeWaiter(const std::shared_ptr<Waiter>& waiter);
  bool tryConsume();

  const Mode mode_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool set_;
  std::vector<std::shared_ptr<Waiter>> waiters_;
};
