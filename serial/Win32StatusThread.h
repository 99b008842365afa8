#pragma once
// The status thread of a Win32 port: waits for line events with
// WaitCommEvent, wakes the read thread (SerialEvent) when characters
// arrive, and queues every other event (modem line changes, break, line
// errors) as a status item on the input queue. A failing wait ends the port
// threads with -161.

#include <cstdint>

#include "serial/SioWin32Thread.h"

class TStatusThread : public TSioWin32Thread {
 public:
  // The events watched: EV_RXCHAR, EV_CTS, EV_DSR, EV_RLSD, EV_BREAK,
  // EV_ERR, EV_RING.
  static constexpr uint32_t kWatchedEvents = 0x1F9;

  using TSioWin32Thread::TSioWin32Thread;

 protected:
  void Execute() override;

 private:
  // Waits for the next line events into mask_: 0 (mask_ may be 0 when the
  // wait ended without events), or -161 when the wait failed.
  int32_t waitForLineEvent();
  bool startWait();
  void queueEvents();

  // The event mask in force.
  uint32_t LastMask = kWatchedEvents;
  // Filled by the pending WaitCommEvent; a member, so it outlives the wait.
  DWORD mask_ = 0;
};
