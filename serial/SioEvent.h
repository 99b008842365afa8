#pragma once
// A signalling event for the port threads: auto-reset (a successful wait
// consumes the signal) or manual-reset (stays set until reset), with timed
// waits on one event or on either of two. On Windows it is a Win32 event
// object, so the platform's threads can wait on it beside their overlapped
// I/O; elsewhere it is built on the standard library.

#include <chrono>
#include <memory>

class SioEvent {
 public:
  enum class Mode { AutoReset, ManualReset };

  explicit SioEvent(Mode mode = Mode::AutoReset, bool initiallySet = false);
  ~SioEvent();
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

  // The platform's own event object (a Win32 event handle) for waits that
  // join it with the platform's objects; none where the event is the
  // standard library's.
  void* NativeHandle() const;

 private:
  struct State;
  const std::unique_ptr<State> state_;
};
