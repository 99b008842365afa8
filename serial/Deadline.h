#pragma once
// The one helper behind every timed wait of the serial layer: a point on the
// monotonic clock and the time left until it.

#include <chrono>

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Deadline(std::chrono::milliseconds timeout) : end_(Clock::now() + timeout) {}

  bool Passed() const { return Clock::now() >= end_; }

  // Time left, never negative.
  std::chrono::milliseconds Remaining() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - Clock::now());
    return left.count() > 0 ? left : std::chrono::milliseconds(0);
  }

  Clock::time_point End() const { return end_; }

 private:
  Clock::time_point end_;
};
