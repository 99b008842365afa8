#pragma once
// An auto-reset event that poll() can wait on beside a device: the port
// threads sleep on their device and their wake event together, so a stop or
// a flush reaches them at once.

#include <chrono>

class WakeEvent {
 public:
  // Raises std::system_error when no descriptor is left.
  WakeEvent();
  ~WakeEvent();
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  void Set();
  // Clears the event; whether it was set.
  bool Reset();
  // Waits at most timeout until the event is set; whether it was (the wait
  // clears it).
  bool WaitFor(std::chrono::milliseconds timeout);
  // Waits, with no time limit, until the event is set, and clears it.
  void Wait();

  // Readable while the event is set.
  int Descriptor() const { return descriptor_; }

 private:
  const int descriptor_;
};
