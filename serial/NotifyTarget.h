#pragma once
// Where the dispatcher's notices go: an object that runs each notice on the
// GUI thread (the component's hidden notify window in the application, a
// plain event loop in tests).

#include <chrono>
#include <cstdint>

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;

  // Runs the notice (Msg, wParam, lParam) on the GUI thread and waits for it
  // at most timeout. True when it was handled within the time; false when it
  // is still running or never started. A notice that has not started when the
  // wait gives up must never run afterwards (see PendingNotice).
  virtual bool SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                          std::chrono::milliseconds timeout) = 0;

  // Queues the notice for the GUI thread and returns at once.
  virtual void PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};
